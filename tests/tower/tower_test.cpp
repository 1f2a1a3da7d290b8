#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "tests/tower/tower_fixture.h"
#include "tower/tower.h"
#include "tower/tower_text.h"

namespace clangor {
namespace {

using testing::TowerFolderTest;

const char* kTowerText =
    "; a comment line outside any section\n"
    "[Tower]\n"
    "  ImagesTower   =  Old   St  Mary  \n"
    "RAM=64\n"
    "PealMins=192\n"
    "SoundsFile=Open\n"
    "TenorKey=E flat\n"
    "SemitoneShift=-2\n"
    "HalfMuffled=1\n"
    "WholePullChanges=\n"
    "Colour=blue\n"
    "\n"
    "[Rings]\n"
    "Back Six=UUUUUU\n"
    "Front Three=UUU\n"
    "\n"
    "[Other Rings]\n"
    "Odd=U-U-\n"
    "\n"
    "[Bell Names]\n"
    " 1 =Treble\n"
    "2=Gabriel\n"
    "0=Nobody\n"
    "19=Nobody\n"
    "no equals sign here\n"
    "\n"
    "[Set Delays]\n"
    "2=150\n"
    "4=90\n";

const char* kControlText =
    "[Base Image]\n"
    "Width=800\n"
    "Height = 600\n"
    "MinWidth=\n"
    "SurpriseX=12\n"
    "SurpriseH=7x\n"
    "\n"
    "[1]\n"
    "Period=2.1\n"
    "Empty=\n"
    "[0]\n"
    "Lost=0\n"
    "[5]\n"
    "Lost=5\n"
    "[2]\n"
    "Period = 2.2\n"
    "p0=-18500\n";

const char* kSoundSet =
    "[Recordings]\n"
    "Source=Old St Mary\n"
    "\n"
    "[1]\n"
    "OpenFile=t1.wav\n"
    "MuffledFile=m1.wav\n"
    "\n"
    "[2]\n"
    "OpenFile=t2.wav\n"
    "StrikingCorrection=\n"
    "\n"
    "[4]\n"
    "OpenFile=t4.wav\n";

class TowerLoadTest : public TowerFolderTest {
 protected:
  void WriteWholeTower() {
    WriteFile("tower.txt", kTowerText);
    WriteTable(4, 1, std::vector<double>(4 * 4 * 5460, 0.5));
    WriteFile("control.txt", kControlText);
    WriteFile("sounds/Open.txt", kSoundSet);
    WriteFile("sounds/Quiet.TXT", "[Recordings]\nSource=Quiet\n");
    WriteFile("sounds/readme.md", "");
    std::filesystem::create_directories(TowerFolder() / "sounds" / "folder.txt");
  }
};

TEST_F(TowerLoadTest, LoadsEveryFileInOrder) {
  WriteWholeTower();
  SettingsStore settings;
  Tower tower("Test", settings);

  EXPECT_EQ(tower.imagesTower(), "Old St Mary");
  EXPECT_EQ(tower.ram(), 64);
  EXPECT_EQ(tower.pealMins(), 192);
  EXPECT_EQ(tower.soundsFile(), "Open");
  EXPECT_EQ(tower.tenorKey(), "E flat");
  EXPECT_EQ(tower.semitoneShift(), "-2");
  EXPECT_EQ(tower.halfMuffled(), 1);
  EXPECT_EQ(tower.wholePullChanges(), 0);  // an empty value is not taken

  ASSERT_EQ(tower.rings().size(), 2u);
  EXPECT_EQ(tower.ring(0, true), RingEntry("Back Six", "UUUUUU"));
  EXPECT_EQ(tower.ring(1, true), RingEntry("Front Three", "UUU"));
  EXPECT_EQ(tower.ring(2, true), RingEntry());
  EXPECT_EQ(tower.ring(-1, true), RingEntry());
  EXPECT_EQ(tower.ring(0, false), RingEntry("Odd", "U-U-"));

  EXPECT_EQ(tower.bellCount(), 4);
  EXPECT_EQ(tower.controlVersion(), 1);
  EXPECT_EQ(tower.bellProperty(0, "Name"), "Treble");
  EXPECT_EQ(tower.bellProperty(1, "Name"), "Gabriel");
  EXPECT_EQ(tower.bellProperty(1, "SetDelay"), "150");
  EXPECT_EQ(tower.bellProperty(3, "SetDelay"), "90");

  EXPECT_EQ(tower.baseWidth(), 800);
  EXPECT_EQ(tower.baseHeight(), 600);
  EXPECT_EQ(tower.minWidth(), 0);
  EXPECT_EQ(tower.surpriseX(), 12);
  EXPECT_EQ(tower.surpriseH(), 7);
  EXPECT_EQ(tower.bellProperty(0, "Period"), "2.1");
  EXPECT_FALSE(tower.bell(0).Has("Empty"));
  EXPECT_EQ(tower.bellProperty(1, "Period"), "2.2");
  EXPECT_EQ(tower.bellProperty(1, "p0"), "-18500");
  for (int bell = 0; bell < 18; ++bell) EXPECT_FALSE(tower.bell(bell).Has("Lost")) << bell;

  // The sound set: "[1]", "[2]", "[4]" stores bells 1 and 2 only.
  EXPECT_TRUE(tower.hasMuffledSounds());
  EXPECT_EQ(tower.recordingSource(), "Old St Mary");
  EXPECT_EQ(tower.bellProperty(0, "MuffledFile"), "m1.wav");
  EXPECT_EQ(tower.bellProperty(1, "OpenFile"), "t2.wav");
  EXPECT_TRUE(tower.bell(1).Has("StrikingCorrection"));  // kept even when empty
  EXPECT_EQ(tower.bellProperty(3, "OpenFile"), "");

  EXPECT_EQ(tower.soundSets(), (std::vector<std::string>{"Open.txt", "Quiet.TXT"}));
  EXPECT_EQ(tower.soundSet(1), "Quiet.TXT");
  EXPECT_EQ(tower.soundSet(2), "");

  // Look-ups outside the bells in use, or with an empty key, give nothing.
  EXPECT_EQ(tower.bellProperty(4, "Name"), "");
  EXPECT_EQ(tower.bellProperty(-1, "Name"), "");
  EXPECT_EQ(tower.bellProperty(0, ""), "");
}

TEST_F(TowerLoadTest, SavedSettingsChooseTheSoundSetAndAreSavedWithTheTowerName) {
  WriteWholeTower();
  SettingsStore settings;
  {
    // Loaded for the first time: the tower's own values become its settings.
    Tower tower("Test", settings);
    EXPECT_EQ(Tower::Current(), &tower);
    EXPECT_EQ(settings.GetTowerInt(tower_setting::PealMins), 192);
    EXPECT_EQ(settings.GetTowerInt(tower_setting::Clappers), 1);
    EXPECT_EQ(settings.GetTowerString(tower_string::SemitoneShift), "-2");
    EXPECT_EQ(settings.GetTowerString(tower_string::SoundsFile), "Open");
    EXPECT_EQ(tower.recordingSource(), "Old St Mary");
    settings.SetTowerString(tower_string::SoundsFile, "Quiet");
    settings.SetTowerInt(tower_setting::PealMins, 200);
  }
  EXPECT_EQ(Tower::Current(), nullptr);
  EXPECT_EQ(settings.GetString(TowerNameSetting), "Test");

  // Loaded again: the saved settings stand, and choose the sound set.
  Tower tower("Test", settings);
  EXPECT_EQ(settings.GetTowerInt(tower_setting::PealMins), 200);
  EXPECT_EQ(tower.recordingSource(), "Quiet");
  EXPECT_EQ(tower.bellProperty(0, "OpenFile"), "");

  // Choosing another set and reloading replaces every sound key.
  settings.SetTowerString(tower_string::SoundsFile, "Open");
  tower.reloadSoundSet();
  EXPECT_EQ(tower.recordingSource(), "Old St Mary");
  EXPECT_EQ(tower.bellProperty(0, "OpenFile"), "t1.wav");
  settings.SetTowerString(tower_string::SoundsFile, "Missing");
  tower.reloadSoundSet();
  EXPECT_EQ(tower.recordingSource(), "");
  EXPECT_EQ(tower.bellProperty(0, "OpenFile"), "");
  EXPECT_EQ(tower.bellProperty(1, "StrikingCorrection"), "");
  EXPECT_EQ(tower.bellProperty(0, "Period"), "2.1");  // not a sound key
}

TEST_F(TowerLoadTest, WithoutRamOnlyTheTowerSectionIsRead) {
  std::string text = kTowerText;
  text.erase(text.find("RAM=64\n"), 7);
  WriteFile("tower.txt", text);
  WriteTable(2, 1, {});
  SettingsStore settings;
  Tower tower("Test", settings);
  EXPECT_EQ(tower.pealMins(), 192);
  EXPECT_TRUE(tower.rings().empty());
  EXPECT_EQ(tower.bellProperty(0, "Name"), "");
}

TEST_F(TowerLoadTest, AWrongHeaderEndsTheFile) {
  const struct {
    const char* what;
    std::string towerText;
    int pealMins;
    std::size_t rings;
  } cases[] = {
      {"trailing blank in the header", "[Tower] \nRAM=1\nPealMins=200\n\n[Rings]\nA=U\n", 180, 0},
      {"sections out of order", "[Tower]\nRAM=1\nPealMins=200\n\n[Other Rings]\nA=U\n\n[Rings]\nB=U\n",
       200, 0},
      {"over-long line ends the file",
       "[Tower]\nRAM=1\nPealMins=200\n\n[Rings]\nA=U\nB=" + std::string(298, 'U') + "\nC=U\n", 200, 1},
      {"a line of 299 characters is read",
       "[Tower]\nRAM=1\n\n[Rings]\nA=" + std::string(297, 'U') + "\r\nC=U\n", 180, 2},
      {"no sections at all", "RAM=1\nPealMins=200\n", 180, 0},
  };
  for (const auto& c : cases) {
    WriteFile("tower.txt", c.towerText);
    SettingsStore settings;
    Tower tower("Test", settings);
    EXPECT_EQ(tower.pealMins(), c.pealMins) << c.what;
    EXPECT_EQ(tower.rings().size(), c.rings) << c.what;
  }
}

TEST_F(TowerLoadTest, ControlTableHeaderDecidesTheBells) {
  const struct {
    const char* what;
    std::int32_t count, version;
    std::size_t values;
    int bellCount;
  } cases[] = {
      {"good", 3, 1, 3 * 3 * 5460, 3},
      {"short file reads zeros", 3, 1, 10, 3},
      {"no bells", 0, 1, 0, 0},
      {"nineteen bells", 19, 1, 0, 0},
      {"negative count", -5, 1, 0, 0},
      {"version 2", 3, 2, 3 * 3 * 5460, 0},
  };
  for (const auto& c : cases) {
    std::vector<double> values(c.values);
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<double>(i);
    WriteTable(c.count, c.version, values);
    WriteFile("control.txt", "[Base Image]\n\n[1]\nPeriod=2\n[3]\nPeriod=3\n");
    SettingsStore settings;
    Tower tower("Test", settings);
    EXPECT_EQ(tower.bellCount(), c.bellCount) << c.what;
    // control.txt keeps bells up to the count only.
    EXPECT_EQ(tower.bell(2).Has("Period"), c.bellCount >= 3) << c.what;
    if (c.bellCount == 0) {
      EXPECT_TRUE(tower.controlTable().values.empty()) << c.what;
      continue;
    }
    ASSERT_EQ(tower.controlTable().values.size(), 3u * 3 * 5460) << c.what;
    EXPECT_EQ(tower.controlTable().values[5], 5.0) << c.what;
    EXPECT_EQ(tower.controlTable().values[3 * 3 * 5460 - 1], c.values == 10 ? 0.0 : 3 * 3 * 5460 - 1)
        << c.what;
  }
}

TEST_F(TowerLoadTest, ControlRowsAreFoundByBellRingingBellsAndSpeed) {
  std::vector<double> values(4 * 4 * 5460);
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<double>(i);
  WriteTable(4, 1, values);
  SettingsStore settings;
  Tower tower("Test", settings);
  const ControlTable& table = tower.controlTable();
  const struct {
    int bell, ringing, speed;
    long index;  // -1: no row
  } cases[] = {
      {0, 2, 150, 0},
      {0, 2, 151, 60},
      {1, 3, 200, 3 * 1 * 5460 + (91 + 50) * 60},
      {3, 4, 240, 3 * 3 * 5460 + (2 * 91 + 90) * 60},
      {0, 1, 180, -1},
      {0, 5, 180, -1},
      {4, 2, 180, -1},
      {0, 2, 149, -1},
      {0, 2, 241, -1},
  };
  for (const auto& c : cases) {
    const double* row = table.Row(c.bell, c.ringing, c.speed);
    if (c.index < 0) {
      EXPECT_EQ(row, nullptr) << c.bell << " " << c.ringing << " " << c.speed;
    } else {
      ASSERT_NE(row, nullptr);
      EXPECT_EQ(row[0], static_cast<double>(c.index));
    }
  }
}

TEST_F(TowerLoadTest, AMissingTowerLoadsItsDefaults) {
  SettingsStore settings;
  Tower tower("Nowhere", settings);
  EXPECT_EQ(tower.imagesTower(), "Nowhere");
  EXPECT_EQ(tower.pealMins(), 180);
  EXPECT_EQ(tower.semitoneShift(), "0");
  EXPECT_EQ(tower.bellCount(), 0);
  EXPECT_TRUE(tower.soundSets().empty());
  EXPECT_TRUE(tower.hasMuffledSounds());
}

TEST_F(TowerLoadTest, GarbageFilesLoadWithoutHarm) {
  // Hand-made folders go wrong in every way; bytes at random stand for them.
  std::uint32_t seed = 12345;
  const auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 20; ++round) {
    const auto garbage = [&](std::size_t size, const std::string& alphabet) {
      std::string text;
      for (std::size_t i = 0; i < size; ++i) text.push_back(alphabet[next() % alphabet.size()]);
      return text;
    };
    const std::string alphabet = "[]=-,0123456789 \n\r\tTowerRingsBellNamesp1URAM";
    WriteFile("tower.txt", "[Tower]\nRAM=1\n" + garbage(2000, alphabet));
    WriteFile("control.txt", "[Base Image]\n\n" + garbage(4000, alphabet));
    WriteFile("sounds/Set.txt", "[Recordings]\n" + garbage(500, alphabet));
    const std::int32_t count = static_cast<std::int32_t>(next() % 4);
    std::vector<double> values(next() % 30000);
    for (double& v : values) {
      const std::uint64_t bits = static_cast<std::uint64_t>(next()) << 32 | next();
      std::memcpy(&v, &bits, sizeof v);  // NaNs and infinities among them
    }
    WriteTable(count, 1, values);
    SettingsStore settings;
    Tower tower("Test", settings);
    EXPECT_LE(tower.bellCount(), 3);
    for (const double v : tower.controlTable().values) ASSERT_TRUE(std::isfinite(v));
    EXPECT_LE(tower.rings().size(), Tower::MaxRings);
  }
}

TEST_F(TowerLoadTest, ListsTowerFoldersOrTwelveBells) {
  SettingsStore settings;
  EXPECT_EQ(Tower::listTowers(), std::vector<std::string>{"Twelve Bells"});
  WriteFile("tower.txt", "", "St Mary");
  WriteFile("tower.txt", "", "All Saints");
  std::ofstream(data_ / "Towers" / "XII" / "notes.txt") << "not a tower";
  EXPECT_EQ(Tower::listTowers(), (std::vector<std::string>{"All Saints", "St Mary"}));
}

TEST(TowerText, TidiesKeysAndValues) {
  const auto kv = SplitKeyValue("  Name  =  Great   Tom\tof  Lincoln  ");
  ASSERT_TRUE(kv.has_value());
  EXPECT_EQ(kv->key, "Name");
  EXPECT_EQ(kv->value, "Great Tom\tof Lincoln");  // only spaces are blanks
  EXPECT_EQ(kv->rawKey, "  Name  ");
  EXPECT_EQ(SplitKeyValue("a=b=c")->value, "b=c");
  EXPECT_FALSE(SplitKeyValue("no equals").has_value());
}

TEST(TowerText, ReadsNumbersAsTheCLibraryDoes) {
  const struct {
    const char* text;
    int integer;
    double real;
  } cases[] = {
      {"42", 42, 42.0},           {"  -7x", -7, -7.0},      {"+3.75", 3, 3.75},
      {"", 0, 0.0},               {"abc", 0, 0.0},          {"2.5e1", 2, 25.0},
      {"-.5", 0, -0.5},           {"99999999999", 2147483647, 99999999999.0},
      {"-99999999999", -2147483647 - 1, -99999999999.0},   {"nan", 0, 0.0},
      {"1e999", 1, 0.0},          {"--1", 0, 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadInt(c.text), c.integer) << c.text;
    EXPECT_DOUBLE_EQ(ReadReal(c.text), c.real) << c.text;
  }
}

}  // namespace
}  // namespace clangor
