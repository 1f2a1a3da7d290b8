#include <gtest/gtest.h>

#include "shell/framework/registry_key.h"
#include "tests/platform/temp_folder.h"

namespace OvLibrary {
namespace {

using clangor::testing::ReadFile;
using clangor::testing::ScopedEnv;
using clangor::testing::TempFolder;
using clangor::testing::WriteFile;
namespace reg = clangor::registry;

TEST(RegistryException, Texts) {
  struct Case {
    std::int32_t kind;
    std::int32_t code;
    const char* value;
    const char* message;
  } cases[] = {
      {0, 5, "", "Failed to create registry key, error code: 5\nKey: Software\\Orvanta\\Clangor"},
      {1, 2, "", "Failed to open registry key, error code: 2\nKey: Software\\Orvanta\\Clangor"},
      {2, 6, "", "Failed to close registry key, error code: 6\nKey: Software\\Orvanta\\Clangor"},
      {3, 1018, "", "Failed to enumerate registry key, error code: 1018\nKey: Software\\Orvanta\\Clangor"},
      {4, 1015, "Volume",
       "Failed to set registry value, error code: 1015\nKey: Software\\Orvanta\\Clangor\nValue: Volume"},
      {5, 0, "Volume", "Unexpected size for registry value\nKey: Software\\Orvanta\\Clangor\nValue: Volume"},
      {6, 0, "Volume", "Unexpected type for registry value\nKey: Software\\Orvanta\\Clangor\nValue: Volume"},
      {7, 0, "", "Unknown error\nKey: Software\\Orvanta\\Clangor"},
  };
  for (const Case& c : cases) {
    RegistryException e(c.kind, c.code, "Software\\Orvanta\\Clangor", c.value);
    EXPECT_EQ(e.Message(), c.message);
    EXPECT_STREQ(e.what(), c.message);
    EXPECT_EQ(e.HasCode(), c.code != 0);
    const LibraryException& base = e;  // the message comes through the base too
    EXPECT_EQ(base.Message(), c.message);
  }
  EXPECT_EQ(LibraryException(0, 0).Message(), "Unknown error");
  EXPECT_EQ(LibraryException(0, -3).Message(), "Unknown error, error code: -3");
}

class RegistryKeyTest : public ::testing::Test {
 protected:
  TempFolder temp;
  ScopedEnv registryDir{"CLANGOR_REGISTRY_DIR", temp / "registry"};
  std::string hivePath = temp / "registry/HKEY_CURRENT_USER.reg";
  reg::Key root = reg::Key::Root(reg::HiveId::CurrentUser);

  void WriteHive(const std::string& values) {
    WriteFile(hivePath, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Test]\n" + values);
  }
};

TEST_F(RegistryKeyTest, OpeningAMissingKeyThrows) {
  RegistryKey key("Software\\Test");
  try {
    key.Open(root, false);
    FAIL() << "no exception";
  } catch (const RegistryException& e) {
    EXPECT_EQ(e.Kind(), RegistryException::OpenFailed);
    EXPECT_EQ(e.Code(), 2);
    EXPECT_EQ(e.Message(), "Failed to open registry key, error code: 2\nKey: Software\\Test");
  }
  EXPECT_FALSE(key.IsOpen());
}

TEST_F(RegistryKeyTest, CreateSetsCreatedOnlyForANewKey) {
  RegistryKey first("Software\\Test");
  first.Open(root, true);
  EXPECT_TRUE(first.created());
  first.Open(root, false);  // already open: left as it is
  EXPECT_TRUE(first.created());
  RegistryKey second("Software\\Test");
  second.Open(root, true);
  EXPECT_FALSE(second.created());

  RegistryKey child("XII");
  child.Open(second, true);
  EXPECT_EQ(first.SubKeyNames(), std::vector<std::string>{"XII"});
  first.Close();
  first.Close();  // closing a closed key does nothing
}

TEST_F(RegistryKeyTest, WritesDwordsAndStringsWithTheirZero) {
  RegistryKey key("Software\\Test");
  key.Open(root, true);
  key.WriteInt("Volume", -1);
  key.WriteString("TowerName", "Eight Bells");
  reg::ValueType type;
  std::uint32_t size;
  ASSERT_EQ(key.handle().QueryValue("TowerName", type, size), 0);
  EXPECT_EQ(type, reg::ValueType::String);
  EXPECT_EQ(size, 12u);
  std::int32_t volume = 0;
  EXPECT_EQ(key.ReadInt("Volume", volume), 0);
  EXPECT_EQ(volume, -1);
  EXPECT_NE(ReadFile(hivePath).find("\"Volume\"=dword:ffffffff\n\"TowerName\"=\"Eight Bells\"\n"), std::string::npos);
}

// What ReadInt and ReadString make of each value they may meet.
TEST_F(RegistryKeyTest, ReadingRules) {
  WriteHive(
      "\"Dword\"=dword:0000012c\n"
      "\"Text\"=\"Cambridge\"\n"
      "\"EmptyText\"=\"\"\n"
      "\"ShortDword\"=hex(4):2c,01\n"
      "\"Four\"=\"abc\"\n"
      "\"Binary4\"=hex:01,02,03,04\n"
      "\"Binary1\"=hex:01\n");
  struct Case {
    const char* name;
    bool asInt;
    std::int32_t status;  // returned, when nothing is thrown
    int thrownKind;       // -1: none
    const char* result;   // the target afterwards
  } cases[] = {
      {"Dword", true, 0, -1, "300"},
      {"Missing", true, 2, -1, "7"},
      {"Text", true, 0, RegistryException::UnexpectedType, "7"},
      {"Four", true, 0, RegistryException::UnexpectedType, "7"},  // right size, wrong type
      {"Binary4", true, 0, RegistryException::UnexpectedType, "7"},
      {"ShortDword", true, 0, RegistryException::UnexpectedSize, "7"},
      {"Text", false, 0, -1, "Cambridge"},
      {"Missing", false, 2, -1, "old"},
      {"EmptyText", false, 0, -1, "old"},  // just the terminating zero: nothing to take
      {"Binary1", false, 0, -1, "old"},
      {"Dword", false, 0, RegistryException::UnexpectedType, "old"},
  };
  RegistryKey key("Software\\Test");
  key.Open(root, false);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::int32_t number = 7;
    std::string text = "old";
    int thrown = -1;
    std::int32_t status = -1;
    try {
      status = c.asInt ? key.ReadInt(c.name, number) : key.ReadString(c.name, text);
    } catch (const RegistryException& e) {
      thrown = e.Kind();
      EXPECT_EQ(e.ValueName(), c.name);
      EXPECT_EQ(e.KeyName(), "Software\\Test");
    }
    EXPECT_EQ(thrown, c.thrownKind);
    if (thrown < 0) {
      EXPECT_EQ(status, c.status);
    }
    EXPECT_EQ(c.asInt ? std::to_string(number) : text, c.result);
  }
}

TEST_F(RegistryKeyTest, AFailedWriteThrowsAndLeavesTheFile) {
  WriteHive("\"Volume\"=dword:00000001\nnot a registry line\n");
  const std::string before = ReadFile(hivePath);
  RegistryKey key("Software\\Test");
  key.Open(root, false);
  try {
    key.WriteInt("Volume", 2);
    FAIL() << "no exception";
  } catch (const RegistryException& e) {
    EXPECT_EQ(e.Kind(), RegistryException::SetValueFailed);
    EXPECT_EQ(e.Code(), reg::error::RegistryCorrupt);
    EXPECT_EQ(e.ValueName(), "Volume");
  }
  EXPECT_EQ(ReadFile(hivePath), before);
}

}  // namespace
}  // namespace OvLibrary
