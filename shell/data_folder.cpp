#include "shell/data_folder.h"

#include <cstdlib>
#include <filesystem>

#include "platform/shellfolders.h"

namespace clangor {

namespace {
bool HoldsTowers(const std::filesystem::path& root) {
  std::error_code error;
  return std::filesystem::is_directory(root / "Orvanta" / "Clangor" / "Towers" / "XII", error);
}
}  // namespace

std::string InstalledDataRoot(const std::string& programFolder) {
  if (std::getenv(std::string(ShellFolderVariable(ShellFolder::CommonAppData)).c_str())) return {};
  if (HoldsTowers(ShellFolderPath(ShellFolder::CommonAppData))) return {};
  const std::filesystem::path share = std::filesystem::path(programFolder) / ".." / "share";
  if (!HoldsTowers(share)) return {};
  return std::filesystem::weakly_canonical(share).string();
}

void UseInstalledDataFolder(const std::string& programFolder) {
  const std::string root = InstalledDataRoot(programFolder);
  if (!root.empty()) setenv(std::string(ShellFolderVariable(ShellFolder::CommonAppData)).c_str(), root.c_str(), 1);
}

}  // namespace clangor
