#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "installer/package/package_error.h"
#include "installer/steps/file_stamps.h"
#include "installer/steps/installation.h"
#include "installer/steps/machine_registry.h"
#include "installer/steps/uninstallation.h"
#include "platform/registry.h"
#include "platform/shell_link.h"
#include "tests/installer/redirected_root.h"
#include "tests/installer/sample_package.h"

namespace clangor::outfit {
namespace {

namespace fs = std::filesystem;
using clangor::testing::ReadFile;
using clangor::testing::WriteFile;
using testing::Bytes;
using testing::RedirectedRoot;
using testing::SamplePackage;

class InstallationTest : public ::testing::Test {
 protected:
  InstallReport Install(const SamplePackage& sample, InstallChoices choices = {}) {
    sample.Write(root.Package());
    PackageReader reader(root.Package());
    reader.ReadSections();
    choices.folders.setupFolder = root / "packages";
    Installation installation(reader, choices);
    return installation.Run();
  }
  std::string AppFolder() const { return root.Folder(ShellFolder::ProgramFiles) + "/Orvanta/Tinkle"; }
  std::string MenuFolder() const { return root.Folder(ShellFolder::ProgramsMenu) + "/Tinkle"; }
  std::string DataFolder() const { return root.Folder(ShellFolder::CommonAppData) + "/Orvanta/Tinkle"; }
  std::optional<std::string> UninstallValue(const std::string& key, const std::string& name) {
    return MachineString(std::string(UninstallKey) + "\\" + key, name);
  }
  RedirectedRoot root;
};

TEST_F(InstallationTest, InstallsFilesShortcutsLogAndUninstallEntry) {
  SamplePackage sample;
  sample.AddFile("%APPFOLDER%\\tinkle.hlp", Bytes("help"));
  InstallChoices choices;
  choices.today = 20261211;
  InstallReport report = Install(sample, choices);

  EXPECT_EQ(report.logPath, AppFolder() + "/Outfit.log");
  EXPECT_EQ(report.uninstaller, AppFolder() + "/UnoutfitV.exe");
  EXPECT_EQ(ReadFile(AppFolder() + "/tinkle"), "#!/bin/sh\necho tinkle\n");
  EXPECT_EQ(ReadFile(DataFolder() + "/Towers/XII/Eight/control.cld"), "control table");
  EXPECT_FALSE(fs::exists(AppFolder() + "/Unoutfit.exe"));
  EXPECT_EQ(::access((AppFolder() + "/tinkle").c_str(), X_OK), 0);
  EXPECT_EQ(LookAtFile(AppFolder() + "/tinkle")->modified, DosDateTimeToTime(sample.package.files[0].dosDateTime));

  auto menuLink = ReadShellLink(MenuFolder() + "/Tinkle.desktop");
  ASSERT_TRUE(menuLink);
  EXPECT_EQ(menuLink->target, AppFolder() + "/tinkle");
  EXPECT_EQ(menuLink->arguments, (std::vector<std::string>{"--loud"}));
  EXPECT_EQ(menuLink->workingFolder, AppFolder());
  EXPECT_TRUE(fs::exists(root.Folder(ShellFolder::Desktop) + "/Tinkle.desktop"));
  auto uninstallLink = ReadShellLink(MenuFolder() + "/Unoutfit.desktop");
  ASSERT_TRUE(uninstallLink);
  EXPECT_EQ(uninstallLink->name, "Uninstall Tinkle");
  EXPECT_EQ(uninstallLink->arguments, (std::vector<std::string>{report.logPath}));

  EXPECT_EQ(UninstallValue("Tinkle 1.0", "DisplayName"), "Tinkle");
  EXPECT_EQ(UninstallValue("Tinkle 1.0", "UninstallString"), report.uninstaller + " \"" + report.logPath + "\"");
  EXPECT_EQ(UninstallValue("Tinkle 1.0", "InstallDate"), "20261211");
  EXPECT_EQ(UninstallValue("Tinkle 1.0", "InstallLocation"), AppFolder());
  EXPECT_EQ(UninstallValue("Tinkle 1.0", "DisplayIcon"), AppFolder() + "/tinkle");
  EXPECT_EQ(MachineString(OutfitKey, "Tinkle 1.0"), report.logPath);

  auto log = ReadInstallLog(report.logPath);
  ASSERT_TRUE(log);
  std::string text = ReadFile(report.logPath);
  EXPECT_EQ(text.substr(0, text.find("\r\n", 100)),
            "; Outfitter Installation Log\r\n; Please do not delete or alter this file.\r\n"
            "; It is needed whenever you want to update or uninstall Tinkle");
  EXPECT_NE(text.find("\r\n1\r\nTinkle\r\n2026\r\n12\r\n11\r\nOrvanta\r\nTinkle 1.0\r\n1.2\r\nUninstall %s\r\n"),
            std::string::npos);
  EXPECT_EQ(log->components, (std::vector<std::pair<std::string, bool>>{{"Program", true}, {"Extras", false}}));
  EXPECT_EQ(log->entries.front(), report.uninstaller);
  auto gid = std::find(log->entries.begin(), log->entries.end(), AppFolder() + "/tinkle.gid");
  ASSERT_NE(gid, log->entries.end());  // the help file's companion goes with it
  EXPECT_EQ(*(gid - 1), AppFolder() + "/tinkle.hlp");
  EXPECT_NE(std::find(log->entries.begin(), log->entries.end(),
                      "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tinkle 1.0\tNoRepair"),
            log->entries.end());
  EXPECT_EQ(log->entries.back(), "HKEY_LOCAL_MACHINE\\Software\\Fennix\\OutfitIT\tTinkle 1.0");
}

TEST_F(InstallationTest, NoDesktopLeavesTheDesktopAlone) {
  struct Case {
    std::vector<std::string> arguments;
    bool noDesktop;
  } cases[] = {{{"/nodesktop"}, true}, {{"x", "/NoDesktop"}, true}, {{"x", "y", "/nodesktop"}, false}, {{}, false}};
  for (const auto& c : cases) EXPECT_EQ(HasNoDesktopOption(c.arguments), c.noDesktop);

  InstallChoices choices;
  choices.noDesktop = true;
  Install(SamplePackage(), choices);
  EXPECT_TRUE(fs::exists(MenuFolder() + "/Tinkle.desktop"));
  EXPECT_FALSE(fs::exists(root.Folder(ShellFolder::Desktop)));
}

TEST_F(InstallationTest, ReinstallReusesItsLogAndAnotherProductTakesTheNextName) {
  InstallReport first = Install(SamplePackage());
  InstallReport again = Install(SamplePackage());
  EXPECT_EQ(again.logPath, first.logPath);
  SamplePackage other("Tinkle", "Tonkle 2.0");
  InstallReport second = Install(other);
  EXPECT_EQ(second.logPath, AppFolder() + "/Outfit2.log");
  EXPECT_EQ(MachineString(OutfitKey, "Tonkle 2.0"), second.logPath);
}

TEST_F(InstallationTest, ALogInAnotherFolderIsDeleted) {
  InstallReport first = Install(SamplePackage());
  InstallChoices choices;
  choices.folders.folders["APPFOLDER"] = root / "machine/elsewhere";
  InstallReport moved = Install(SamplePackage(), choices);
  EXPECT_EQ(moved.logPath, root / "machine/elsewhere/Outfit.log");
  EXPECT_FALSE(fs::exists(first.logPath));
}

TEST_F(InstallationTest, SharedFilesAreCounted) {
  SamplePackage sample;
  sample.AddFile("%COMMONFILES%\\Orvanta\\bells.so", Bytes("shared bells")).shared = true;
  sample.AddFile("%COMMONFILES%\\Orvanta\\fresh.so", Bytes("shared fresh")).shared = true;
  sample.AddFile("%COMMONFILES%\\Orvanta\\counted.so", Bytes("counted by another"));
  std::string common = root.Folder(ShellFolder::CommonFiles) + "/Orvanta/";
  WriteFile(common + "bells.so", "an older copy");
  SetSharedCount(common + "counted.so", 3);

  Install(sample);
  EXPECT_EQ(SharedCount(common + "bells.so"), 2u);  // there before, with no count
  EXPECT_EQ(SharedCount(common + "fresh.so"), 1u);
  EXPECT_EQ(SharedCount(common + "counted.so"), 4u);  // a count makes it shared
  EXPECT_FALSE(SharedCount(AppFolder() + "/tinkle"));

  Install(sample);  // the same product again counts once
  EXPECT_EQ(SharedCount(common + "fresh.so"), 1u);
  EXPECT_EQ(SharedCount(common + "counted.so"), 4u);

  Uninstall(AppFolder() + "/Outfit.log");
  EXPECT_EQ(SharedCount(common + "bells.so"), 1u);
  EXPECT_TRUE(fs::exists(common + "bells.so"));
  EXPECT_FALSE(SharedCount(common + "fresh.so"));
  EXPECT_FALSE(fs::exists(common + "fresh.so"));
  EXPECT_EQ(SharedCount(common + "counted.so"), 3u);
  EXPECT_TRUE(fs::exists(common + "counted.so"));
}

TEST_F(InstallationTest, OverwriteModesDecideOverAnExistingFile) {
  // The packaged date is 2026-12-11; the existing file is older or newer.
  const std::time_t older = DosDateTimeToTime(TimeToDosDateTime(1700000000));
  const std::time_t newer = DosDateTimeToTime(TimeToDosDateTime(1900000000));
  struct Case {
    int mode;
    std::string existing;
    std::time_t date;
    bool replaced;
  } cases[] = {
      {OverwriteAlways, "other", newer, true},  {OverwriteOlder, "other", older, true},
      {OverwriteOlder, "other", newer, false},  {OverwriteNever, "other", older, false},
      {OverwriteAlways, "new text", newer, false},  // same size and CRC: untouched
  };
  int n = 0;
  for (const auto& c : cases) {
    SamplePackage sample;
    std::string name = "file" + std::to_string(n++);
    sample.AddFile("%APPFOLDER%\\" + name, Bytes("new text")).overwriteMode = c.mode;
    std::string target = AppFolder() + "/" + name;
    WriteFile(target, c.existing);
    ::chmod(target.c_str(), 0444);  // read-only is cleared before writing
    struct timespec times[2] = {{c.date, 0}, {c.date, 0}};
    ::utimensat(AT_FDCWD, target.c_str(), times, 0);
    InstallReport report = Install(sample);
    EXPECT_EQ(ReadFile(target), c.replaced ? "new text" : c.existing) << name;
    EXPECT_EQ(LookAtFile(target)->modified != c.date, c.replaced) << name;
    EXPECT_EQ(std::find(report.kept.begin(), report.kept.end(), target) != report.kept.end(),
              !c.replaced && c.existing != "new text") << name;
  }
  EXPECT_EQ(RedirectedRoot::Listing(AppFolder()).size(), 8u);  // no "ftx" file left behind
}

TEST_F(InstallationTest, AProgramInUseIsReplacedAtTheNextStart) {
  SamplePackage sample;
  std::string target = AppFolder() + "/tinkle";
  fs::create_directories(AppFolder());
  fs::copy_file("/bin/sleep", target);
  pid_t pid = 0;
  char* argv[] = {target.data(), const_cast<char*>("30"), nullptr};
  ASSERT_EQ(posix_spawn(&pid, target.c_str(), nullptr, nullptr, argv, nullptr), 0);
  // Wait (on the program, not the clock) until it runs from the file.
  for (int i = 0; i < 1000 && fs::read_symlink("/proc/" + std::to_string(pid) + "/exe").string() != target; ++i)
    std::this_thread::yield();

  InstallReport report = Install(sample);
  EXPECT_EQ(report.pending, (std::vector<std::string>{target}));
  EXPECT_EQ(fs::file_size(target), fs::file_size("/bin/sleep"));
  auto pending = PendingRenames();
  ASSERT_EQ(pending.size(), 1u);
  EXPECT_EQ(pending[0].to, target);
  EXPECT_EQ(fs::path(pending[0].from).filename().string().substr(0, 3), "ftx");

  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  EXPECT_EQ(CarryOutPendingRenames(), 1);
  EXPECT_EQ(ReadFile(target), "#!/bin/sh\necho tinkle\n");
  EXPECT_TRUE(PendingRenames().empty());
}

TEST_F(InstallationTest, PortableInstallationStaysInItsFolder) {
  SamplePackage sample;
  sample.package.portable = true;
  sample.package.portableFolder = "%SETUPFOLDER%\\Tinkle";
  InstallChoices choices;
  choices.folders.portable = true;
  InstallReport report = Install(sample, choices);
  std::string portable = root / "packages/Tinkle";
  EXPECT_EQ(report.logPath, portable + "/Outfit.log");
  EXPECT_EQ(ReadFile(portable + "/RemovableDrive.sys"),
            "The existence of this file forces portable applications installed by Outfitter in this folder to "
            "treat the drive as removable, even if it isn't.");
  EXPECT_EQ(ReadFile(portable + "/Towers/XII/Eight/control.cld"), "control table");
  EXPECT_TRUE(fs::exists(portable + "/Tinkle.desktop"));
  EXPECT_TRUE(root.MachineFiles() == std::vector<std::string>{"TEMP"});
  EXPECT_FALSE(MachineString(OutfitKey, "Tinkle 1.0"));
  Uninstall(report.logPath);
  EXPECT_FALSE(fs::exists(portable));
}

TEST_F(InstallationTest, UninstallRemovesWhatTheLogListsAndNothingElse) {
  SamplePackage sample;
  InstallReport report = Install(sample);
  WriteFile(DataFolder() + "/Compendium/XII/methods.txt", "the user's own methods");
  WriteFile(root.Folder(ShellFolder::Desktop) + "/notes.txt", "the user's notes");

  UninstallReport removed = Uninstall(report.logPath);
  EXPECT_TRUE(removed.pending.empty());
  EXPECT_EQ(root.MachineFiles(),
            (std::vector<std::string>{"COMMON_APPDATA", "COMMON_APPDATA/Orvanta", "COMMON_APPDATA/Orvanta/Tinkle",
                                      "COMMON_APPDATA/Orvanta/Tinkle/Compendium",
                                      "COMMON_APPDATA/Orvanta/Tinkle/Compendium/XII",
                                      "COMMON_APPDATA/Orvanta/Tinkle/Compendium/XII/methods.txt", "DESKTOP",
                                      "DESKTOP/notes.txt", "PROGRAMS_MENU", "PROGRAM_FILES", "PROGRAM_FILES/Orvanta",
                                      "TEMP"}));
  registry::Key key;
  EXPECT_NE(registry::Key::Root(registry::HiveId::LocalMachine)
                .Open(std::string(UninstallKey) + "\\Tinkle 1.0", registry::Access::Read, key),
            0);
  EXPECT_FALSE(MachineString(OutfitKey, "Tinkle 1.0"));
  EXPECT_THROW(Uninstall(report.logPath), PackageError);
}

}  // namespace
}  // namespace clangor::outfit

namespace clangor::outfit {
namespace {

TEST_F(InstallationTest, ProgramsBeforeTheFilesRunFromTheTemporaryFolderUnderAFreeName) {
  SamplePackage sample;
  sample.AddTemporaryFile("Probe.sh", Bytes("#!/bin/sh\necho \"$(basename \"$0\")\" > \"$1\"\n"));
  sample.package.programs.push_back({});
  sample.package.programs[0].texts = {"Probe.sh", root / "machine/ran", "", "", "before", "", "", ""};
  sample.package.programs[0].wait = 1;
  std::string temp = root / "machine/TEMP";
  WriteFile(temp + "/Probe.sh", "someone else's");
  WriteFile(temp + "/Probe2.sh", "someone else's too");
  Install(sample);
  EXPECT_EQ(ReadFile(root / "machine/ran"), "Probe3.sh\n");
  EXPECT_EQ(RedirectedRoot::Listing(temp), (std::vector<std::string>{"Probe.sh", "Probe2.sh"}));
}

}  // namespace
}  // namespace clangor::outfit

namespace clangor::outfit {
namespace {

TEST_F(InstallationTest, TheUninstallerFitsTheSystemVersion) {
  struct Case {
    int major;
    const char* installed;
    const char* left;
  } cases[] = {{5, "Unoutfit.exe", "UnoutfitV.exe"}, {6, "UnoutfitV.exe", "Unoutfit.exe"}};
  for (const auto& c : cases) {
    InstallChoices choices;
    choices.systemMajorVersion = c.major;
    choices.folders.folders["APPFOLDER"] = root / ("machine/v" + std::to_string(c.major));
    InstallReport report = Install(SamplePackage(), choices);
    EXPECT_EQ(report.uninstaller, root / ("machine/v" + std::to_string(c.major) + "/" + c.installed));
    EXPECT_FALSE(fs::exists(root / ("machine/v" + std::to_string(c.major) + "/" + c.left)));
  }
}

}  // namespace
}  // namespace clangor::outfit
