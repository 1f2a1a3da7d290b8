// The installation log ("Outfit.log" in the application folder): a header
// that describes the installation, then one entry a line for everything the
// uninstaller is to remove: a file or shortcut by its path, a registry
// value as its key path, a tab and the value name.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "installer/package/setup_package.h"

namespace clangor::outfit {

inline constexpr int LogFormat = 1;
inline constexpr const char* MachineRoot = "HKEY_LOCAL_MACHINE\\";

struct InstallLog {
  std::string applicationName;
  int year = 0, month = 0, day = 0;
  std::string publisher, uninstallKey, version;
  std::vector<std::string> messages;  // the package's messages 59 to 64
  std::string runAfterInstall;
  std::vector<PackageFolder> folders;  // resolved paths
  std::vector<std::pair<std::string, bool>> components;  // name, installed
  std::vector<std::string> entries;

  // The whole log as written, lines ended by CR LF.
  std::string Text() const;
};

// Reads a log; nothing when the file cannot be read or is not a log.
std::optional<InstallLog> ReadInstallLog(const std::string& path);

// The log for an installation of the product `uninstallKey` into `folder`:
// "Outfit.log", or "Outfit2.log", "Outfit3.log" ... when a log of another
// product holds the name.
std::string ChooseLogPath(const std::string& folder, const std::string& uninstallKey);

// Whether a log entry names a registry value, and which.
struct RegistryEntry {
  std::string key, value;  // key below the local machine
};
std::optional<RegistryEntry> AsRegistryEntry(const std::string& entry);
std::string RegistryEntryText(const std::string& key, const std::string& value);

}  // namespace clangor::outfit
