// The Preferences dialog (dialog resource 103): the settings that have no
// menu command of their own. It shows them from the settings store when it
// opens, follows the ringer's choices (the Keep Going Count only while the
// touch does not keep going anyway, call-change tips only with the tips
// always on, typed numbers clamped to their up-down's range), and on OK
// stores every value; Cancel stores nothing.
//
// Threads: user-interface thread.
#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "shell/preferences.h"

namespace clangor {

class SettingsStore;

// The control identifiers of the layout.
namespace preferences_control {
inline constexpr int KeepGoing = 1021, ThatsAll = 1023, Stand = 1024;
inline constexpr int KeepGoingCountEdit = 1025, KeepGoingCountUpDown = 1026;
inline constexpr int NumbersOnly = 1116, HighlightedPairs = 1118, PlaceBellsAndCrosses = 1121;
inline constexpr int HighlightBriefly = 1151;
inline constexpr int MethodsEdit = 1032, MethodsUpDown = 1033;
inline constexpr int CompositionsEdit = 1034, CompositionsUpDown = 1035;
inline constexpr int CallUp = 1027, CallDown = 1028;
inline constexpr int TipsNever = 1029, TipsWhenStood = 1030, TipsAlways = 1031;
inline constexpr int CallChangeTips = 1134;
inline constexpr int ShowClock = 1122;
inline constexpr int HalfLeadSplicing = 1036;
inline constexpr int AutoPopup = 1037;
inline constexpr int RememberMufflesAndWholePulls = 1140;
inline constexpr int RopesInSeparateWindow = 1141;
inline constexpr int RememberRopes = 1143;
inline constexpr int ShowDownRopes = 1139;
inline constexpr int Surprise = 1114;
inline constexpr int Sound = 1152;
inline constexpr int MaxClockSpeedEdit = 1038, MaxClockSpeedUpDown = 1039;
inline constexpr int Help = 1124, Cancel = 2, Ok = 1;
}  // namespace preferences_control

// What the dialog needs to know of the main window when it opens.
struct PreferencesContext {
  std::vector<std::string> soundSets;  // the tower's sound set files (".txt")
  bool soundSetChangeable = false;     // the tower is loaded and its bells stand
  std::string nameText;                // what is being rung (status pane 2)
  std::function<void()> help;          // opens the help at the dialog's topic
};

class PreferencesDialog final : public QDialog {
 public:
  PreferencesDialog(SettingsStore& settings, PreferencesContext context, QWidget* parent = nullptr);
  ~PreferencesDialog() override;

  // The values the controls show now.
  Preferences Chosen() const;
  // After OK: what the main window must act on.
  const PreferencesChange& change() const { return change_; }

  // OK: the typed numbers are taken, every value stored, the dialog ends.
  void accept() override;

 private:
  void Show(const Preferences& values);
  void FillSounds(const std::vector<std::string>& files, const std::string& current, bool changeable);
  void FollowChoices();
  void TakeTypedNumbers();

  SettingsStore& settings_;
  PreferencesContext context_;
  Preferences opened_;
  PreferencesChange change_;
};

}  // namespace clangor
