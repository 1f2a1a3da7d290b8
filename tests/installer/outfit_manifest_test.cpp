#include <gtest/gtest.h>

#include <filesystem>

#include "installer/package/outfit_manifest.h"
#include "installer/package/package_reader.h"
#include "tests/platform/temp_folder.h"

namespace clangor::outfit {
namespace {

using clangor::testing::TempFolder;
using clangor::testing::WriteFile;

TEST(OutfitManifest, BuildsThePackageItDescribes) {
  TempFolder temp;
  WriteFile(temp / "bin/ring", "#!/bin/sh\n");
  WriteFile(temp / "bin/probe", "probe");
  WriteFile(temp / "bin/unoutfit", "uninstaller");
  WriteFile(temp / "data/Towers/Eight/tower.txt", "eight");
  WriteFile(temp / "data/Compendium/methods.txt", "methods");
  WriteFile(temp / "data/Help/contents.html", "help");
  const std::string manifest =
      "# a small product\n"
      "application\tTinkle\n"
      "uninstall-key\tTinkle 1.0\n"
      "date\t2026\t12\t11\n"
      "volume-size\t4096\n"
      "message\t29\tOn >\n"
      "folder\tAPPFOLDER\tPrograms\t%PROGRAMFILES%\\Tinkle\n"
      "folder\tAPPDATA\tData\t%COMMONAPPDATAROOT%\\Tinkle\tshared\n"
      "temporary\tbin/probe\tProbe\n"
      "program\tProbe\t--quiet\tbefore\twait\n"
      "component\tMain\tEverything\trequired\n"
      "component-folder\t%APPMENU%\n"
      "file\tbin/ring\t%APPFOLDER%\\ring\tmode=1\tshared\n"
      "tree\tdata\t%APPDATA%\tskip=Compendium\n"
      "tree\tdata/Compendium\t%APPDATA%\\Compendium\tmode=2\tkeep\n"
      "shortcut\tRing.lnk\t%APPFOLDER%\\ring\t--loud\tRings\n"
      "uninstaller\tbin/unoutfit\n";
  OutfitManifest m = ParseManifest(manifest, temp.path());
  EXPECT_EQ(m.volumeSize, 4096);
  std::vector<std::string> names;
  for (const auto& f : m.package.files) names.push_back(f.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Probe", "%APPFOLDER%\\ring", "%APPDATA%\\Help\\contents.html",
                                             "%APPDATA%\\Towers\\Eight\\tower.txt", "%APPDATA%\\Compendium\\methods.txt",
                                             "%APPFOLDER%\\Unoutfit.exe", "%APPFOLDER%\\UnoutfitV.exe"}));
  BuildPackage(m, temp / "tinkle.pkg");
  SetupPackage p = ReadPackage(temp / "tinkle.pkg");
  EXPECT_EQ(p.Message(29), "On >");
  EXPECT_TRUE(p.files[0].temporary);
  EXPECT_EQ(p.files[1].overwriteMode, OverwriteOlder);
  EXPECT_TRUE(p.files[1].shared);
  EXPECT_EQ(p.files[4].overwriteMode, OverwriteNever);
  EXPECT_TRUE(p.files[4].keep);
  EXPECT_FALSE(p.files[3].keep);
  EXPECT_EQ(p.files[6].size, 11u);
  ASSERT_EQ(p.programs.size(), 1u);
  EXPECT_EQ(p.programs[0].texts[1], "--quiet");
  EXPECT_EQ(p.programs[0].wait, 1u);
  ASSERT_EQ(p.shortcuts.size(), 1u);
  EXPECT_EQ(p.components[0].folders, std::vector<std::string>{"%APPMENU%"});
  EXPECT_TRUE(p.folders[1].shared);
}

TEST(OutfitManifest, FaultsNameTheirLine) {
  struct Case {
    std::string manifest, fault;
  } cases[] = {
      {"application\tX\nbogus\t1\n", "line 2: unknown instruction \"bogus\""},
      {"file\ta\tb\n", "line 1: no component before this line"},
      {"application\n", "line 1: \"application\" needs 1 fields"},
      {"application\tX\n", "the manifest names no uninstaller"},
  };
  for (const auto& c : cases) {
    try {
      ParseManifest(c.manifest, "/nonexistent");
      ADD_FAILURE() << c.manifest;
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()), c.fault);
    }
  }
}

}  // namespace
}  // namespace clangor::outfit
