// The installation steps, once the user has confirmed: the log, the
// uninstaller first, the files by the overwrite rules with their shared
// counts, the shortcuts, the uninstall entry. Every path is resolved and
// checked before anything is written, so a package that reaches outside
// its folders is refused whole.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "installer/package/package_reader.h"
#include "installer/steps/install_log.h"
#include "installer/steps/path_variables.h"

namespace clangor::outfit {

inline constexpr const char* RemovableDriveFile = "RemovableDrive.sys";
inline constexpr const char* RemovableDriveText =
    "The existence of this file forces portable applications installed by Outfitter in this folder to treat the "
    "drive as removable, even if it isn't.";

struct InstallChoices {
  FolderChoices folders;
  std::vector<bool> components;  // empty: each component as the package selects it
  bool noDesktop = false;
  int systemMajorVersion = 6;   // picks the uninstaller ("UnoutfitV.exe" from 6 on)
  std::uint32_t today = 0;      // the install date as yyyymmdd; 0: the package's date
};

// What the installation tells its window while it works; the window may
// process its events in `Pump`.
class InstallObserver {
 public:
  virtual ~InstallObserver() = default;
  virtual void Progress(const std::string& /*text*/, std::size_t /*done*/, std::size_t /*total*/) {}
  virtual void Pump() {}
};

struct InstallReport {
  std::string logPath;
  std::string uninstaller;
  std::uint64_t installedBytes = 0;
  std::vector<std::string> pending;  // targets that wait for the next start
  std::vector<std::string> kept;     // existing files the overwrite rules kept
};

// True when a packaged file is to replace `existing`, by the overwrite
// rules (the identical-file check comes first and is the caller's).
bool Overwrites(const PackageFile& file, std::time_t existingModified);

// The "/nodesktop" option among the arguments after the package.
bool HasNoDesktopOption(const std::vector<std::string>& arguments);

class Installation {
 public:
  Installation(PackageReader& reader, InstallChoices choices, InstallObserver* observer = nullptr);

  // Resolves every target and shortcut path; PackageError when one reaches
  // outside its folder. Run does this first.
  void Check();
  InstallReport Run();

  // The uninstaller file this system installs.
  std::size_t UninstallerIndex() const;
  const PathVariables& Paths() const { return paths_; }

 private:
  struct Planned {
    std::size_t index;
    std::string target;
  };
  bool ComponentChosen(int component) const;
  std::vector<std::string> ShortcutFolders(int component) const;
  std::string PrepareLog(const std::vector<std::string>& previousEntries);
  void InstallFile(const Planned& file, const InstallLog* previous, InstallLog& log, InstallReport& report);
  void CountShared(const PackageFile& file, const std::string& target, bool existedBefore, const InstallLog* previous);
  void CreateShortcuts(InstallLog& log, const std::string& uninstaller, const std::string& logPath);
  void WriteUninstallEntry(InstallLog& log, const InstallReport& report);
  void SaveLog(const InstallLog& log, const std::string& path) const;

  PackageReader& reader_;
  const SetupPackage& package_;
  InstallChoices choices_;
  InstallObserver* observer_;
  InstallObserver quiet_;
  PathVariables paths_;
  std::vector<Planned> plan_;
};

}  // namespace clangor::outfit
