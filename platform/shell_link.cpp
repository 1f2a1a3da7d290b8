#include "platform/shell_link.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace clangor {

namespace {

// Escapes a value of the desktop entry "string" type.
std::string EscapeValue(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  if (!out.empty() && out.front() == ' ') out.replace(0, 1, "\\s");
  return out;
}

std::string UnescapeValue(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    switch (text[++i]) {
      case 's': out += ' '; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      default: out += text[i];
    }
  }
  return out;
}

// One argument of the Exec key: quoted when it holds a reserved character,
// with "%" doubled because it starts a field code.
std::string ExecArgument(std::string_view arg) {
  constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
  std::string quoted;
  bool needsQuotes = arg.empty() || arg.find_first_of(reserved) != std::string_view::npos;
  for (char c : arg) {
    if (needsQuotes && (c == '"' || c == '`' || c == '$' || c == '\\')) quoted += '\\';
    quoted += c;
    if (c == '%') quoted += '%';
  }
  return needsQuotes ? "\"" + quoted + "\"" : quoted;
}

std::vector<std::string> SplitExec(std::string_view exec) {
  std::vector<std::string> args;
  std::string current;
  bool inArg = false, quoted = false;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    char c = exec[i];
    if (quoted) {
      if (c == '"') quoted = false;
      else if (c == '\\' && i + 1 < exec.size()) current += exec[++i];
      else current += c;
    } else if (c == ' ') {
      if (inArg) args.push_back(std::move(current));
      current.clear();
      inArg = false;
      continue;
    } else if (c == '"') {
      quoted = true;
    } else {
      current += c;
    }
    if (c == '%' && i + 1 < exec.size() && exec[i + 1] == '%') ++i;
    inArg = true;
  }
  if (inArg) args.push_back(std::move(current));
  return args;
}

std::string FileUrl(const std::string& path) {
  std::string url = "file://";
  for (unsigned char c : path) {
    if (std::isalnum(c) || std::string_view("/-._~").find(static_cast<char>(c)) != std::string_view::npos) {
      url += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      url += hex;
    }
  }
  return url;
}

std::string FromFileUrl(std::string_view url) {
  if (url.starts_with("file://")) url.remove_prefix(7);
  std::string path;
  for (std::size_t i = 0; i < url.size(); ++i) {
    if (url[i] == '%' && i + 2 < url.size() && std::isxdigit(static_cast<unsigned char>(url[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(url[i + 2]))) {
      path += static_cast<char>(std::strtol(std::string(url.substr(i + 1, 2)).c_str(), nullptr, 16));
      i += 2;
    } else {
      path += url[i];
    }
  }
  return path;
}

bool IsDocument(const ShellLink& link) {
  struct stat st {};
  return link.arguments.empty() && ::stat(link.target.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) == 0;
}

std::string EntryText(const std::string& path, const ShellLink& link) {
  std::string name = link.name.empty() ? std::filesystem::path(path).stem().string() : link.name;
  std::ostringstream out;
  out << "[Desktop Entry]\nVersion=1.0\n";
  if (IsDocument(link)) {
    out << "Type=Link\nURL=" << EscapeValue(FileUrl(link.target)) << "\n";
  } else {
    std::string exec = ExecArgument(link.target);
    for (const auto& arg : link.arguments) exec += " " + ExecArgument(arg);
    out << "Type=Application\nExec=" << EscapeValue(exec) << "\n";
    if (!link.workingFolder.empty()) out << "Path=" << EscapeValue(link.workingFolder) << "\n";
    out << "Terminal=false\n";
  }
  out << "Name=" << EscapeValue(name) << "\n";
  if (!link.description.empty()) out << "Comment=" << EscapeValue(link.description) << "\n";
  if (!link.iconFile.empty()) out << "Icon=" << EscapeValue(link.iconFile) << "\n";
  return out.str();
}

}  // namespace

std::string DesktopEntryPath(const std::string& linkPath) {
  return std::filesystem::path(linkPath).replace_extension(".desktop").string();
}

std::string WriteShellLink(const std::string& linkPath, const ShellLink& link) {
  const std::string path = DesktopEntryPath(linkPath);
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  if (ec) return "";
  std::string temp = path + ".XXXXXX";
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return "";
  const std::string text = EntryText(path, link);
  // Desktops start only launchers marked executable.
  bool ok = ::fchmod(fd, 0755) == 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ok = ::close(fd) == 0 && ok;
  if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return "";
  }
  return path;
}

std::optional<ShellLink> ReadShellLink(const std::string& path) {
  std::ifstream in(path);
  if (!in) return std::nullopt;
  std::map<std::string, std::string> keys;
  std::string line;
  bool inEntry = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with("[")) {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    auto eq = line.find('=');
    if (!inEntry || eq == std::string::npos || line.starts_with("#")) continue;
    keys.emplace(line.substr(0, eq), UnescapeValue(line.substr(eq + 1)));
  }
  ShellLink link;
  link.name = keys["Name"];
  link.description = keys["Comment"];
  link.iconFile = keys["Icon"];
  link.workingFolder = keys["Path"];
  if (keys["Type"] == "Link") {
    link.target = FromFileUrl(keys["URL"]);
  } else if (keys["Type"] == "Application") {
    std::vector<std::string> args = SplitExec(keys["Exec"]);
    if (args.empty()) return std::nullopt;
    link.target = args.front();
    link.arguments.assign(args.begin() + 1, args.end());
  } else {
    return std::nullopt;
  }
  return link;
}

}  // namespace clangor
