#include "installer/steps/install_log.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "installer/package/package_volumes.h"
#include "platform/shellfolders.h"

namespace clangor::outfit {

namespace {

constexpr const char* FirstLine = "; Outfitter Installation Log";

int Number(const std::string& text) {
  int value = -1;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() ? value : -1;
}

}  // namespace

std::string InstallLog::Text() const {
  std::vector<std::string> lines = {
      FirstLine,
      "; Please do not delete or alter this file.",
      "; It is needed whenever you want to update or uninstall " + applicationName,
      "; Written by the Outfitter engine, which reads it again to update or remove",
      "; what it installed; the entries after the header are removed in reverse order.",
      std::to_string(LogFormat),
      applicationName,
      std::to_string(year),
      std::to_string(month),
      std::to_string(day),
      publisher,
      uninstallKey,
      version,
  };
  for (std::size_t i = 0; i < 6; ++i) lines.push_back(i < messages.size() ? messages[i] : "");
  lines.push_back(runAfterInstall);
  lines.push_back(std::to_string(folders.size()));
  for (const auto& f : folders) {
    lines.push_back(f.variable);
    lines.push_back(f.caption);
    lines.push_back((f.shared ? "*" : "") + f.path);
  }
  lines.push_back(std::to_string(components.size()));
  for (const auto& [name, installed] : components) lines.push_back((installed ? "+" : "-") + name);
  lines.insert(lines.end(), entries.begin(), entries.end());
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

std::optional<InstallLog> ReadInstallLog(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  auto lines = SplitLines(text.str());
  std::size_t at = 0;
  auto next = [&]() -> std::optional<std::string> {
    if (at >= lines.size()) return std::nullopt;
    return lines[at++];
  };
  if (lines.size() < 22 || lines[0] != FirstLine || Number(lines[5]) != LogFormat) return std::nullopt;
  InstallLog log;
  at = 6;
  log.applicationName = *next();
  log.year = Number(*next());
  log.month = Number(*next());
  log.day = Number(*next());
  log.publisher = *next();
  log.uninstallKey = *next();
  log.version = *next();
  for (int i = 0; i < 6; ++i) log.messages.push_back(*next());
  log.runAfterInstall = *next();
  auto count = next();
  int folders = count ? Number(*count) : -1;
  if (folders < 0) return std::nullopt;
  for (int i = 0; i < folders; ++i) {
    auto variable = next(), caption = next(), folder = next();
    if (!folder) return std::nullopt;
    PackageFolder f{*variable, *caption, *folder, false};
    if (!f.path.empty() && f.path[0] == '*') {
      f.shared = true;
      f.path.erase(0, 1);
    }
    log.folders.push_back(std::move(f));
  }
  count = next();
  int components = count ? Number(*count) : -1;
  if (components < 0) return std::nullopt;
  for (int i = 0; i < components; ++i) {
    auto line = next();
    if (!line || line->empty()) return std::nullopt;
    log.components.emplace_back(line->substr(1), (*line)[0] == '+');
  }
  while (auto line = next())
    if (!line->empty()) log.entries.push_back(*line);
  return log;
}

std::string ChooseLogPath(const std::string& folder, const std::string& uninstallKey) {
  for (int n = 1;; ++n) {
    std::string path = PathAppend(folder, n == 1 ? "Outfit.log" : "Outfit" + std::to_string(n) + ".log");
    if (!std::filesystem::exists(path)) return path;
    auto log = ReadInstallLog(path);
    if (log && log->uninstallKey == uninstallKey) return path;  // the same product again
  }
}

std::optional<RegistryEntry> AsRegistryEntry(const std::string& entry) {
  std::string root = MachineRoot;
  if (entry.rfind(root, 0) != 0) return std::nullopt;
  std::size_t tab = entry.find('\t');
  if (tab == std::string::npos) return std::nullopt;
  return RegistryEntry{entry.substr(root.size(), tab - root.size()), entry.substr(tab + 1)};
}

std::string RegistryEntryText(const std::string& key, const std::string& value) {
  return MachineRoot + key + "\t" + value;
}

}  // namespace clangor::outfit
