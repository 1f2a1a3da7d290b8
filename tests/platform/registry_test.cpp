#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/registry.h"
#include "tests/platform/temp_folder.h"

namespace clangor::registry {
namespace {

using clangor::testing::ReadFile;
using clangor::testing::ScopedEnv;
using clangor::testing::TempFolder;
using clangor::testing::WriteFile;

class RegistryTest : public ::testing::Test {
 protected:
  TempFolder temp;
  ScopedEnv registryDir{"CLANGOR_REGISTRY_DIR", temp / "registry"};
  std::string hivePath = temp / "registry/HKEY_CURRENT_USER.reg";

  Key Open(const char* path, Access access = Access::ReadWrite) {
    Key key;
    EXPECT_EQ(Key::Root(HiveId::CurrentUser).Create(path, access, key), error::Success);
    return key;
  }
};

TEST_F(RegistryTest, CreateTellsWhetherTheKeyIsNew) {
  Key root = Key::Root(HiveId::CurrentUser);
  Key key;
  bool created = false;
  EXPECT_EQ(root.Open("Software\\Orvanta\\Clangor", Access::ReadWrite, key), error::FileNotFound);
  EXPECT_EQ(root.Create("Software\\Orvanta\\Clangor", Access::ReadWrite, key, &created), error::Success);
  EXPECT_TRUE(created);
  EXPECT_EQ(root.Create("software\\orvanta\\clangor", Access::ReadWrite, key, &created), error::Success);
  EXPECT_FALSE(created);
  EXPECT_EQ(key.Path(), "Software\\Orvanta\\Clangor");  // the case it was made with

  std::vector<std::string> names;
  Key software;
  ASSERT_EQ(root.Open("Software", Access::Read, software), error::Success);
  EXPECT_EQ(software.SubKeyNames(names), error::Success);
  EXPECT_EQ(names, std::vector<std::string>{"Orvanta"});
}

TEST_F(RegistryTest, ValuesAreTypedAndSized) {
  Key key = Open("Software\\Test");
  ASSERT_EQ(key.SetString("Name", "Eight Bells"), error::Success);
  ASSERT_EQ(key.SetDword("Count", 300), error::Success);
  const std::uint8_t bits[] = {1, 2, 3};
  ASSERT_EQ(key.SetValue("Bits", ValueType::Binary, bits), error::Success);

  struct Case {
    const char* name;
    ValueType type;
    std::uint32_t size;
  } cases[] = {{"Name", ValueType::String, 12}, {"count", ValueType::Dword, 4}, {"Bits", ValueType::Binary, 3}};
  for (const Case& c : cases) {
    ValueType type;
    std::uint32_t size;
    ASSERT_EQ(key.QueryValue(c.name, type, size), error::Success) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_EQ(size, c.size) << c.name;
  }
  ValueType type;
  std::uint32_t size;
  EXPECT_EQ(key.QueryValue("Missing", type, size), error::FileNotFound);

  std::vector<std::string> names;
  key.ValueNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"Name", "Count", "Bits"}));
  EXPECT_EQ(key.DeleteValue("Count"), error::Success);
  EXPECT_EQ(key.DeleteValue("Count"), error::FileNotFound);

  EXPECT_EQ(ReadFile(hivePath),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\Test]\n"
            "\"Name\"=\"Eight Bells\"\n\"Bits\"=hex:01,02,03\n\n");
}

TEST_F(RegistryTest, DeletingKeys) {
  Key root = Key::Root(HiveId::CurrentUser);
  Open("A\\B\\C");
  EXPECT_EQ(root.DeleteSubKey("A\\B"), error::AccessDenied);  // it has a sub-key
  EXPECT_EQ(root.DeleteSubKey("A\\B\\C"), error::Success);
  EXPECT_EQ(root.DeleteSubKey("A\\B\\C"), error::FileNotFound);
  Open("A\\B\\D");
  EXPECT_EQ(root.DeleteTree("A"), error::Success);
  std::vector<std::string> names;
  root.SubKeyNames(names);
  EXPECT_TRUE(names.empty());
}

TEST_F(RegistryTest, HandlesThatCannotBeUsed) {
  Key readOnly = Open("K", Access::Read);
  EXPECT_EQ(readOnly.SetDword("V", 1), error::AccessDenied);
  Key child;
  EXPECT_EQ(readOnly.Create("New", Access::ReadWrite, child), error::AccessDenied);

  Key key = Open("K");
  Key other = key;
  EXPECT_EQ(key.Close(), error::Success);
  EXPECT_EQ(key.Close(), error::InvalidHandle);
  EXPECT_EQ(key.SetDword("V", 1), error::InvalidHandle);
  EXPECT_EQ(other.SetDword("V", 1), error::Success);  // copies stay open

  // A key deleted by another handle is gone for this one too.
  EXPECT_EQ(Key::Root(HiveId::CurrentUser).DeleteSubKey("K"), error::Success);
  std::uint32_t v;
  EXPECT_EQ(other.GetDword("V", v), error::KeyDeleted);
  EXPECT_EQ(other.SetDword("V", 2), error::KeyDeleted);
}

// Two writers, each with its own view of the same hive file: neither loses
// what the other wrote, although each last read the file before the other
// wrote it.
TEST_F(RegistryTest, InterleavedWritersKeepEachOthersValues) {
  Key a = Open("Shared");
  Key b = Open("Shared");  // a separate root: a separate reader and writer
  ASSERT_EQ(a.SetDword("FromA1", 1), error::Success);
  ASSERT_EQ(b.SetDword("FromB", 2), error::Success);
  ASSERT_EQ(a.SetDword("FromA2", 3), error::Success);
  std::uint32_t v = 0;
  EXPECT_EQ(a.GetDword("FromB", v), error::Success);
  EXPECT_EQ(v, 2u);
  EXPECT_EQ(b.GetDword("FromA2", v), error::Success);
  EXPECT_EQ(v, 3u);
  std::vector<std::string> names;
  Open("Shared").ValueNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"FromA1", "FromB", "FromA2"}));
}

TEST_F(RegistryTest, TwoProgramsWritingAtOnceLoseNothing) {
  constexpr int ValuesEach = 40;
  Open("Shared");
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = ::fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      Key key;
      int failures = Key::Root(HiveId::CurrentUser).Open("Shared", Access::ReadWrite, key) != error::Success;
      for (int i = 0; i < ValuesEach; ++i)
        failures += key.SetDword("P" + std::to_string(c) + "_" + std::to_string(i), static_cast<std::uint32_t>(i)) != 0;
      ::_exit(failures == 0 ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  std::vector<std::string> names;
  Open("Shared").ValueNames(names);
  EXPECT_EQ(names.size(), 2u * ValuesEach);
  // Every write replaced the file whole: no temporary file is left beside it.
  for (const auto& entry : std::filesystem::directory_iterator(temp / "registry")) {
    std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "HKEY_CURRENT_USER.reg" || name == "HKEY_CURRENT_USER.reg.lock") << name;
  }
}

// A file edited by hand with a line that cannot be read is read as far as it
// goes, and never written over.
TEST_F(RegistryTest, AHiveWithBadLinesIsReadButNeverWritten) {
  const std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n\"Good\"=dword:00000007\nnonsense\n";
  WriteFile(hivePath, text);
  Key key;
  ASSERT_EQ(Key::Root(HiveId::CurrentUser).Open("K", Access::ReadWrite, key), error::Success);
  std::uint32_t v = 0;
  EXPECT_EQ(key.GetDword("Good", v), error::Success);
  EXPECT_EQ(v, 7u);
  EXPECT_EQ(key.SetDword("Good", 8), error::RegistryCorrupt);
  Key created;
  EXPECT_EQ(Key::Root(HiveId::CurrentUser).Create("New", Access::ReadWrite, created), error::RegistryCorrupt);
  EXPECT_EQ(ReadFile(hivePath), text);
}

TEST_F(RegistryTest, AFileThatIsNoHiveIsNeitherReadNorWritten) {
  const std::string picture("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
  WriteFile(hivePath, picture);
  Key key;
  EXPECT_EQ(Key::Root(HiveId::CurrentUser).Open("K", Access::ReadWrite, key), error::RegistryCorrupt);
  EXPECT_EQ(Key::Root(HiveId::CurrentUser).Create("K", Access::ReadWrite, key), error::RegistryCorrupt);
  EXPECT_EQ(ReadFile(hivePath), picture);
}

TEST_F(RegistryTest, AFolderThatCannotBeMade) {
  WriteFile(temp / "plain-file", "x");
  ScopedEnv blocked("CLANGOR_REGISTRY_DIR", temp / "plain-file/registry");
  Key key;
  EXPECT_EQ(Key::Root(HiveId::CurrentUser).Open("K", Access::ReadWrite, key), error::PathNotFound);
  EXPECT_EQ(Key::Root(HiveId::CurrentUser).Create("K", Access::ReadWrite, key), error::PathNotFound);
}

TEST_F(RegistryTest, AReadOnlyHiveFileStaysAsItIs) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser writes read-only files";
  Open("K").SetDword("V", 1);
  std::string before = ReadFile(hivePath);
  ::chmod(hivePath.c_str(), 0444);
  EXPECT_EQ(Open("K").SetDword("V", 2), error::AccessDenied);
  EXPECT_EQ(ReadFile(hivePath), before);
}

TEST_F(RegistryTest, HivesAreSeparateFiles) {
  Key machine;
  ASSERT_EQ(Key::Root(HiveId::LocalMachine).Create("Software\\Fennix\\OutfitIT", Access::ReadWrite, machine),
            error::Success);
  ASSERT_EQ(machine.SetString("Clangor", "1"), error::Success);
  Key user;
  EXPECT_EQ(Key::Root(HiveId::CurrentUser).Open("Software\\Fennix", Access::Read, user), error::FileNotFound);
  EXPECT_NE(ReadFile(temp / "registry/HKEY_LOCAL_MACHINE.reg").find("[HKEY_LOCAL_MACHINE\\Software\\Fennix\\OutfitIT]"),
            std::string::npos);
}

// A batch writes the file once, at its end; until then the file is as it
// was, while the batch's own keys already see their changes.
TEST_F(RegistryTest, ABatchWritesTheFileOnce) {
  Key key = Open("Shared");
  const std::string before = ReadFile(hivePath);
  {
    HiveBatch batch(key);
    ASSERT_EQ(batch.status(), error::Success);
    Key below;
    ASSERT_EQ(key.Create("Below", Access::ReadWrite, below), error::Success);
    for (std::uint32_t i = 0; i < 20; ++i) ASSERT_EQ(below.SetDword("V" + std::to_string(i), i), error::Success);
    {
      HiveBatch inner(key);  // batches nest: only the outermost writes
      key.SetString("Name", "Eight Bells");
    }
    std::uint32_t v = 0;
    EXPECT_EQ(below.GetDword("V7", v), error::Success);
    EXPECT_EQ(v, 7u);
    EXPECT_EQ(ReadFile(hivePath), before);
    EXPECT_EQ(batch.Commit(), error::Success);
  }
  std::vector<std::string> names;
  Key other;
  ASSERT_EQ(Key::Root(HiveId::CurrentUser).Open("Shared\\Below", Access::Read, other), error::Success);
  other.ValueNames(names);
  EXPECT_EQ(names.size(), 20u);
  std::string name;
  EXPECT_EQ(Open("Shared").GetString("Name", name), error::Success);
  EXPECT_EQ(name, "Eight Bells");
}

TEST_F(RegistryTest, ABatchOverADamagedHiveChangesNothing) {
  const std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n\"Good\"=dword:00000007\n\"Bad\"=dword:\n";
  WriteFile(hivePath, text);
  Key key;
  ASSERT_EQ(Key::Root(HiveId::CurrentUser).Open("K", Access::ReadWrite, key), error::Success);
  HiveBatch batch(key);
  EXPECT_EQ(key.SetDword("Good", 8), error::RegistryCorrupt);
  EXPECT_EQ(batch.Commit(), error::Success);  // nothing gathered, nothing to write
  EXPECT_EQ(ReadFile(hivePath), text);
}

TEST(RegistryFolder, FromTheEnvironment) {
  struct Case {
    const char* registryDir;
    const char* configHome;
    const char* home;
    const char* folder;
  } cases[] = {
      {"/r", "/c", "/h", "/r"},
      {nullptr, "/c", "/h", "/c/orvanta/registry"},
      {"", "/c", "/h", "/c/orvanta/registry"},
      {nullptr, "relative", "/h", "/h/.config/orvanta/registry"},
      {nullptr, nullptr, "/h", "/h/.config/orvanta/registry"},
  };
  for (const Case& c : cases) {
    ScopedEnv r("CLANGOR_REGISTRY_DIR", c.registryDir);
    ScopedEnv x("XDG_CONFIG_HOME", c.configHome);
    ScopedEnv h("HOME", c.home);
    EXPECT_EQ(RegistryFolder(), c.folder);
  }
}

}  // namespace
}  // namespace clangor::registry
