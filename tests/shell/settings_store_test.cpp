#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/registry.h"
#include "shell/settings_store.h"
#include "tests/platform/temp_folder.h"

namespace clangor {
namespace {

using testing::ReadFile;
using testing::ScopedEnv;
using testing::TempFolder;
using testing::WriteFile;

constexpr const char* MainSection = "[HKEY_CURRENT_USER\\Software\\Orvanta\\Clangor]\n";

class SettingsStoreTest : public ::testing::Test {
 protected:
  TempFolder temp;
  ScopedEnv registryDir{"CLANGOR_REGISTRY_DIR", temp / "registry"};
  ScopedEnv appData{"CLANGOR_COMMON_APPDATA", temp / "share"};
  std::string hivePath = temp / "registry/HKEY_CURRENT_USER.reg";

  void WriteHive(const std::string& sections) { WriteFile(hivePath, "REGEDIT4\n\n" + sections); }
  std::string Hive() { return ReadFile(hivePath); }
  static std::size_t Count(const std::string& text, std::string_view what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }
};

TowerDefaults Tower(const char* name) {
  TowerDefaults tower;
  tower.name = name;
  return tower;
}

TowerDefaults EightBells() {
  TowerDefaults tower;
  tower.name = "Eight Bells";
  tower.PealMins = 170;
  tower.SemitoneShift = "-2";
  tower.SoundsFile = "Ring A";
  tower.HalfMuffled = 1;
  tower.WholePullChanges = 1;
  tower.RememberMufflesAndWholePulls = 1;
  return tower;
}

TEST(SettingsTable, NamesAreUniqueAndIndexesLine) {
  std::set<std::string_view> names;
  for (const IntSetting& s : IntSettings) EXPECT_TRUE(names.insert(s.name).second) << s.name;
  EXPECT_EQ(names.count("TowerName"), 0u);
  EXPECT_EQ(IntSettings[setting::ClientLeft].name, "ClientLeft");
  EXPECT_EQ(IntSettings[setting::RowsLimit].defaultValue, 6000);
  EXPECT_EQ(IntSettings[setting::Volume].name, "Volume");
  EXPECT_EQ(IntSettings[setting::OwnVolumeMax].name, "OwnVolumeMax");
}

TEST_F(SettingsStoreTest, FirstStartTakesTheDefaultsAndWritesThemAtExit) {
  {
    SettingsStore store;
    EXPECT_EQ(SettingsStore::Current(), &store);
    EXPECT_FALSE(store.writeDisabled());
    EXPECT_EQ(store.GetString("TowerName"), "Twelve Bells");
    EXPECT_EQ(store.GetInt(setting::ClientWidth), 675);
    EXPECT_EQ(store.GetInt(setting::RowsLimit), 6000);
    EXPECT_EQ(store.GetInt(setting::ActionAtRounds), 2);
    EXPECT_EQ(store.GetInt(setting::Volume), 0);
    for (int i = 0; i < IntSettingCount; ++i) EXPECT_EQ(store.GetInt(i), IntSettings[i].defaultValue) << i;
    // The key is made at once; the values come at exit.
    EXPECT_NE(Hive().find(MainSection), std::string::npos);
    EXPECT_EQ(Count(Hive(), "="), 0u);
  }
  EXPECT_EQ(SettingsStore::Current(), nullptr);
  const std::string hive = Hive();
  EXPECT_EQ(Count(hive, "=dword:"), 81u);
  EXPECT_NE(hive.find(std::string(MainSection) +
                      "\"TowerName\"=\"Twelve Bells\"\n"
                      "\"ClientLeft\"=dword:00000015\n"
                      "\"ClientTop\"=dword:00000038\n"),
            std::string::npos);
  EXPECT_NE(hive.find("\"RowsLimit\"=dword:00001770\n"), std::string::npos);
  EXPECT_NE(hive.find("\"OwnVolumeMax\"=dword:00000000\n\n"), std::string::npos);
}

TEST_F(SettingsStoreTest, ChangesLastFromOneRunToTheNext) {
  {
    SettingsStore store;
    store.SetString("TowerName", "Eight Bells");
    store.SetInt(setting::ClientLeft, -40);  // a window on a screen to the left
    store.SetInt(setting::Volume, 55);
    SettingsSource& source = store;  // as the ringing model sees it
    source.SetInt(setting::KeepGoingCount, 3);
  }
  SettingsStore store;
  EXPECT_EQ(store.GetString("TowerName"), "Eight Bells");
  EXPECT_EQ(store.GetInt(setting::ClientLeft), -40);
  EXPECT_EQ(store.GetInt(setting::Volume), 55);
  EXPECT_EQ(store.GetInt(setting::KeepGoingCount), 3);
  EXPECT_EQ(store.GetInt(setting::ClientTop), 56);
}

TEST_F(SettingsStoreTest, MissingValuesKeepTheirDefaults) {
  WriteHive(std::string(MainSection) + "\"ClientTop\"=dword:00000064\n");
  SettingsStore store;
  EXPECT_FALSE(store.writeDisabled());
  EXPECT_EQ(store.GetString("TowerName"), "Twelve Bells");
  EXPECT_EQ(store.GetInt(setting::ClientTop), 100);
  EXPECT_EQ(store.GetInt(setting::ClientLeft), 21);
}

// Volume, near the end of the table, stored as text: what was read before it
// stands, everything after it keeps its default, and nothing is written.
TEST_F(SettingsStoreTest, AValueOfTheWrongTypeStopsTheReadingAndAllWriting) {
  WriteHive(std::string(MainSection) +
            "\"TowerName\"=\"Eight Bells\"\n"
            "\"ClientLeft\"=dword:00000005\n"
            "\"HighlightBriefly\"=dword:00000001\n"
            "\"Volume\"=\"loud\"\n"
            "\"OwnVolumeMax\"=dword:00000001\n");
  const std::string before = Hive();
  {
    SettingsStore store;
    EXPECT_EQ(store.GetString("TowerName"), "Eight Bells");
    EXPECT_EQ(store.GetInt(setting::ClientLeft), 5);
    EXPECT_EQ(store.GetInt(setting::HighlightBriefly), 1);
    EXPECT_EQ(store.GetInt(setting::Volume), 0);
    EXPECT_EQ(store.GetInt(setting::OwnVolumeMax), 0);
    ASSERT_TRUE(store.writeDisabled());
    ASSERT_TRUE(store.lastError().has_value());
    EXPECT_EQ(store.lastError()->Message(),
              "Unexpected type for registry value\nKey: Software\\Orvanta\\Clangor\nValue: Volume");
    store.SetInt(setting::ClientLeft, 99);
    TowerDefaults tower = Tower("Eight Bells");
    store.LoadTowerSettings(tower);
    store.SetTowerInt(tower_setting::PealMins, 200);
    store.SaveTowerSettings(tower);
  }
  EXPECT_EQ(Hive(), before);
}

// Hand-edited hive files the store must live with: it never crashes, and
// what the user had is never written over with defaults.
TEST_F(SettingsStoreTest, DamagedHiveFilesAreLeftAsTheyAre) {
  struct Case {
    const char* what;
    std::string file;
    bool readsTowerName;  // the values before the damage are read
  } cases[] = {
      {"unknown line", std::string("REGEDIT4\n") + MainSection + "\"TowerName\"=\"Eight Bells\"\nVolume is 5\n", true},
      {"dword out of range", std::string("REGEDIT4\n") + MainSection + "\"TowerName\"=\"Eight Bells\"\n\"Volume\"=dword:123456789\n", true},
      {"truncated", std::string("REGEDIT4\n") + MainSection + "\"TowerName\"=\"Eight Bells\"\n\"ClientLeft\"=dwo", true},
      {"truncated section", std::string("REGEDIT4\n") + MainSection + "\"TowerName\"=\"Eight Bells\"\n[HKEY_CURRENT_USER\\Softw", true},
      {"not text", std::string("\x7f" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0", 16), false},
      {"another format", "Windows Registry Editor Version 5.00\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(hivePath, c.file);
    {
      SettingsStore store;
      EXPECT_EQ(store.GetString("TowerName"), c.readsTowerName ? "Eight Bells" : "Twelve Bells");
      EXPECT_EQ(store.GetInt(setting::Volume), 0);
      if (!c.readsTowerName) {
        EXPECT_TRUE(store.writeDisabled());
      }
      store.SetInt(setting::Volume, 10);
      TowerDefaults tower = Tower("Six Bells");
      store.LoadTowerSettings(tower);  // a new tower: its own values, its key not made
      EXPECT_EQ(store.GetTowerInt(tower_setting::PealMins), 180);
      EXPECT_TRUE(store.writeDisabled());
      store.SaveTowerSettings(tower);
    }
    EXPECT_EQ(ReadFile(hivePath), c.file);
  }
}

TEST_F(SettingsStoreTest, ARegistryFolderThatCannotBeMade) {
  WriteFile(temp / "plain-file", "x");
  ScopedEnv blocked("CLANGOR_REGISTRY_DIR", temp / "plain-file/registry");
  SettingsStore store;
  EXPECT_TRUE(store.writeDisabled());
  EXPECT_EQ(store.GetInt(setting::ClientWidth), 675);
  ASSERT_TRUE(store.lastError().has_value());
  EXPECT_EQ(store.lastError()->Message(),
            "Failed to create registry key, error code: 3\nKey: Software\\Orvanta\\Clangor");
}

TEST_F(SettingsStoreTest, AnOutOfRangeIndexIsHarmless) {
  SettingsStore store;
  for (int index : {-1, IntSettingCount, 1000}) {
    store.SetInt(index, 5);
    EXPECT_EQ(store.GetInt(index), 0);
  }
  store.SetTowerInt(4, 1);
  EXPECT_EQ(store.GetTowerInt(4), 0);
  store.SetTowerString(2, "x");
  EXPECT_EQ(store.GetTowerString(2), "");
  store.SetString("Unknown", "x");
  EXPECT_EQ(store.GetString("Unknown"), "");
}

TEST_F(SettingsStoreTest, ATowerLoadedForTheFirstTimeTakesItsOwnValues) {
  const TowerDefaults eight = EightBells();
  {
    SettingsStore store;
    store.LoadTowerSettings(eight);
    EXPECT_EQ(store.GetTowerInt(tower_setting::PealMins), 170);
    EXPECT_EQ(store.GetTowerString(tower_string::SemitoneShift), "-2");
    EXPECT_EQ(store.GetTowerString(tower_string::SoundsFile), "Ring A");
    EXPECT_EQ(store.GetTowerInt(tower_setting::Clappers), 1);
    EXPECT_EQ(store.GetTowerInt(tower_setting::WholePullChanges), 1);
    EXPECT_EQ(store.GetTowerInt(tower_setting::Remember_CWPC), 1);
    // Changed while loaded, written under its own key when it goes.
    store.SetTowerInt(tower_setting::PealMins, 210);
    store.SetTowerString(tower_string::SoundsFile, "Ring B");
    store.SetString("TowerName", eight.name);
    store.SaveTowerSettings(eight);

    TowerDefaults twelve = Tower("Twelve Bells");
    store.LoadTowerSettings(twelve);
    EXPECT_EQ(store.GetTowerInt(tower_setting::PealMins), 180);
    EXPECT_EQ(store.GetTowerString(tower_string::SoundsFile), "");
    store.SaveTowerSettings(twelve);
  }
  EXPECT_NE(Hive().find("[HKEY_CURRENT_USER\\Software\\Orvanta\\Clangor\\XII\\Eight Bells]\n"
                        "\"SemitoneShift\"=\"-2\"\n"
                        "\"SoundsFile\"=\"Ring B\"\n"
                        "\"PealMins\"=dword:000000d2\n"
                        "\"Clappers\"=dword:00000001\n"
                        "\"WholePullChanges\"=dword:00000001\n"
                        "\"Remember_CWPC\"=dword:00000001\n"),
            std::string::npos)
      << Hive();

  SettingsStore store;
  EXPECT_EQ(store.GetString("TowerName"), "Eight Bells");
  TowerDefaults changedDefinition = eight;
  changedDefinition.PealMins = 190;  // the saved value wins over the tower's own
  store.LoadTowerSettings(changedDefinition);
  EXPECT_EQ(store.GetTowerInt(tower_setting::PealMins), 210);
  EXPECT_EQ(store.GetTowerString(tower_string::SoundsFile), "Ring B");
}

// A tower key that lacks some values: those come from the tower itself, not
// from the tower loaded before it.
TEST_F(SettingsStoreTest, ValuesMissingFromATowerKeyComeFromTheTower) {
  WriteHive("[HKEY_CURRENT_USER\\Software\\Orvanta\\Clangor\\XII\\Eight Bells]\n\"PealMins\"=dword:000000c8\n");
  SettingsStore store;
  store.LoadTowerSettings(TowerDefaults{"Twelve Bells", 230, "3", "Old", 1, 1, 1});
  store.LoadTowerSettings(EightBells());
  EXPECT_EQ(store.GetTowerInt(tower_setting::PealMins), 200);
  EXPECT_EQ(store.GetTowerString(tower_string::SemitoneShift), "-2");
  EXPECT_EQ(store.GetTowerString(tower_string::SoundsFile), "Ring A");
  EXPECT_FALSE(store.writeDisabled());
}

TEST_F(SettingsStoreTest, ATowerValueOfTheWrongTypeStopsItsReading) {
  WriteHive("[HKEY_CURRENT_USER\\Software\\Orvanta\\Clangor\\XII\\Eight Bells]\n"
            "\"SemitoneShift\"=\"1\"\n"
            "\"PealMins\"=dword:000000c8\n"
            "\"Clappers\"=\"yes\"\n"
            "\"WholePullChanges\"=dword:00000000\n");
  const std::string before = Hive();
  {
    SettingsStore store;
    store.LoadTowerSettings(EightBells());
    EXPECT_EQ(store.GetTowerString(tower_string::SemitoneShift), "1");
    EXPECT_EQ(store.GetTowerInt(tower_setting::PealMins), 200);
    EXPECT_EQ(store.GetTowerInt(tower_setting::WholePullChanges), 1);  // not reached: the tower's own
    EXPECT_TRUE(store.writeDisabled());
    EXPECT_EQ(store.lastError()->ValueName(), "Clappers");
    store.SaveTowerSettings(EightBells());
  }
  EXPECT_EQ(Hive().find("\"ClientLeft\""), std::string::npos);  // nothing written at exit
  EXPECT_NE(Hive().find("\"WholePullChanges\"=dword:00000000"), std::string::npos);
}

// A value outside its range reads as the tower's own (per-tower) or the
// default, and is written back so; values with no range are kept as stored.
TEST_F(SettingsStoreTest, ValuesOutOfRangeReadIntoRangeAndAreWrittenBackSo) {
  WriteHive(std::string(MainSection) +
            "\"ClientLeft\"=dword:ffffffd8\n"
            "\"ActionAtRounds\"=dword:00000009\n"
            "\"MaxTimeFactor\"=dword:00000063\n"
            "\"Volume\"=dword:00002711\n\n"
            "[HKEY_CURRENT_USER\\Software\\Orvanta\\Clangor\\XII\\Eight Bells]\n"
            "\"SemitoneShift\"=\"500\"\n"
            "\"PealMins\"=dword:00000064\n"
            "\"Clappers\"=dword:00000007\n\n"
            "[HKEY_CURRENT_USER\\Software\\Orvanta\\Clangor\\XII\\Six Bells]\n"
            "\"SemitoneShift\"=\"+3\"\n"
            "\"PealMins\"=dword:00000000\n");
  {
    SettingsStore store;
    EXPECT_EQ(store.GetInt(setting::ClientLeft), -40);
    EXPECT_EQ(store.GetInt(setting::ActionAtRounds), 2);
    EXPECT_EQ(store.GetInt(setting::MaxTimeFactor), 12);
    EXPECT_EQ(store.GetInt(setting::Volume), 0);
    store.LoadTowerSettings(EightBells());
    EXPECT_EQ(store.GetTowerInt(tower_setting::PealMins), 170);  // the tower's own
    EXPECT_EQ(store.GetTowerString(tower_string::SemitoneShift), "-2");
    EXPECT_EQ(store.GetTowerInt(tower_setting::Clappers), 1);
    store.SaveTowerSettings(EightBells());
    // A tower whose own values are out of range too: the defaults.
    TowerDefaults six{"Six Bells", 100, "13", "", 0, 0, 0};
    store.LoadTowerSettings(six);
    EXPECT_EQ(store.GetTowerInt(tower_setting::PealMins), 180);
    EXPECT_EQ(store.GetTowerString(tower_string::SemitoneShift), "+3");
    store.SaveTowerSettings(six);
    store.LoadTowerSettings(TowerDefaults{"Ten Bells", 260, "-40", "", 0, 0, 0});  // a new key
    EXPECT_EQ(store.GetTowerInt(tower_setting::PealMins), 180);
    EXPECT_EQ(store.GetTowerString(tower_string::SemitoneShift), "0");
  }
  const std::string hive = Hive();
  EXPECT_NE(hive.find("\"ActionAtRounds\"=dword:00000002\n"), std::string::npos);
  EXPECT_NE(hive.find("\"MaxTimeFactor\"=dword:0000000c\n"), std::string::npos);
  EXPECT_NE(hive.find("\"PealMins\"=dword:000000aa\n"), std::string::npos);
  EXPECT_NE(hive.find("\"PealMins\"=dword:000000b4\n"), std::string::npos);
  EXPECT_EQ(hive.find("\"PealMins\"=dword:00000064\n"), std::string::npos);
  EXPECT_EQ(hive.find("\"SemitoneShift\"=\"500\""), std::string::npos);
}

// A store opened only to read leaves the hive as it was, byte for byte: no
// values written, no key made for a tower seen for the first time.
TEST_F(SettingsStoreTest, AReadOnlyStoreNeverWrites) {
  WriteHive(std::string(MainSection) + "\"TowerName\"=\"Eight Bells\"\n\"KeepGoingCount\"=dword:00000005\n");
  const std::string before = Hive();
  {
    SettingsStore store(SettingsStore::Access::ReadOnly);
    EXPECT_EQ(store.GetString("TowerName"), "Eight Bells");
    EXPECT_EQ(store.GetInt(setting::KeepGoingCount), 5);
    store.SetInt(setting::KeepGoingCount, 0);
    store.SetString("TowerName", "Six Bells");
    store.LoadTowerSettings(EightBells());
    EXPECT_EQ(store.GetTowerInt(tower_setting::PealMins), 170);
    store.SetTowerInt(tower_setting::PealMins, 160);
    store.SaveTowerSettings(EightBells());
    EXPECT_FALSE(store.writeDisabled());
  }
  EXPECT_EQ(Hive(), before);
  // Without any hive there is nothing to read, and none is made.
  std::filesystem::remove(hivePath);
  { SettingsStore store(SettingsStore::Access::ReadOnly); }
  EXPECT_FALSE(std::filesystem::exists(hivePath));
}

TEST_F(SettingsStoreTest, AppDataPath) {
  const std::string base = temp / "share/Orvanta/Clangor/";
  EXPECT_EQ(SettingsStore::AppDataPath(""), base);  // ends in the separator after Clangor
  EXPECT_EQ(SettingsStore::AppDataPath("Compendium/XII/"), base + "Compendium/XII/");
  EXPECT_EQ(SettingsStore::AppDataPath("Help/clangor_help/index.html"), base + "Help/clangor_help/index.html");
  ScopedEnv slash("CLANGOR_COMMON_APPDATA", temp / "share/");
  EXPECT_EQ(SettingsStore::AppDataPath(""), base);
}

}  // namespace
}  // namespace clangor
