// Saves that a crash or a full disk interrupts: the library's files and the
// settings hive are each, afterwards, either the old file or the new one,
// whole; a save that cannot be written is reported and loses nothing.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "library/library.h"
#include "platform/registry.h"
#include "platform/registry_text.h"
#include "tests/library/temp_folder.h"

namespace clangor {
namespace {

using testing::TempFolder;

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A library of `count` methods named after `tag`, saving to `folder`.
void FillLibrary(Library& library, const std::filesystem::path& folder, const std::string& tag, int count) {
  library.LoadLibrary(folder, nullptr);
  for (int i = 0; i < count; ++i) {
    library.AddMethod({8, tag + " " + std::to_string(i), "|12|&-18-18-18-18,|14|1234"});
  }
}

constexpr const char* SettingsKey = "Software\\Orvanta\\Clangor";

registry::Status SaveSetting(const std::string& hive, const std::string& value) {
  registry::Key key;
  const registry::Status s =
      registry::Key::RootInFile(registry::HiveId::CurrentUser, hive).Create(SettingsKey, registry::Access::ReadWrite, key);
  return s != registry::error::Success ? s : key.SetString("TowerName", value);
}

// The hive's setting, or "" when the file is not a whole hive.
std::string SettingInFile(const std::string& hive) {
  const registry::ParsedHive parsed = registry::ParseHiveText(ReadWhole(hive), "HKEY_CURRENT_USER");
  if (!parsed.isHive || parsed.badLines != 0) return "";
  const registry::KeyNode* key = parsed.data.FindKey(SettingsKey);
  const registry::NamedValue* value = key ? key->FindValue("TowerName") : nullptr;
  if (value == nullptr || value->value.data.empty()) return "";
  return std::string(value->value.data.begin(), value->value.data.end() - 1);
}

// Runs `child` in a child process; its exit status as waitpid gives it.
int RunInChild(const std::function<int()>& child) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(child());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

class CrashSafeSave : public ::testing::Test {
 protected:
  void SetUp() override {
    FillLibrary(old_, temp_.path(), "Old", 300);
    FillLibrary(new_, temp_.path(), "New", 400);
    ASSERT_TRUE(old_.SaveMethods());
    ASSERT_EQ(SaveSetting(hive_, OldSetting()), registry::error::Success);
  }
  std::filesystem::path MethodsPath() const { return old_.folder() / MethodsFile; }
  static std::string OldSetting() { return std::string(20000, 'o'); }
  static std::string NewSetting() { return std::string(30000, 'n'); }

  TempFolder temp_;
  Library old_, new_;
  const std::string hive_ = (temp_.path() / "HKEY_CURRENT_USER.reg").string();
};

// A child saves the library and the settings over and over, old and new in
// turn, and is killed at a random moment; each file is then one or the other.
TEST_F(CrashSafeSave, AKilledSaveLeavesTheOldFileOrTheNewWhole) {
  const std::string oldText = ReadWhole(MethodsPath());
  const std::string newText = new_.MethodsText();
  std::mt19937 random(2026);
  for (int kill = 0; kill < 300; ++kill) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      for (int n = 0;; ++n) {
        (n % 2 ? old_ : new_).SaveMethods();
        SaveSetting(hive_, n % 2 ? OldSetting() : NewSetting());
      }
    }
    ::usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    const std::string methods = ReadWhole(MethodsPath());
    ASSERT_TRUE(methods == oldText || methods == newText) << "after kill " << kill;
    const std::string setting = SettingInFile(hive_);
    ASSERT_TRUE(setting == OldSetting() || setting == NewSetting()) << "after kill " << kill;
  }
}

// Under a file-size limit below the new files, as a full disk fails them:
// the saves report failure, the old files stay, and what the user stored is
// saved once there is room.
TEST_F(CrashSafeSave, ASaveThatCannotBeWrittenIsReportedAndLosesNothing) {
  const std::string oldText = ReadWhole(MethodsPath());
  const int status = RunInChild([this, &oldText] {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlim_t room = limit.rlim_cur;
    limit.rlim_cur = 4096;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
    int failures = 0;
    if (!new_.SaveMethods()) failures |= 1;
    if (SaveSetting(hive_, NewSetting()) == registry::error::DiskFull) failures |= 2;
    if (failures != 3) return 20 + failures;
    if (ReadWhole(MethodsPath()) != oldText || SettingInFile(hive_) != OldSetting()) return 30;
    limit.rlim_cur = room;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    return new_.SaveMethods() && SaveSetting(hive_, NewSetting()) == registry::error::Success ? 0 : 40;
  });
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadWhole(MethodsPath()), new_.MethodsText());
  EXPECT_EQ(SettingInFile(hive_), NewSetting());
}

}  // namespace
}  // namespace clangor
