#include "installer/steps/path_variables.h"

#include <sys/stat.h>

#include <cctype>

#include "installer/package/package_error.h"
#include "installer/package/package_volumes.h"
#include "platform/shellfolders.h"

namespace clangor::outfit {

namespace {

// Deeper than this, the package's folders refer to each other in a circle.
constexpr int MaxDepth = 8;

std::optional<ShellFolder> MachineFolder(const std::string& name) {
  static const std::map<std::string, ShellFolder> folders = {
      {"PROGRAMFILES", ShellFolder::ProgramFiles},   {"COMMONFILES", ShellFolder::CommonFiles},
      {"STARTMENU", ShellFolder::StartMenu},         {"PROGRAMSMENU", ShellFolder::ProgramsMenu},
      {"DESKTOP", ShellFolder::Desktop},             {"SENDTO", ShellFolder::SendTo},
      {"STARTUP", ShellFolder::Startup},             {"MYDOCUMENTS", ShellFolder::Documents},
      {"COMMONDOCUMENTS", ShellFolder::CommonDocuments}, {"APPDATAROOT", ShellFolder::AppData},
      {"LOCALAPPDATAROOT", ShellFolder::LocalAppData}, {"COMMONAPPDATAROOT", ShellFolder::CommonAppData},
  };
  auto it = folders.find(name);
  if (it == folders.end()) return std::nullopt;
  return it->second;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
  throw PackageError("The setup package asks to write " + path + ", " + why + ". Setup will not install it.");
}

}  // namespace

std::optional<std::pair<std::string, std::string>> SplitVariable(const std::string& path) {
  if (path.size() < 3 || path[0] != '%') return std::nullopt;
  std::size_t end = 1;
  while (end < path.size() && (std::isalnum(static_cast<unsigned char>(path[end])) || path[end] == '_')) ++end;
  if (end == 1 || end >= path.size() || path[end] != '%') return std::nullopt;
  return std::pair(path.substr(1, end - 1), path.substr(end + 1));
}

std::string AppendInside(const std::string& base, const std::string& relative, const std::string& shownAs) {
  std::string path = base;
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = relative.find_first_of("\\/", start);
    if (end == std::string::npos) end = relative.size();
    std::string part = relative.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") Refuse(shownAs, "outside the folder it names");
    if (part.find(':') != std::string::npos) Refuse(shownAs, "a name with a drive or a stream in it");
    path = PathAppend(path, part);
    struct stat info;
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) Refuse(shownAs, "through a link");
  }
  return path;
}

PathVariables::PathVariables(const SetupPackage& package, FolderChoices choices)
    : package_(package), choices_(std::move(choices)) {
  for (const auto& line : SplitLines(package.variables)) {
    std::size_t end = 0;
    while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_')) ++end;
    if (end == 0) continue;
    bool shared = end < line.size() && line[end] == '*';
    std::string value = line.substr(end + (shared ? 1 : 0));
    if (!value.empty() && value.back() == '%') value.pop_back();
    own_[Upper(line.substr(0, end))] = {value, shared};
  }
  if (choices_.portable && choices_.portableFolder.empty()) {
    // The package's portable folder is found as an ordinary path.
    FolderChoices plain = choices_;
    plain.portable = false;
    choices_.portableFolder = PathVariables(package, plain).Resolve(package.portableFolder);
  }
}

std::string PathVariables::Folder(const std::string& variable) const { return Folder(variable, 0); }

std::string PathVariables::Folder(const std::string& variable, int depth) const {
  if (depth > MaxDepth) Refuse("%" + variable + "%", "whose folder refers to itself");
  std::string name = Upper(variable);
  if (choices_.portable) return choices_.portableFolder;  // every variable is the portable folder
  for (const auto& [chosen, path] : choices_.folders)
    if (Upper(chosen) == name) return path;
  for (const auto& f : package_.folders)
    if (Upper(f.variable) == name) return Resolve(f.path, depth + 1);
  if (auto folder = MachineFolder(name)) {
    std::string path = ShellFolderPath(*folder);
    if (path.empty()) Refuse("%" + variable + "%", "a folder this system cannot find");
    return path;
  }
  if (name == "SETUPFOLDER" && !choices_.setupFolder.empty()) return choices_.setupFolder;
  if (auto own = own_.find(name); own != own_.end()) return Resolve(own->second.first, depth + 1);
  // The Windows and system folders and the drives have no counterpart here;
  // a name that stays unchanged is not a folder either.
  Refuse("%" + variable + "%", "a folder this system does not have");
}

std::string PathVariables::Resolve(const std::string& packagePath) const { return Resolve(packagePath, 0); }

std::string PathVariables::Resolve(const std::string& packagePath, int depth) const {
  auto split = SplitVariable(packagePath);
  if (!split) Refuse(packagePath, "a path that does not start in one of its folders");
  return AppendInside(Folder(split->first, depth), split->second, packagePath);
}

bool PathVariables::IsShared(const std::string& variable) const {
  std::string name = Upper(variable);
  for (const auto& f : package_.folders)
    if (Upper(f.variable) == name) return f.shared;
  if (auto own = own_.find(name); own != own_.end()) return own->second.second;
  return name == "COMMONFILES" || name == "COMMONAPPDATAROOT" || name == "COMMONDOCUMENTS";
}

std::vector<PackageFolder> PathVariables::ResolvedFolders() const {
  std::vector<PackageFolder> folders;
  for (const auto& f : package_.folders) folders.push_back({f.variable, f.caption, Folder(f.variable), f.shared});
  return folders;
}

}  // namespace clangor::outfit
