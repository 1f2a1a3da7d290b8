#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "installer/package/package_reader.h"
#include "installer/steps/installation.h"
#include "installer/steps/machine_registry.h"
#include "tests/installer/redirected_root.h"

namespace clangor::outfit {
namespace {

namespace fs = std::filesystem;
using testing::RedirectedRoot;

struct Ran {
  int status = -1;
  std::string output;
};

Ran RunCommand(const std::string& command) {
  Ran ran;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return ran;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) ran.output.append(buffer, n);
  int status = ::pclose(pipe);
  ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return ran;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

TEST(ProductPackage, InstallsRingsAndUninstallsLeavingOnlyWhatTheUserMade) {
  const std::string package = CLANGOR_SETUP_PACKAGE_PATH;
  if (!fs::exists(package)) GTEST_SKIP() << "the build made no setup package (no Qt or no data folder)";
  RedirectedRoot root;

  PackageReader reader(package);
  reader.ReadSections();
  EXPECT_EQ(reader.Package().settings.caption, "Orvanta Clangor 2.0 Setup");
  InstallChoices choices;
  choices.noDesktop = true;
  InstallReport report = Installation(reader, choices).Run();

  std::string program = root.Folder(ShellFolder::ProgramFiles) + "/Orvanta/Clangor";
  std::string data = root.Folder(ShellFolder::CommonAppData) + "/Orvanta/Clangor";
  EXPECT_EQ(report.uninstaller, program + "/UnoutfitV.exe");
  EXPECT_TRUE(fs::exists(data + "/Towers/XII/Eight Bells/control.cld"));
  EXPECT_TRUE(fs::exists(data + "/Compendium/XII/methods.txt"));
  EXPECT_TRUE(fs::exists(root.Folder(ShellFolder::ProgramsMenu) + "/Orvanta Clangor/Unoutfit.desktop"));
  EXPECT_FALSE(fs::exists(root.Folder(ShellFolder::Desktop)));
  EXPECT_EQ(MachineString(std::string(UninstallKey) + "\\Clangor 2.0", "DisplayName"), "Clangor");
  EXPECT_EQ(root.Listing(root / "machine/TEMP"), std::vector<std::string>{});  // Veriprobe ran and went

  Ran rung = RunCommand(Quoted(program + "/clangor-ring") + " ring --data " + Quoted(data) +
                 " --tower 'Eight Bells' --method 'Plain Bob Major' 2>&1");
  ASSERT_EQ(rung.status, 0) << rung.output;
  EXPECT_EQ(rung.output.substr(0, 9), "12345678\n");
  EXPECT_NE(rung.output.find("\n21436587\n"), std::string::npos);
  EXPECT_EQ(rung.output.substr(rung.output.size() - 9), "12345678\n");

  std::string userNotes = data + "/Compendium/XII/my_touches.txt";
  clangor::testing::WriteFile(userNotes, "what the user made");
  Ran removed = RunCommand(Quoted(report.uninstaller) + " --yes " + Quoted(report.logPath) + " </dev/null 2>&1");
  ASSERT_EQ(removed.status, 0) << removed.output;

  // Left: the user's library (installed once, the user's from then on) and
  // the file the user made; every program, tower, shortcut and value is gone.
  const std::set<std::string> folders = {"TEMP",           "PROGRAMS_MENU",          "PROGRAM_FILES",
                                         "PROGRAM_FILES/Orvanta", "COMMON_APPDATA", "COMMON_APPDATA/Orvanta",
                                         "COMMON_APPDATA/Orvanta/Clangor"};
  for (const auto& item : root.MachineFiles())
    EXPECT_TRUE(folders.count(item) || item.rfind("COMMON_APPDATA/Orvanta/Clangor/Compendium", 0) == 0) << item;
  EXPECT_TRUE(fs::exists(userNotes));
  EXPECT_FALSE(fs::exists(program));
  EXPECT_FALSE(fs::exists(data + "/Towers"));
  EXPECT_FALSE(MachineString(std::string(UninstallKey) + "\\Clangor 2.0", "DisplayName"));
  EXPECT_FALSE(MachineString(OutfitKey, "Clangor 2.0"));
}

}  // namespace
}  // namespace clangor::outfit
