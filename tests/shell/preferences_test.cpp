// The settings dialogs' rules without a window: the up-downs' clamping, the
// enabling rules, the texts, the volume slider's scale, and the preferences
// stored through the real settings store and read back after a restart.
#include <gtest/gtest.h>

#include "shell/preferences.h"
#include "shell/settings_store.h"
#include "shell/status_panes.h"
#include "tests/platform/temp_folder.h"

namespace clangor {
namespace {

TEST(UpDownRange, TypedTextIsClampedWhenTheFocusLeaves) {
  struct Case {
    UpDownRange range;
    const char* typed;
    int position;  // before
    int taken;
  } cases[] = {
      {MenuListSizeRange, "40", 15, 25},
      {MenuListSizeRange, "0", 15, 1},
      {MenuListSizeRange, "-3", 15, 1},
      {MenuListSizeRange, " 7 ", 15, 7},
      {MenuListSizeRange, "+9", 15, 9},
      {MenuListSizeRange, "25", 3, 25},
      {MenuListSizeRange, "", 15, 15},
      {MenuListSizeRange, "ten", 15, 15},
      {MenuListSizeRange, "1x", 15, 15},
      {MenuListSizeRange, "99999999999999999999999", 15, 25},
      {MenuListSizeRange, "-99999999999999999999999", 15, 1},
      {KeepGoingCountRange, "250", 0, 100},
      {KeepGoingCountRange, "3", 0, 3},
  };
  for (const Case& c : cases) EXPECT_EQ(c.range.PositionForText(c.typed, c.position), c.taken) << "'" << c.typed << "'";
}

TEST(UpDownRange, TheArrowsStopAtTheEnds) {
  EXPECT_EQ(MaxClockSpeedRange.Step(19, 1), 20);
  EXPECT_EQ(MaxClockSpeedRange.Step(20, 1), std::nullopt);
  EXPECT_EQ(MaxClockSpeedRange.Step(4, -1), std::nullopt);
  EXPECT_EQ(MenuListSizeRange.Step(1, -1), std::nullopt);
  EXPECT_EQ(MenuListSizeRange.Step(1, 1), 2);
  EXPECT_EQ(MenuListSizeRange.Clamp(40), 25);
}

TEST(SettingsDialogRules, Texts) {
  EXPECT_EQ(MaxClockSpeedText(4), "4.0");
  EXPECT_EQ(MaxClockSpeedText(5), "5.7");
  EXPECT_EQ(MaxClockSpeedText(12), "64.0");
  EXPECT_EQ(MaxClockSpeedText(20), "1024.0");
  EXPECT_EQ(SoundSetNames({"Chamber.txt", "Close.txt", "x.txt", "abc"}),
            (std::vector<std::string>{"Chamber", "Close", "x", "abc"}));
  EXPECT_EQ(SurpriseOptionLabel(), "Cambridge Surprise!");
  EXPECT_TRUE(SurpriseOptionShown("Cambridge Surprise Major"));
  EXPECT_FALSE(SurpriseOptionShown("Cambridge Surprise Minor"));
  EXPECT_FALSE(SurpriseOptionShown(""));
}

TEST(SettingsDialogRules, EnablingAndChoices) {
  struct Case {
    int value;
    bool countEnabled;     // value as ActionAtRounds
    bool ccTipsEnabled;    // value as ShowTips
    int swapShown;         // value as NumbersSwapOption
    bool tipsStood, tipsRinging;
  } cases[] = {
      {0, false, false, 0, false, false},
      {1, true, false, 0, true, false},
      {2, true, true, 2, true, true},
      {3, true, false, 0, true, false},
      {5, true, false, 5, true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeepGoingCountEnabled(c.value), c.countEnabled) << c.value;
    EXPECT_EQ(CallChangeTipsEnabled(c.value), c.ccTipsEnabled) << c.value;
    EXPECT_EQ(NumbersSwapShown(c.value), c.swapShown) << c.value;
    EXPECT_EQ(BellTipsActive(c.value, false), c.tipsStood) << c.value;
    EXPECT_EQ(BellTipsActive(c.value, true), c.tipsRinging) << c.value;
  }
}

TEST(SettingsDialogRules, VolumeSliderEnds) {
  EXPECT_EQ(VolumeSliderPosition(0), 100);
  EXPECT_EQ(VolumeSliderPosition(10000), 0);
  EXPECT_EQ(VolumeSliderPosition(2500), 75);
  EXPECT_EQ(VolumeForSliderPosition(100), 0);
  EXPECT_EQ(VolumeForSliderPosition(0), -10000);
  EXPECT_EQ(VolumeForSliderPosition(75), -2500);
}

TEST(SettingsDialogRules, TenorNoteMovesWithThePitch) {
  EXPECT_EQ(TenorNoteText("D", 0), "D");
  EXPECT_EQ(TenorNoteText("D", 1), "Eb");
  EXPECT_EQ(TenorNoteText("D", -3), "B");
  EXPECT_EQ(TenorNoteText("G", 12), "G");
  EXPECT_EQ(TenorNoteText("G", -12), "G");
  EXPECT_EQ(TenorNoteText("B", 1), "C");
  EXPECT_EQ(TenorNoteText("G flat", 2), "G flat");  // not a note name: as written
}

class PreferencesStoreTest : public ::testing::Test {
 protected:
  testing::TempFolder temp;
  testing::ScopedEnv registryDir{"CLANGOR_REGISTRY_DIR", temp / "registry"};
  testing::ScopedEnv appData{"CLANGOR_COMMON_APPDATA", temp / "share"};
  TowerDefaults tower = [] {
    TowerDefaults t;
    t.name = "Eight Bells";
    t.SoundsFile = "Chamber";
    return t;
  }();
};

// Every value away from its default, so that a value stored under the wrong
// setting or not at all shows.
Preferences AwayFromDefaults() {
  Preferences p;
  p.actionAtRounds = 1;
  p.keepGoingCount = 7;
  p.numbersSwapOption = 2;
  p.highlightBriefly = 1;
  p.methodLimit = 3;
  p.compositionLimit = 22;
  p.callUp = 0;
  p.showTips = 2;
  p.callChangeTips = 1;
  p.showClock = 1;
  p.halfLeadSplicing = 1;
  p.autoPopup = 1;
  p.rememberMufflesAndWholePulls = 1;
  p.ropesInSeparateWindow = 1;
  p.rememberRopes = 0;
  p.showDownRopes = 1;
  p.maxTimeFactor = 17;
  p.surprise = 0;
  p.soundsFile = "Close";
  return p;
}

TEST_F(PreferencesStoreTest, StoredValuesComeBackAfterARestart) {
  const Preferences chosen = AwayFromDefaults();
  {
    SettingsStore settings;
    settings.LoadTowerSettings(tower);
    ASSERT_EQ(ReadPreferences(settings), Preferences{.soundsFile = "Chamber"});
    const PreferencesChange change = StorePreferences(settings, chosen);
    EXPECT_TRUE(change.soundSetChanged);
    EXPECT_TRUE(change.ropesPlacementChanged);
    EXPECT_EQ(ReadPreferences(settings), chosen);
    settings.SaveTowerSettings(tower);
  }
  SettingsStore again;
  again.LoadTowerSettings(tower);
  EXPECT_EQ(ReadPreferences(again), chosen);
  // The same values again change nothing the main window acts on.
  const PreferencesChange change = StorePreferences(again, chosen);
  EXPECT_FALSE(change.soundSetChanged);
  EXPECT_FALSE(change.ropesPlacementChanged);
}

TEST_F(PreferencesStoreTest, AMovingNumbersOptionOfItsOwnShowsAsNumbersOnly) {
  SettingsStore settings;
  settings.SetInt(setting::NumbersSwapOption, 3);
  EXPECT_EQ(ReadPreferences(settings).numbersSwapOption, 0);
}

}  // namespace
}  // namespace clangor
