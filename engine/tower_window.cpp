// The engine's construction and ending, and the commands the user-interface
// thread gives it.
#include "engine/tower_window.h"

#include <chrono>

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
    ended = engine->ended_.wait_for(lock, std::chrono::milliseconds(TowerWindow::QuitWaitMs),
                                    [engine] { return engine->workerEnded_.load(); });
  }
  if (!ended) {
    // The worker still uses the engine: report it and leave both alive.
    if (engine->views_.listener) engine->views_.listener->workerStuck();
    engine->worker_.detach();
    TowerWindow* self = engine;
    TowerWindow::current_.compare_exchange_strong(self, nullptr);
    return;
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
    std::lock_guard lock(requestLock_);
    pendingTouch_ = nullptr;
    pendingSequence_ = nullptr;
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
  int empty = 0;
  manualBell_ = bell;
  if (manualCommand_.compare_exchange_strong(empty, 1)) wakeEvent_.Signal();
}

void TowerWindow::PostManualPull(bool down) {
  if (loading_) return;
  int empty = 0;
  if (manualCommand_.compare_exchange_strong(empty, down ? 2 : 3)) wakeEvent_.Signal();
  if (down && !ringing_ && !goRequested_ && views_.listener) views_.listener->startCommand();
}

void TowerWindow::SoundOwnBell(int bell) {
  if (views_.tower && bell >= 0 && bell < bellCount_) views_.tower->soundBlow(bell, true);
}

// ---------------------------------------------------------------- requests

void TowerWindow::RequestTouch(const Method* touch, CompositionSource* extra) {
  struct Seen {
    bool exists, idle, ringingComposition, announcing;
  };
  const Seen seen = WithTouch([this](ChangeGenerator* g) {
    if (g == nullptr) return Seen{false, true, false, false};
    const bool idle = !requestPending() && !g->roundsRequested && (g->holding() || g->sequence() != nullptr);
    return Seen{true, idle, g->composition() != nullptr, g->announceCountdown() > 0};
  });
  std::lock_guard lock(requestLock_);
  if (!seen.exists || seen.idle) pendingExtra_ = extra;
  if (seen.ringingComposition || seen.announcing) return;
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
