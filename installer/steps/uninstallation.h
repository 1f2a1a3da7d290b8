// Removing an installation by its log: the files, shortcuts and registry
// values it lists, newest first; shared files counted down and removed only
// when their count reaches 0; folders that are left empty inside the
// product's folders; then the log itself. Nothing the log does not list is
// touched.
#pragma once

#include <string>
#include <vector>

namespace clangor::outfit {

struct UninstallReport {
  std::vector<std::string> removed;
  std::vector<std::string> keptShared;  // still counted by another product
  std::vector<std::string> pending;     // removed when the next installer or uninstaller starts
};

// Throws PackageError when `logPath` is not an installation log.
UninstallReport Uninstall(const std::string& logPath);

}  // namespace clangor::outfit
