// The settings the Preferences dialog edits, read from and stored into the
// settings store, and the rules of the two settings dialogs: which controls
// are enabled, the ranges of the up-downs, the texts they show and the volume
// slider's scale. Plain code, so that the rules are tested without a window.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace clangor {

class SettingsStore;

// Every value the dialog shows, as the settings hold them (switches 0/1).
struct Preferences {
  int actionAtRounds = 2;     // 0 Keep Going, 1 That's All, 2 Stand
  int keepGoingCount = 0;
  int numbersSwapOption = 5;  // 0 Numbers Only, 2 Highlighted Pairs, 5 Place Bells and Crosses
  int highlightBriefly = 0;
  int methodLimit = 15;
  int compositionLimit = 15;
  int callUp = 1;
  int showTips = 1;           // 0 never, 1 when stood, 2 always
  int callChangeTips = 0;
  int showClock = 0;
  int halfLeadSplicing = 0;
  int autoPopup = 0;
  int rememberMufflesAndWholePulls = 0;  // the tower's own
  int ropesInSeparateWindow = 0;
  int rememberRopes = 1;
  int showDownRopes = 0;
  int maxTimeFactor = 12;
  int surprise = 1;
  std::string soundsFile;     // the tower's sound set, without ".txt"

  bool operator==(const Preferences&) const = default;
};

// What the main window must do after the values were stored.
struct PreferencesChange {
  bool soundSetChanged = false;       // load the tower's sounds again
  bool ropesPlacementChanged = false; // move the ropes into or out of their own window
};

Preferences ReadPreferences(const SettingsStore& settings);
// Stores every value, in the order the dialog's OK stores them; the sound set
// only when it differs from the tower's current one.
PreferencesChange StorePreferences(SettingsStore& settings, const Preferences& chosen);

// --- The dialog's rules. ---
// The Keep Going Count is edited only when the touch does not keep going anyway.
inline bool KeepGoingCountEnabled(int actionAtRounds) { return actionAtRounds != 0; }
// Call-change tips show only when the bell tips show while ringing too.
inline bool CallChangeTipsEnabled(int showTips) { return showTips == 2; }
// The moving-numbers choice a stored value shows: one of 0, 2 and 5.
inline int NumbersSwapShown(int stored) { return stored == 2 || stored == 5 ? stored : 0; }
// The bell tips are active while ringing only when they always show, and
// while stood unless they never show.
inline bool BellTipsActive(int showTips, bool ringing) { return ringing ? showTips == 2 : showTips != 0; }

// The range of an up-down and what it does with its buddy's text.
struct UpDownRange {
  int low;
  int high;

  int Clamp(int position) const { return position < low ? low : position > high ? high : position; }
  // One step of the arrows; none when it would leave the range.
  std::optional<int> Step(int position, int delta) const;
  // The position once the buddy edit lost the focus: a typed whole number
  // clamped into the range; text that is no number keeps `position`.
  int PositionForText(std::string_view text, int position) const;
};

inline constexpr UpDownRange KeepGoingCountRange{0, 100};
inline constexpr UpDownRange MenuListSizeRange{1, 25};
inline constexpr UpDownRange MaxClockSpeedRange{4, 20};

// The Maximum Clock Speed box: sqrt(2) to the step's power, "%2.1f".
std::string MaxClockSpeedText(int step);
// The sound sets of the tower as the list shows them: each file name
// without its four-character extension.
std::vector<std::string> SoundSetNames(const std::vector<std::string>& files);
// The surprise option shows only while the default surprise method is being
// rung (`nameText`, status pane 2); its label is that method's place name
// followed by "Surprise!".
bool SurpriseOptionShown(const std::string& nameText);
std::string SurpriseOptionLabel();

// The volume slider runs from 0 (silent, -10000 hundredths of a decibel) to
// 100 (full volume, 0); the Volume setting holds the level negated.
inline int VolumeSliderPosition(int volumeSetting) { return (10000 - volumeSetting) / 100; }
inline int VolumeForSliderPosition(int position) { return (position - 100) * 100; }

}  // namespace clangor
