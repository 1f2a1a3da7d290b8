// A temporary root with every shell folder, the registry hives and the
// temporary folder moved into it, so an installation under test writes
// nowhere else; and a listing of what lies under a folder, to show what an
// installation or uninstallation left.
#pragma once

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/shellfolders.h"
#include "tests/platform/temp_folder.h"

namespace clangor::outfit::testing {

class RedirectedRoot {
 public:
  RedirectedRoot() {
    const ShellFolder folders[] = {ShellFolder::CommonAppData, ShellFolder::ProgramFiles, ShellFolder::CommonFiles,
                                   ShellFolder::StartMenu,     ShellFolder::ProgramsMenu, ShellFolder::Desktop,
                                   ShellFolder::SendTo,        ShellFolder::Startup,      ShellFolder::Documents,
                                   ShellFolder::CommonDocuments, ShellFolder::AppData,    ShellFolder::LocalAppData};
    for (ShellFolder f : folders) {
      std::string name(ShellFolderVariable(f));
      env_.push_back(std::make_unique<clangor::testing::ScopedEnv>(name, temp_ / ("machine/" + name.substr(8))));
    }
    env_.push_back(std::make_unique<clangor::testing::ScopedEnv>("CLANGOR_REGISTRY_DIR", temp_ / "registry"));
    env_.push_back(std::make_unique<clangor::testing::ScopedEnv>("TMPDIR", temp_ / "machine/TEMP"));
    std::filesystem::create_directories(temp_ / "machine/TEMP");
    std::filesystem::create_directories(temp_ / "registry");
    std::filesystem::create_directories(temp_ / "packages");
  }

  const std::string& path() const { return temp_.path(); }
  std::string operator/(const std::string& sub) const { return temp_ / sub; }
  std::string Folder(ShellFolder f) const { return ShellFolderPath(f); }
  std::string Package() const { return temp_ / "packages/tinkle.pkg"; }

  // Every file and folder under `folder`, relative to it, in name order.
  static std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> items;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         it != std::filesystem::recursive_directory_iterator(); ++it)
      items.push_back(std::filesystem::relative(it->path(), folder).string());
    std::sort(items.begin(), items.end());
    return items;
  }
  // The files of the machine (everything but the packages and the hives).
  std::vector<std::string> MachineFiles() const { return Listing(temp_ / "machine"); }

 private:
  clangor::testing::TempFolder temp_;
  std::vector<std::unique_ptr<clangor::testing::ScopedEnv>> env_;
};

}  // namespace clangor::outfit::testing
