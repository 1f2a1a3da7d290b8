// Ringing control: what each ringing command does to the engine, the touch
// and the settings. The main window calls these from its menus, tool bar and
// keys; the views it owns hear back through RingingControlListener.
//
// Threads: user-interface thread only. Commands reach the worker through the
// engine's request slot, flags and wake event, and the touch through the
// engine's touch lock.
#pragma once

#include <string>

#include "engine/ringing_ui_state.h"

namespace clangor {

class SettingsStore;
class TickSource;
class Tower;
class TowerWindow;

// The sound part as the commands see it.
class RingingSound {
 public:
  virtual ~RingingSound() = default;
  virtual void setSoundOff(bool /*off*/) {}
  virtual bool soundOff() const { return false; }
  // The half-muffled setting changed.
  virtual void refreshSettings() {}
  // Re-pitch every bell from the tower's SemitoneShift setting.
  virtual void applyPitch() {}
  virtual void stepVolume(bool /*up*/) {}
  virtual void soundOwnBell(int /*bell*/) {}
};

// What the main window shows of the commands (all optional).
class RingingControlListener {
 public:
  virtual ~RingingControlListener() = default;
  // Empty texts, no rows; touchStart has been set to now.
  virtual void touchStatusReset() {}
  virtual void titleChanged(const std::string& /*title*/) {}
  virtual void clearRows() {}
  virtual void refreshToolBar() {}
  // Bell number tips shown while ringing (ShowTips 2) or not.
  virtual void tipsWhileRinging(bool /*active*/) {}
  // The announcement of a called change (status pane 5).
  virtual void callChangeAnnounced(const std::string& /*text*/) {}
  virtual void clockSpeedChanged() {}
  virtual void pitchChanged() {}
};

class RingingControl {
 public:
  // `settings` is the store of the loaded tower; `engine` may be null (no
  // tower); `sound` and `listener` may be null.
  RingingControl(SettingsStore& settings, TickSource& ticks, RingingUiState& state);

  void SetEngine(TowerWindow* engine) { engine_ = engine; }
  void SetTower(Tower* tower) { tower_ = tower; }
  void SetSound(RingingSound* sound) { sound_ = sound; }
  void SetListener(RingingControlListener* listener) { listener_ = listener; }

  // --- Bells. ---
  void ToggleBell(int bell);
  void SelectNone();
  // A ring of the tower: "U" at a bell's position selects it.
  void SelectRing(const std::string& pattern);
  void Start();

  // --- What to ring. ---
  void RingTouch(const Method* method);
  void RingComposition(const RingableComposition& composition, const Method* method);
  void RingSequence(const CallChangeSequence* sequence);
  bool CanGoAgain() const;
  void GoAgain();
  void Rounds();

  // --- Standing, pausing. ---
  void Stand();
  void StopNow();
  // Escape: stops the bells when they ring; true when the program should close.
  bool Escape();
  void Pause();
  void Step();
  // The space bar: Start when stood with bells in play, Step while paused,
  // otherwise a tap of the own bell.
  void SpaceBar();

  // --- Firing, sound and settings toggles. ---
  bool CanFire() const;
  bool ToggleFiring();
  void ToggleSilence();
  void ToggleHalfMuffled();
  void ToggleWholePull();

  // --- Calls. ---
  // A call letter ("-" is a bob); the letter in force again cancels it.
  bool MakeCall(char letter);
  bool MakeCallIndex(int index);
  // A bell's number key or a click while the touch holds rounds or rings a
  // call-change sequence: calls that bell's change. The announcement, or "".
  std::string CallChangeFor(int bell);
  // The letter keys: calls while a method rings, call changes otherwise.
  bool CanCallChanges() const;

  // --- Speeds, pitch, volume. ---
  void ClockSpeed(bool up, bool shift);
  // One minute more (up) or less; false when refused.
  bool ChangePealTime(bool up);
  void ChangePitch(bool up);
  void Volume(bool up);
  // Sounds the own bell when TapOwnBells is 1 and there is one.
  bool TapOwnBell();

 private:
  bool Ringing() const;
  // Firing is on, or the bells are still leaving it.
  bool FiringUnderWay() const;
  bool EveryBellCanMove(int places, int speed) const;
  bool GeneratorIdle() const;
  void ResetTouchStatus();
  void SetTipsForRinging();
  void StartIfStood();

  SettingsStore& settings_;
  TickSource& ticks_;
  RingingUiState& state_;
  TowerWindow* engine_ = nullptr;
  Tower* tower_ = nullptr;
  RingingSound* sound_ = nullptr;
  RingingControlListener* listener_ = nullptr;
};

}  // namespace clangor
