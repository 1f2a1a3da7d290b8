#include "engine/ringing_control.h"

#include <algorithm>
#include <vector>

#include "engine/ringing_clock.h"
#include "engine/ringing_state.h"
#include "engine/tower_window.h"
#include "platform/ticks.h"
#include "ringing/call_change_sequence.h"
#include "ringing/change_generator.h"
#include "ringing/method.h"
#include "shell/settings_store.h"
#include "tower/tower.h"

namespace clangor {

namespace {
constexpr int MaxSemitoneShift = 12;
// Places a bell must be able to move for a change of peal time to be taken.
constexpr int PlacesWhileHolding = 1;
constexpr int PlacesInMethod = 3;
constexpr int PlacesForCallChange = 2;
}  // namespace

RingingControl::RingingControl(SettingsStore& settings, TickSource& ticks, RingingUiState& state)
    : settings_(settings), ticks_(ticks), state_(state) {}

bool RingingControl::Ringing() const { return engine_ && engine_->ringing(); }

// ---------------------------------------------------------------- bells

void RingingControl::ToggleBell(int bell) {
  if (!engine_ || Ringing()) return;
  engine_->SelectBell(bell, 2);
  if (listener_) listener_->refreshToolBar();
}

void RingingControl::SelectNone() {
  if (!engine_) return;
  for (int bell = engine_->bellCount() - 1; bell >= 1; --bell) engine_->SelectBell(bell, 1, true);
  engine_->SelectBell(0, 1);
  if (listener_) listener_->refreshToolBar();
}

void RingingControl::SelectRing(const std::string& pattern) {
  if (!engine_) return;
  const int count = engine_->bellCount();
  for (int bell = 0; bell < count; ++bell) {
    const bool rings = static_cast<std::size_t>(bell) < pattern.size() && pattern[static_cast<std::size_t>(bell)] == 'U';
    engine_->SelectBell(bell, rings ? 0 : 1, bell + 1 < count);
  }
  if (listener_) listener_->refreshToolBar();
}

void RingingControl::ResetTouchStatus() {
  state_.title.clear();
  state_.touchStart = ReadClock(ticks_, false);
  if (listener_) listener_->touchStatusReset();
}

void RingingControl::SetTipsForRinging() {
  if (listener_) listener_->tipsWhileRinging(settings_.GetInt(setting::ShowTips) == 2);
}

void RingingControl::Start() {
  if (!engine_) return;
  ResetTouchStatus();
  SetTipsForRinging();
  if (listener_) listener_->clearRows();
  engine_->Start();
  if (listener_) listener_->refreshToolBar();
}

void RingingControl::StartIfStood() {
  if (Ringing()) return;
  if (listener_) listener_->clearRows();
  engine_->Start();
}

// ---------------------------------------------------------------- what to ring

// No touch, or one that holds rounds or rings call changes with nothing asked for.
bool RingingControl::GeneratorIdle() const {
  return engine_->WithTouch([this](ChangeGenerator* g) {
    if (g == nullptr) return true;
    return !engine_->requestPending() && !g->roundsRequested && (g->holding() || g->sequence() != nullptr);
  });
}

void RingingControl::RingTouch(const Method* method) {
  if (!engine_ || method == nullptr || method->name.empty()) return;
  SetTipsForRinging();
  if (GeneratorIdle()) {
    ResetTouchStatus();
    state_.title = method->Title();
    if (listener_) listener_->titleChanged(state_.title);
    state_.lastTouch = method;
    state_.lastComposition = nullptr;
    state_.lastSequence = nullptr;
  }
  StartIfStood();
  engine_->RequestTouch(method, nullptr);
}

void RingingControl::RingComposition(const RingableComposition& composition, const Method* method) {
  if (!engine_ || composition.source == nullptr || method == nullptr) return;
  if (composition.prepare && !composition.prepare(method, clangor::Ringing().bellsInPlay)) return;
  SetTipsForRinging();
  if (GeneratorIdle()) ResetTouchStatus();
  state_.title = composition.name + " (" + method->Title() + ")";
  if (listener_) listener_->titleChanged(state_.title);
  state_.lastTouch = method;
  state_.lastComposition = &composition;
  state_.lastSequence = nullptr;
  StartIfStood();
  engine_->RequestTouch(method, composition.source);
}

void RingingControl::RingSequence(const CallChangeSequence* sequence) {
  if (!engine_ || sequence == nullptr || sequence->name.empty()) return;
  SetTipsForRinging();
  if (GeneratorIdle()) {
    ResetTouchStatus();
    state_.title = sequence->name;
    if (listener_) listener_->titleChanged(state_.title);
    state_.lastTouch = nullptr;
    state_.lastComposition = nullptr;
    state_.lastSequence = sequence;
  }
  StartIfStood();
  engine_->RequestSequence(sequence);
}

bool RingingControl::CanGoAgain() const {
  const int inPlay = clangor::Ringing().bellsInPlay;
  if (const RingableComposition* c = state_.lastComposition) {
    if (inPlay < 3 || state_.lastTouch == nullptr || state_.lastTouch->stage > inPlay) return false;
    for (int bells = std::min(inPlay, MaxStage); bells >= 3; --bells)
      if (c->stages.test(static_cast<std::size_t>(bells))) return true;
    return false;
  }
  if (state_.lastTouch) return state_.lastTouch->stage <= inPlay;
  if (state_.lastSequence) return state_.lastSequence->stage == inPlay;
  return false;
}

void RingingControl::GoAgain() {
  if (!CanGoAgain()) return;
  if (state_.lastComposition) RingComposition(*state_.lastComposition, state_.lastTouch);
  else if (state_.lastTouch) RingTouch(state_.lastTouch);
  else RingSequence(state_.lastSequence);
}

void RingingControl::Rounds() {
  if (!engine_) return;
  // While firing the bells keep the places they joined at.
  if (FiringUnderWay()) return;
  engine_->WithTouch([](ChangeGenerator* g) {
    if (g && !g->HoldsRounds()) g->roundsRequested = true;
  });
}

// ---------------------------------------------------------------- standing and pausing

void RingingControl::Stand() {
  if (engine_) engine_->StandOrStop(false);
}

void RingingControl::StopNow() {
  if (engine_) engine_->StandOrStop(true);
}

bool RingingControl::Escape() {
  if (!Ringing()) return true;
  StopNow();
  return false;
}

void RingingControl::Pause() {
  if (engine_) state_.touchStart += engine_->TogglePause();
}

void RingingControl::Step() {
  if (engine_) state_.touchStart += engine_->Step();
}

void RingingControl::SpaceBar() {
  if (!engine_) return;
  if (!Ringing()) {
    if (clangor::Ringing().bellsInPlay > 0) Start();
  } else if (engine_->paused()) {
    Step();
  } else {
    TapOwnBell();
  }
}

// ---------------------------------------------------------------- firing and toggles

// The bells fire only while the touch holds its row: a row struck all at once
// has no order, so a method or a sequence could not go on from it. What is
// asked for while they fire waits until they have left firing.
bool RingingControl::CanFire() const {
  const RingingState& r = clangor::Ringing();
  if (!engine_ || engine_->loading()) return false;
  if (r.firing) return r.firingStep >= r.bellsInPlay;
  if (r.bellsInPlay < 2 || r.pealSpeedInUse != r.pealSpeed || r.firingStep != 0) return false;
  return engine_->WithTouch([this](ChangeGenerator* g) {
    return g == nullptr || (!engine_->requestPending() && g->holding() && !g->starting() && !g->MethodInProgress() &&
                            !g->returningToRounds() && !g->handChangePending() && !g->roundsRequested);
  });
}

bool RingingControl::FiringUnderWay() const {
  const RingingState& r = clangor::Ringing();
  return r.firing || r.firingStep > 0;
}

bool RingingControl::ToggleFiring() {
  if (!CanFire()) return false;
  clangor::Ringing().firing = !clangor::Ringing().firing;
  if (listener_) listener_->refreshToolBar();
  return true;
}

void RingingControl::ToggleSilence() {
  if (sound_) sound_->setSoundOff(!sound_->soundOff());
  if (listener_) listener_->refreshToolBar();
}

void RingingControl::ToggleHalfMuffled() {
  settings_.SetTowerInt(tower_setting::Clappers, settings_.GetTowerInt(tower_setting::Clappers) ? 0 : 1);
  if (sound_) sound_->refreshSettings();
}

void RingingControl::ToggleWholePull() {
  settings_.SetTowerInt(tower_setting::WholePullChanges,
                        settings_.GetTowerInt(tower_setting::WholePullChanges) ? 0 : 1);
}

// ---------------------------------------------------------------- calls

bool RingingControl::MakeCall(char letter) {
  if (!engine_) return false;
  return engine_->WithTouch([letter](ChangeGenerator* g) {
    if (g == nullptr || g->composition() != nullptr) return false;
    // The letter as given is compared: "-" asks for a bob again, it does
    // not cancel one.
    const int selected = g->selectedCall();
    const bool again = selected != 0 && g->callTable().CallLetter(selected) == letter;
    return g->SelectCall(again ? 'p' : letter == '-' ? 'b' : letter);
  });
}

bool RingingControl::MakeCallIndex(int index) {
  if (!engine_) return false;
  const char letter = engine_->WithTouch([index](ChangeGenerator* g) -> char {
    if (g == nullptr || index < 0 || index >= g->callTable().size()) return 0;
    return g->callTable().CallLetter(index);
  });
  return letter != 0 && MakeCall(letter);
}

bool RingingControl::CanCallChanges() const {
  if (!engine_) return false;
  return engine_->WithTouch([this](ChangeGenerator* g) {
    return g && !engine_->requestPending() && (g->holding() || g->sequence() != nullptr) && !g->MethodInProgress();
  });
}

std::string RingingControl::CallChangeFor(int bell) {
  const RingingState& r = clangor::Ringing();
  if (!Ringing() || !engine_->IsBellInPlay(bell) || FiringUnderWay()) return {};
  if (!EveryBellCanMove(PlacesForCallChange, r.pealSpeedInUse)) return {};
  if (!CanCallChanges()) return {};
  const bool up = settings_.GetInt(setting::CallUp) != 0;
  // The touch numbers the bells in play from the lowest of them; the ringer
  // calls and hears the tower's numbers.
  std::vector<int> towerNumbers;
  int touchBell = -1;
  for (int b = 0; b < engine_->bellCount(); ++b) {
    if (!engine_->IsBellInPlay(b)) continue;
    if (b == bell) touchBell = static_cast<int>(towerNumbers.size());
    towerNumbers.push_back(b + 1);
  }
  std::string text = engine_->WithTouch([&](ChangeGenerator* g) {
    return g ? g->CallChange(touchBell, up, towerNumbers) : std::string();
  });
  if (!text.empty() && listener_) listener_->callChangeAnnounced(text);
  return text;
}

// ---------------------------------------------------------------- speeds, pitch, volume

bool RingingControl::EveryBellCanMove(int places, int speed) const {
  for (int bell = 0; bell < engine_->bellCount(); ++bell)
    if (engine_->IsBellInPlay(bell) && engine_->TimingLevel(bell, speed) < places) return false;
  return true;
}

void RingingControl::ClockSpeed(bool up, bool shift) {
  const int step = clangor::Ringing().clockStep;
  if (!shift) {
    ChangeClockStep(up, Ringing(), settings_);
  } else if (up) {
    if (step >= 0) SetClockStepFromSettings(settings_);
    else ResetClockSpeed();
  } else {
    if (step > 0) ResetClockSpeed();
    else SlowestClockSpeed();
  }
  if (listener_) listener_->clockSpeedChanged();
}

bool RingingControl::ChangePealTime(bool up) {
  if (!engine_) return false;
  RingingState& r = clangor::Ringing();
  const int current = r.pealSpeed != 0 ? r.pealSpeed.load() : settings_.GetTowerInt(tower_setting::PealMins);
  const int speed = current + (up ? 1 : -1);
  if (speed < MinPealSpeed || speed > MaxPealSpeed) return false;
  const bool inMethod = engine_->WithTouch([](ChangeGenerator* g) { return g && g->MethodInProgress(); });
  if (!EveryBellCanMove(inMethod ? PlacesInMethod : PlacesWhileHolding, speed)) return false;
  // Bells at rest take their rows for the speed in use when they start.
  if (Ringing()) SetPendingPealSpeed(speed);
  else SetPealSpeed(speed);
  settings_.SetTowerInt(tower_setting::PealMins, r.pealSpeed);
  return true;
}

void RingingControl::ChangePitch(bool up) {
  const int shift = std::clamp(state_.semitoneShift + (up ? 1 : -1), -MaxSemitoneShift, MaxSemitoneShift);
  if (shift == state_.semitoneShift) return;
  state_.semitoneShift = shift;
  settings_.SetTowerString(tower_string::SemitoneShift, std::to_string(shift));
  if (sound_) sound_->applyPitch();
  if (listener_) listener_->pitchChanged();
}

void RingingControl::Volume(bool up) {
  if (sound_) sound_->stepVolume(up);
}

bool RingingControl::TapOwnBell() {
  if (!engine_ || settings_.GetInt(setting::TapOwnBells) != 1) return false;
  const int bell = engine_->ownBell();
  if (bell < 0) return false;
  engine_->NoteOwnTap();
  if (sound_) sound_->soundOwnBell(bell);
  else engine_->SoundOwnBell(bell);
  return true;
}

}  // namespace clangor
