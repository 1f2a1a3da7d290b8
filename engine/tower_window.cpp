// The engine's construction and ending, and the commands the user-interface
// thread gives it.
#include "engine/tower_window.h"

#include <chrono>
#include <cstdio>

#include "engine/ringing_clock.h"
#include "engine/ringing_state.h"
#include "platform/ticks.h"
#include "tower/tower.h"

namespace clangor {

std::atomic<TowerWindow*> TowerWindow::current_{nullptr};

TowerWindowPtr TowerWindow::Open(const EngineSetUp& setUp) {
  TowerWindowPtr engine(new TowerWindow(setUp));
  engine->worker_ = std::thread([e = engine.get()] { e->Run(); });
  return engine;
}

TowerWindow::TowerWindow(const EngineSetUp& setUp)
    : tower_(*setUp.tower),
      ticks_(*setUp.ticks),
      events_(*setUp.events),
      settings_(setUp.settings),
      usage_(setUp.usage),
      views_(setUp.views),
      quitWaitMs_(setUp.quitWaitMs),
      bellCount_(std::min(setUp.tower->bellCount(), MaxBells)) {
  RingingState& r = Ringing();
  r.bellsInPlay = 0;
  r.bellsSwinging = 0;
  r.standRequested = false;
  r.firing = false;
  r.currentTouch = nullptr;
  // Set before the worker starts and cleared after it ends. The bells say so
  // inside their advance, under the touch lock: the loop tells the listener after.
  r.speedChangeCarriedOut = [this] { speedChangeDone_ = true; };
  drawnThisPass_.assign(static_cast<std::size_t>(bellCount_), false);
  current_ = this;
}

TowerWindow::~TowerWindow() {
  Ringing().speedChangeCarriedOut = nullptr;
  Ringing().currentTouch = nullptr;
  TowerWindow* self = this;
  current_.compare_exchange_strong(self, nullptr);
}

void TowerWindowCloser::operator()(TowerWindow* engine) const {
  if (engine == nullptr) return;
  engine->quit_ = true;
  engine->wakeEvent_.Signal();
  bool ended;
  {
    std::unique_lock lock(engine->endLock_);
    ended = engine->ended_.wait_for(lock, std::chrono::milliseconds(engine->quitWaitMs_),
                                    [engine] { return engine->workerEnded_.load(); });
  }
  if (!ended) {
    // The worker still uses the engine, the tower, the views and the queue,
    // which the owner frees once we return: report it, and wait for it.
    std::fputc('\a', stderr);
    std::fflush(stderr);
    if (engine->views_.listener) engine->views_.listener->workerStuck();
  }
  engine->worker_.join();
  delete engine;
}

// ---------------------------------------------------------------- bells

void TowerWindow::SelectBell(int bell, int mode, bool deferWake) {
  if (loading_ || ringing_ || bell < 0 || bell >= bellCount_) return;
  auto& flag = inPlay_[static_cast<std::size_t>(bell)];
  const bool was = flag;
  const bool now = mode == 0 ? true : mode == 1 ? false : !was;
  if (now != was) {
    flag = now;
    Ringing().bellsInPlay += now ? 1 : -1;
  }
  if (views_.ropes) views_.ropes->bellsChanged(!deferWake);
  if (!deferWake) wakeEvent_.Signal();
}

bool TowerWindow::IsBellInPlay(int bell) const {
  return bell >= 0 && bell < bellCount_ && inPlay_[static_cast<std::size_t>(bell)];
}

const BellData* TowerWindow::BellDataOf(int bell) const {
  if (loading_ || bell < 0 || bell >= bellCount_) return nullptr;
  return &bells_[static_cast<std::size_t>(bell)].data();
}

const Bell* TowerWindow::WorkerSwingOf(int bell) const {
  if (bell < 0 || bell >= bellCount_ || static_cast<std::size_t>(bell) >= bells_.size()) return nullptr;
  if (bells_.size() > static_cast<std::size_t>(bellCount_) && ownBell_ == bell && bells_.back().active()) return &bells_.back();
  return &bells_[static_cast<std::size_t>(bell)];
}

int TowerWindow::TimingLevel(int bell, int speed) const {
  if (loading_ || bell < 0 || bell >= bellCount_) return -1;
  return bells_[static_cast<std::size_t>(bell)].timingLevel(speed);
}

int TowerWindow::BellAt(int x, int y) const {
  if (loading_) return -1;
  for (int i = bellCount_ - 1; i >= 0; --i) {
    const BellData& d = bells_[static_cast<std::size_t>(i)].data();
    if (x >= d.x && x < d.x + d.width && y >= d.y && y < d.y + d.height) return i;
  }
  return -1;
}

// ---------------------------------------------------------------- ringing

void TowerWindow::Start() {
  if (goRequested_ || quit_) return;
  goRequested_ = true;
  if (views_.numbers) views_.numbers->reset();
  wakeEvent_.Signal();
}

void TowerWindow::StandOrStop(bool now) {
  if (!now) {
    Ringing().standRequested = true;
    return;
  }
  // The worker puts the bells to rest at its next pass: they are its own.
  stopNow_ = true;
  ringing_ = false;
  goRequested_ = false;
  {
    // The whole request goes: a start after this rings rounds.
    std::lock_guard lock(requestLock_);
    pendingExtra_ = nullptr;
    pendingTouch_ = nullptr;
    pendingSequence_ = nullptr;
    requestPending_ = false;
  }
  wakeEvent_.Signal();
}

bool TowerWindow::paused() const {
  const double at = pauseAt_;
  return at >= 0.0 && clockNow_ >= at;
}

double TowerWindow::ShiftTo(double now, double pauseAt) {
  double shift;
  {
    std::lock_guard lock(shiftLock_);
    shift = now - (clockNow_ + pendingShift_);
    pendingShift_ += shift;
  }
  // The shift is owed before the loop may go on.
  pauseAt_ = pauseAt;
  if (views_.ropes) views_.ropes->shiftTime(shift);
  if (views_.numbers) views_.numbers->shiftTime(shift);
  return shift;
}

double TowerWindow::TogglePause() {
  if (workerEnded_) return 0.0;
  if (paused()) return ShiftTo(ReadClock(ticks_, false), -1.0);
  pauseAt_ = 0.0;
  return 0.0;
}

double TowerWindow::Step() {
  if (pauseAt_ < 0.0) return 0.0;
  const double now = ReadClock(ticks_, false);
  return ShiftTo(now, now + 0.05);
}

// ---------------------------------------------------------------- manual

void TowerWindow::PostManualSelect(int bell) {
  if (loading_) return;
  // The bell travels in the same word as the command: a select refused
  // because the mailbox is full leaves the waiting one as it was.
  int empty = 0;
  if (manualCommand_.compare_exchange_strong(empty, ManualSelect(bell))) wakeEvent_.Signal();
}

void TowerWindow::PostManualPull(bool down) {
  if (loading_) return;
  int empty = 0;
  if (manualCommand_.compare_exchange_strong(empty, down ? ManualPull : ManualRelease)) wakeEvent_.Signal();
  if (down && !ringing_ && !goRequested_ && views_.listener) views_.listener->startCommand();
}

void TowerWindow::SoundOwnBell(int bell) {
  if (views_.tower && bell >= 0 && bell < bellCount_) views_.tower->soundBlow(bell, true);
}

void TowerWindow::NoteOwnTap() {
  const int bell = ownBell_;
  if (views_.striking == nullptr || bell < 0 || !ringing_ || paused()) return;
  views_.striking->ownBlowStruck(bell, ReadClock(ticks_, false));
}

// ---------------------------------------------------------------- requests

void TowerWindow::RequestTouch(const Method* touch, CompositionSource* extra) {
  struct Seen {
    bool exists, idle, ringingComposition;
  };
  const Seen seen = WithTouch([this](ChangeGenerator* g) {
    if (g == nullptr) return Seen{false, true, false};
    const bool idle = !requestPending() && !g->roundsRequested && (g->holding() || g->sequence() != nullptr);
    return Seen{true, idle, g->composition() != nullptr};
  });
  std::lock_guard lock(requestLock_);
  if (!seen.exists || seen.idle) pendingExtra_ = extra;
  // A composition's methods are fixed. Anything else is taken, whatever the
  // touch is announcing: a method asked for mid-lead is spliced in at the
  // next lead end.
  if (seen.ringingComposition) return;
  pendingTouch_ = touch;
  requestPending_ = true;
}

void TowerWindow::RequestSequence(const CallChangeSequence* sequence) {
  const bool refused = WithTouch([this](ChangeGenerator* g) {
    if (g == nullptr) return false;
    return requestPending() || g->roundsRequested || !(g->holding() || g->sequence() != nullptr);
  });
  if (refused) return;
  std::lock_guard lock(requestLock_);
  if (pendingTouch_ != nullptr) return;
  pendingSequence_ = sequence;
  requestPending_ = true;
}

void TowerWindow::ClearPendingTouch() {
  std::lock_guard lock(requestLock_);
  // A request the loop has not taken yet is the ringer's latest choice: the
  // row of rounds that prompted this was rung before it was made.
  if (requestPending_) return;
  pendingTouch_ = nullptr;
}

// ---------------------------------------------------------------- drawing and events

void TowerWindow::Redraw() {
  if (views_.tower == nullptr) return;
  std::lock_guard lock(drawLock_);
  views_.tower->redraw();
}

void TowerWindow::DrawBell(int bell, int picture) {
  if (views_.tower == nullptr) return;
  std::lock_guard lock(drawLock_);
  views_.tower->drawBell(bell, picture);
}

void TowerWindow::RedrawFromWorker() {
  Redraw();
  if (views_.ropes) views_.ropes->noteStruck(-1);
}

void TowerWindow::PostEngineEvent(int code) {
  events_.Post(EngineEvent{code, {}, {}});
  if (Ringing().clockStep < 5 && views_.listener) views_.listener->eventsWaiting();
}

void TowerWindow::FlushStagedEvents() {
  std::vector<EngineEvent> taken;
  {
    std::lock_guard lock(touchLock_);
    if (staged_.empty()) return;
    taken.swap(staged_);
  }
  events_.Post(taken);
  if (Ringing().clockStep < 5 && views_.listener) views_.listener->eventsWaiting();
}

}  // namespace clangor
