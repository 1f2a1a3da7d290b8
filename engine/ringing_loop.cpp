// The ringing loop: the touch, the start offsets, and the passes that advance
// every bell in sub-steps of at most 0.1 simulated seconds.
#include <algorithm>

#include "engine/ringing_clock.h"
#include "engine/ringing_state.h"
#include "engine/tower_window.h"
#include "platform/ticks.h"

namespace clangor {

namespace {
constexpr double SubStep = 0.1;
constexpr int OverloadSubSteps = 50;
// Load shedding by clock step: the manual window only at normal speed or
// slower, the moving numbers up to step 4.
constexpr int ManualUpdateMaxStep = 0;
constexpr int NumbersMaxStep = 4;
}  // namespace

void TowerWindow::RingingLoop() {
  RingingState& r = Ringing();
  stopNow_ = false;
  stoppedAtOnce_ = false;
  if (r.bellsInPlay == 0) {
    ringing_ = false;
    return;
  }
  {
    std::lock_guard lock(touchLock_);
    touch_ = std::make_unique<ChangeGenerator>(r.bellsInPlay, this, settings_, usage_);
    if (r.bellsInPlay > 1) r.currentTouch = touch_.get();
  }
  if (views_.tower) views_.tower->setSurpriseAllowed(false);

  std::vector<double> offsets;
  StartBells(offsets);
  if (views_.ropes) {
    views_.ropes->reset();
    views_.ropes->noteStruck(-1);
  }
  int lastStruck = -1;
  bool ended = false;
  while (!quit_) {
    if (!RingingPass(lastStruck)) {
      ended = true;
      break;
    }
  }
  if (ended && !quit_ && views_.ropes) views_.ropes->noteStruck(-1);
  EndTouch(ended && !stoppedAtOnce_);
}

// Each bell in play starts one blow interval after the one before, less the
// time its swing needs before its first blow, and corrected by its own
// striking correction; the earliest starts now.
void TowerWindow::StartBells(std::vector<double>& offsets) {
  offsets.assign(static_cast<std::size_t>(bellCount_), 0.0);
  double a = 0.0;
  double lowest = 0.0;
  int k = 0;
  for (int i = 0; i < bellCount_; ++i) {
    if (!IsBellInPlay(i)) continue;
    Bell& bell = bells_[static_cast<std::size_t>(i)];
    bell.start(k);
    const double offset = a - bell.rowValue(54) + bell.data().strikingCorrection;
    offsets[static_cast<std::size_t>(i)] = offset;
    lowest = std::min(lowest, offset);
    a += Ringing().blowInterval;
    ++k;
  }
  pauseAt_ = -1.0;
  {
    std::lock_guard lock(shiftLock_);
    pendingShift_ = 0.0;
  }
  const double now = ReadClock(ticks_, false);
  clockNow_ = now;
  for (int i = 0; i < bellCount_; ++i)
    if (IsBellInPlay(i)) bells_[static_cast<std::size_t>(i)].state().time = now + offsets[static_cast<std::size_t>(i)] - lowest;
  if (views_.striking) views_.striking->touchStarted();
}

// One pass of the loop; false when the ringing has ended.
bool TowerWindow::RingingPass(int& lastStruck) {
  // Stop Now sets stopNow_ before it clears ringing_: reading ringing_ first,
  // a pass that finds the ringing over also finds the stop, and rests the
  // bells before the loop ends.
  const bool ringing = ringing_;
  if (stopNow_.exchange(false)) {
    StopAllBells();
    stoppedAtOnce_ = true;
  }
  if (!ringing && !OwnRecordActive()) return false;
  if (paused()) {
    ticks_.Sleep(1);
    return true;
  }
  ApplyPendingShift();
  // What is asked for while the bells fire waits until they have left firing.
  if (requestPending_ && !Ringing().firing && Ringing().firingStep == 0) TakeRequest();

  double t = clockNow_;
  bool changed = false;
  double now = ReadClock(ticks_, true, &changed);
  // A pause or the end of a step halts the bells exactly where it falls,
  // however late this pass reads the clock: the time past it counts as
  // paused, in the shift of the next step or of the resume.
  if (const double haltAt = pauseAt_; haltAt >= 0.0 && now > haltAt) now = std::max(haltAt, t);
  clockNow_ = now;
  if (changed) PostEngineEvent(event::ClockFactorChanged);
  std::fill(drawnThisPass_.begin(), drawnThisPass_.end(), false);

  int subSteps = 0;
  bool redrawOwed = false;
  while (t < now && !quit_) {
    t = std::min(t + SubStep, now);
    ++subSteps;
    ServeRingingMailbox();
    lastStruck = -1;
    for (int i = 0; i <= bellCount_; ++i) AdvanceRecordTo(i, t, lastStruck, redrawOwed);
    FlushStagedEvents();
    if (speedChangeDone_.exchange(false) && views_.listener) views_.listener->speedChangeCarriedOut();
    if (quit_) break;
    if (views_.ropes) views_.ropes->noteStruck(lastStruck);
    if (views_.numbers && Ringing().clockStep <= NumbersMaxStep) views_.numbers->advanceTo(t, lastStruck);
  }
  if (quit_) return true;  // the caller sees quit and cleans up

  if (Ringing().bellsSwinging == 0) {
    FinishRinging();
    return false;
  }
  if (redrawOwed && ringing_) Redraw();
  if (subSteps > OverloadSubSteps) {
    AdjustClockFactor(false);
    PostEngineEvent(event::ClockFactorChanged);
  }
  {
    std::lock_guard lock(touchLock_);
    if (touch_ && touch_->stopRequested()) Ringing().standRequested = true;
  }
  ticks_.Sleep(1);
  return true;
}

void TowerWindow::ApplyPendingShift() {
  double shift;
  {
    std::lock_guard lock(shiftLock_);
    shift = pendingShift_;
    pendingShift_ = 0.0;
    if (shift == 0.0) return;
    clockNow_ = clockNow_ + shift;
  }
  for (auto& bell : bells_) bell.state().time += shift;
}

// The composition first, then the sequence or the method.
void TowerWindow::TakeRequest() {
  CompositionSource* extra;
  const Method* method;
  const CallChangeSequence* sequence;
  {
    std::lock_guard lock(requestLock_);
    extra = pendingExtra_;
    pendingExtra_ = nullptr;
    method = pendingTouch_;
    sequence = pendingSequence_;
    // A sequence is handed over once; the pending touch stays until rounds,
    // to keep a sequence from being asked for while the method rings.
    pendingSequence_ = nullptr;
    handingOver_ = true;
    requestPending_ = false;
  }
  {
    std::lock_guard lock(touchLock_);
    if (extra) touch_->SetComposition(extra);
    if (sequence) touch_->SetSequence(sequence);
    else touch_->SetMethod(method);
    handingOver_ = false;  // seen under the touch lock together with what the touch now rings
  }
  FlushStagedEvents();
}

void TowerWindow::ServeRingingMailbox() {
  const int word = manualCommand_;
  if (word == 0) return;
  const int command = ManualKind(word);
  Bell* own = OwnRecord();
  if (command == ManualRelease) {
    if (views_.manual) views_.manual->setPulling(false);
    ReleaseOwnRope();
  } else if (command == 1) {
    if (OwnRecordActive()) {
      ReleaseOwnRope();
      HandBackOwnBell();
    }
    SetOwnBell(ManualBell(word));
  } else if (command == ManualPull && own && ownBell_ >= 0) {
    if (!own->active()) own->takeOver(bells_[static_cast<std::size_t>(ownBell_)]);
    ownRopeHeld_ = true;
    if (views_.manual) views_.manual->setPulling(true);
  }
  manualCommand_ = 0;
}

// Advances record `index` (the own-bell record at bellCount_) to t, drawing
// its bell at most once per pass and sounding each blow.
void TowerWindow::AdvanceRecordTo(int index, double t, int& lastStruck, bool& redrawOwed) {
  Bell& record = bells_[static_cast<std::size_t>(index)];
  int bell = index;
  bool rungByProgram;
  if (index < bellCount_) {
    if (!IsBellInPlay(index) || record.state().stood) return;
    rungByProgram = record.rungByProgram();
  } else {
    bell = ownBell_;
    if (bell < 0) return;
    if (!record.active()) {
      UpdateManual(bells_[static_cast<std::size_t>(bell)]);
      return;
    }
    rungByProgram = true;
    // The pull is read afresh at every sub-step: a move of the user's hand
    // reaches the swing at the next pass of the loop.
    if (ownRopeHeld_) record.setPull(views_.manual ? std::clamp(views_.manual->pullStrength(record), 0.0, 1.0) : 1.0);
  }
  int flags;
  {
    // The touch answers NextStrike inside the advance.
    std::lock_guard lock(touchLock_);
    flags = record.advanceTo(t);
  }
  if (rungByProgram && (flags & Bell::PictureChanged)) {
    auto drawn = drawnThisPass_[static_cast<std::size_t>(bell)];
    if (drawingSuspended_) {
      redrawOwed = true;
    } else if (!quit_ && !drawn) {
      DrawBell(bell, record.picture());
      drawnThisPass_[static_cast<std::size_t>(bell)] = true;
    }
  }
  if (rungByProgram && (flags & Bell::Struck) && !quit_) {
    lastStruck = bell;
    if (views_.tower) views_.tower->soundStruckBlow(bell, SteadyInstantOf(record.state().strikeTime));
    if (views_.listener) views_.listener->bellStruck(bell, record.state().strikeTime);
  }
  if ((flags & Bell::Struck) && !quit_) NoteOwnStriking(index, bell, record);
  if (index == bellCount_) UpdateManual(record);
}

// The user's rope strikes the own bell through the own-bell record; the
// program's own swing of that bell goes on beside it (silent, or sounded
// only by the user's taps) and strikes where the blow belonged.
void TowerWindow::NoteOwnStriking(int index, int bell, const Bell& record) {
  if (views_.striking == nullptr) return;
  const double at = record.state().strikeTime;
  if (index == bellCount_) views_.striking->ownBlowStruck(bell, at);
  else if (index == ownBell_) views_.striking->ownBlowDue(bell, at, !record.state().handstrokeNext);
}

void TowerWindow::UpdateManual(const Bell& record) {
  if (views_.manual && !quit_ && Ringing().clockStep <= ManualUpdateMaxStep) views_.manual->update(record);
}

// Every bell to rest at once.
void TowerWindow::StopAllBells() {
  for (int i = 0; i < bellCount_; ++i) {
    Bell& bell = bells_[static_cast<std::size_t>(i)];
    if (!bell.state().stood) bell.stand();
  }
  if (OwnRecordActive()) {
    ReleaseOwnRope();
    HandBackOwnBell();
  }
  if (Bell* own = OwnRecord(); own && !own->state().stood) own->stand();
  if (views_.tower) Redraw();
}

// The last bell has come to rest.
void TowerWindow::FinishRinging() {
  StopAllBells();
  ringing_ = false;
  goRequested_ = false;
  {
    std::lock_guard lock(requestLock_);
    pendingTouch_ = nullptr;
    pendingSequence_ = nullptr;
  }
  ReleaseOwnRope();
  HandBackOwnBell();
  if (views_.manual) views_.manual->setOwnBell(ownBell_);
}

// `stood`: the bells came to rest as their strokes allowed, so the row they
// were striking was rung whole, and no later blow will publish it.
void TowerWindow::EndTouch(bool stood) {
  {
    std::lock_guard lock(requestLock_);
    pendingTouch_ = nullptr;
    pendingSequence_ = nullptr;
    requestPending_ = false;
  }
  pauseAt_ = -1.0;
  std::unique_ptr<ChangeGenerator> ended;
  {
    std::lock_guard lock(touchLock_);
    if (stood && touch_) touch_->PublishLastRow();
    Ringing().currentTouch = nullptr;
    ended = std::move(touch_);
  }
  FlushStagedEvents();
  if (!quit_) PostEngineEvent(event::RingingEnded);
}

}  // namespace clangor
