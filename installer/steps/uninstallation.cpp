#include "installer/steps/uninstallation.h"

#include <algorithm>
#include <filesystem>

#include "installer/package/package_error.h"
#include "installer/steps/install_log.h"
#include "installer/steps/machine_registry.h"

namespace clangor::outfit {

namespace fs = std::filesystem;

namespace {

bool Inside(const fs::path& path, const fs::path& folder) {
  auto [end, _] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
  return end == folder.end();
}

// Removes the empty folders above `path`, as far up as one of the product's
// folders (that one included); a folder outside them is never removed.
void RemoveEmptyParents(const fs::path& path, const std::vector<PackageFolder>& folders) {
  fs::path folder = path.parent_path();
  for (;;) {
    bool ours = std::any_of(folders.begin(), folders.end(), [&](const PackageFolder& f) {
      return !f.path.empty() && Inside(folder, fs::path(f.path).lexically_normal());
    });
    std::error_code ec;
    if (!ours || !fs::is_empty(folder, ec) || ec || !fs::remove(folder, ec)) return;
    folder = folder.parent_path();
  }
}

void RemoveFile(const std::string& path, const std::vector<PackageFolder>& folders, UninstallReport& report) {
  std::error_code ec;
  auto status = fs::symlink_status(path, ec);
  if (!fs::exists(status)) return;
  if (fs::is_directory(status)) return;  // the log names files, never folders
  if (fs::remove(path, ec)) {
    report.removed.push_back(path);
    RemoveEmptyParents(path, folders);
    return;
  }
  AddPendingRename({path, ""});
  report.pending.push_back(path);
}

}  // namespace

UninstallReport Uninstall(const std::string& logPath) {
  auto log = ReadInstallLog(logPath);
  if (!log) throw PackageError("The file " + logPath + " is not an installation log.");
  for (auto& f : log->folders) f.path = fs::path(f.path).lexically_normal().string();
  UninstallReport report;
  for (auto entry = log->entries.rbegin(); entry != log->entries.rend(); ++entry) {
    if (auto value = AsRegistryEntry(*entry)) {
      DeleteMachineValue(value->key, value->value);
      continue;
    }
    if (auto count = SharedCount(*entry)) {
      if (*count > 1) {
        SetSharedCount(*entry, *count - 1);
        report.keptShared.push_back(*entry);
        continue;
      }
      RemoveSharedCount(*entry);
    }
    RemoveFile(*entry, log->folders, report);
  }
  RemoveFile(logPath, log->folders, report);
  return report;
}

}  // namespace clangor::outfit
