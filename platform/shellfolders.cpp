#include "platform/shellfolders.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace clangor {

namespace {

std::string Env(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  return value ? value : "";
}

std::string Home() {
  std::string home = Env("HOME");
  if (!home.empty()) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "";
}

std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// An XDG base folder: the variable when it holds an absolute path, else the
// fallback under the home folder.
std::string XdgBase(const char* variable, std::string_view underHome) {
  std::string value = Env(variable);
  if (!value.empty() && value.front() == '/') return value;
  std::string home = Home();
  return home.empty() ? "" : PathAppend(home, underHome);
}

// A folder named in user-dirs.dirs (XDG_DESKTOP_DIR="$HOME/Desktop"), else
// the fallback under the home folder.
std::string UserDir(std::string_view key, std::string_view fallback) {
  std::string home = Home();
  std::ifstream dirs(PathAppend(XdgBase("XDG_CONFIG_HOME", ".config"), "user-dirs.dirs"));
  std::string line;
  while (std::getline(dirs, line)) {
    if (!line.starts_with(key) || line.size() < key.size() + 3 || line[key.size()] != '=') continue;
    std::string value = line.substr(key.size() + 1);
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') continue;
    value = value.substr(1, value.size() - 2);
    if (value.starts_with("$HOME")) value = home + value.substr(5);
    if (!value.empty() && value.front() == '/') return value;
  }
  return home.empty() ? "" : PathAppend(home, fallback);
}

std::string DefaultPath(ShellFolder folder) {
  switch (folder) {
    case ShellFolder::CommonAppData:
      return XdgBase("XDG_DATA_HOME", ".local/share");
    case ShellFolder::ProgramFiles:
      return Home().empty() ? "" : PathAppend(Home(), ".local/lib");
    case ShellFolder::CommonFiles: {
      std::string programs = ShellFolderPath(ShellFolder::ProgramFiles);
      return programs.empty() ? "" : PathAppend(programs, "Common Files");
    }
    case ShellFolder::StartMenu:
    case ShellFolder::ProgramsMenu: {
      std::string data = XdgBase("XDG_DATA_HOME", ".local/share");
      return data.empty() ? "" : PathAppend(data, "applications");
    }
    case ShellFolder::Desktop:
      return UserDir("XDG_DESKTOP_DIR", "Desktop");
    case ShellFolder::SendTo: {
      std::string data = XdgBase("XDG_DATA_HOME", ".local/share");
      return data.empty() ? "" : PathAppend(data, "orvanta/SendTo");
    }
    case ShellFolder::Startup: {
      std::string config = XdgBase("XDG_CONFIG_HOME", ".config");
      return config.empty() ? "" : PathAppend(config, "autostart");
    }
    case ShellFolder::Documents:
      return UserDir("XDG_DOCUMENTS_DIR", "Documents");
    case ShellFolder::CommonDocuments:
      return UserDir("XDG_PUBLICSHARE_DIR", "Public");
    case ShellFolder::AppData:
      return XdgBase("XDG_CONFIG_HOME", ".config");
    case ShellFolder::LocalAppData:
      return XdgBase("XDG_STATE_HOME", ".local/state");
    case ShellFolder::Temp:
      return "/tmp";
  }
  return "";
}

}  // namespace

std::string_view ShellFolderVariable(ShellFolder folder) {
  switch (folder) {
    case ShellFolder::CommonAppData: return "CLANGOR_COMMON_APPDATA";
    case ShellFolder::ProgramFiles: return "CLANGOR_PROGRAM_FILES";
    case ShellFolder::CommonFiles: return "CLANGOR_COMMON_FILES";
    case ShellFolder::StartMenu: return "CLANGOR_START_MENU";
    case ShellFolder::ProgramsMenu: return "CLANGOR_PROGRAMS_MENU";
    case ShellFolder::Desktop: return "CLANGOR_DESKTOP";
    case ShellFolder::SendTo: return "CLANGOR_SEND_TO";
    case ShellFolder::Startup: return "CLANGOR_STARTUP";
    case ShellFolder::Documents: return "CLANGOR_DOCUMENTS";
    case ShellFolder::CommonDocuments: return "CLANGOR_COMMON_DOCUMENTS";
    case ShellFolder::AppData: return "CLANGOR_APPDATA";
    case ShellFolder::LocalAppData: return "CLANGOR_LOCAL_APPDATA";
    case ShellFolder::Temp: return "TMPDIR";
  }
  return "";
}

std::string ShellFolderPath(ShellFolder folder) {
  if (std::string moved = Env(ShellFolderVariable(folder)); !moved.empty()) return WithoutTrailingSeparator(moved);
  return WithoutTrailingSeparator(DefaultPath(folder));
}

std::string PathAppend(std::string_view base, std::string_view more) {
  while (!more.empty() && more.front() == '/') more.remove_prefix(1);
  std::string path(base);
  if (more.empty()) return path;
  if (!path.empty() && path.back() != '/') path.push_back('/');
  path.append(more);
  return path;
}

std::vector<FolderItem> ListFolder(const std::string& path) {
  std::vector<FolderItem> items;
  std::error_code ec;
  std::filesystem::directory_iterator it(path, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    items.push_back({it->path().filename().string(), it->is_directory(typeError)});
  }
  std::sort(items.begin(), items.end(), [](const FolderItem& a, const FolderItem& b) { return a.name < b.name; });
  return items;
}

std::vector<std::string> SubFolderNames(const std::string& path) {
  std::vector<std::string> names;
  for (auto& item : ListFolder(path))
    if (item.isFolder) names.push_back(std::move(item.name));
  return names;
}

std::vector<std::string> FileNames(const std::string& path) {
  std::vector<std::string> names;
  for (auto& item : ListFolder(path))
    if (!item.isFolder) names.push_back(std::move(item.name));
  return names;
}

}  // namespace clangor
