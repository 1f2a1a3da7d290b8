// The ringing engine: the worker half of the tower window. One exists per
// loaded tower. Its worker thread loads the bells with their pictures and
// sounds, raises and lowers bells one picture per pass, and runs the ringing
// loop, which swings every bell in play on the ringing clock in sub-steps of
// at most 0.1 simulated seconds, draws and sounds every blow, feeds the
// ropes, moving-numbers and manual windows and posts engine events.
//
// Threads: the public operations belong to the user-interface thread unless
// their comment says otherwise. The worker reads the flags they set (atomics),
// the request slot (under its own lock), the manual mailbox (atomics) and the
// wake event. The change generator lives on the worker thread; the user
// interface reaches it only through WithTouch, under the touch lock. No code
// holds two of the engine's locks at once.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/engine_event_queue.h"
#include "engine/engine_views.h"
#include "engine/ringing_state.h"
#include "engine/wake_event.h"
#include "ringing/bells.h"
#include "ringing/change_generator.h"
#include "ringing/generator_owner.h"
#include "tower/bell.h"

namespace clangor {

class CompositionSource;
class SettingsSource;
class TickSource;
class Tower;
class UsageOrder;
struct CallChangeSequence;
struct Method;

// What the engine is built from. The tower, the tick source, the queue, the
// settings and the views must outlive the engine.
struct EngineSetUp {
  Tower* tower = nullptr;
  TickSource* ticks = nullptr;
  EngineEventQueue* events = nullptr;
  SettingsSource* settings = nullptr;  // per-tower PealMins; the generator's settings
  UsageOrder* usage = nullptr;         // the library's most-recently-rung order, or null
  EngineViews views;
  // Milliseconds the closer waits for the worker before it reports it stuck.
  int quitWaitMs = 5000;
};

class TowerWindow;

// Stops the worker and frees the engine. A worker that does not end within
// the wait is reported stuck (a beep and the listener), and the closer waits
// on for it: nothing the worker uses is freed under it.
struct TowerWindowCloser {
  void operator()(TowerWindow* engine) const;
};
using TowerWindowPtr = std::unique_ptr<TowerWindow, TowerWindowCloser>;

class TowerWindow final : public GeneratorOwner {
 public:
  // Makes the engine and starts its worker thread, which loads the tower.
  static TowerWindowPtr Open(const EngineSetUp& setUp);
  // The engine while one exists, else null.
  static TowerWindow* Current() { return current_.load(); }


  // --- Commands (user-interface thread). ---
  // mode 0 selects, 1 deselects, anything else toggles. Ignored while
  // loading or ringing and for a bell outside the tower.
  void SelectBell(int bell, int mode, bool deferWake = false);
  void Start();
  // Stand (false): the bells stand as their strokes allow. Stop Now (true):
  // every bell at rest at once; the loop ends and posts event 12.
  void StandOrStop(bool now);
  // Both return the simulated seconds by which the bells' times were shifted.
  double TogglePause();
  double Step();
  void PostManualSelect(int bell);
  void PostManualPull(bool down);
  // The request slot: what the generator takes at the next pass.
  void RequestTouch(const Method* touch, CompositionSource* extra);
  void RequestSequence(const CallChangeSequence* sequence);
  // The main window clears the pending touch when a row of rounds is rung.
  void ClearPendingTouch();
  void SetDrawingSuspended(bool suspended) { drawingSuspended_ = suspended; }
  // Redraws the whole view under the draw lock (painting, sizing).
  void Redraw();
  // Runs `action` under the draw lock: the window copies the composed frame
  // to the screen while the worker cannot draw into it.
  template <class Action>
  void WithDrawLock(Action&& action) {
    std::lock_guard lock(drawLock_);
    action();
  }
  // The bell whose rectangle (base-picture pixels) holds the point, or -1.
  int BellAt(int x, int y) const;
  bool IsBellInPlay(int bell) const;
  // The highest timing class bell's table holds at peal speed `speed`
  // (0 to 3), or -1 while loading. Reads only the tower's table.
  int TimingLevel(int bell, int speed) const;
  // The user taps the own bell: sounds it now.
  void SoundOwnBell(int bell);
  // The user tapped the own bell: the instant goes to the striking view
  // while the bells ring and are not paused.
  void NoteOwnTap();
  // Runs `action` with the touch being rung (null when none, or with a single
  // bell in play) under the touch lock; events it makes are queued after.
  template <class Action>
  auto WithTouch(Action&& action) {
    std::unique_lock lock(touchLock_);
    ChangeGenerator* touch = Ringing().currentTouch;
    if constexpr (std::is_void_v<decltype(action(touch))>) {
      action(touch);
      lock.unlock();
      FlushStagedEvents();
    } else {
      auto result = action(touch);
      lock.unlock();
      FlushStagedEvents();
      return result;
    }
  }

  // --- State (either thread). ---
  int bellCount() const { return bellCount_; }
  bool loading() const { return loading_; }
  bool ringing() const { return ringing_; }
  bool goRequested() const { return goRequested_; }
  // A request is pending until the touch has taken it.
  bool requestPending() const { return requestPending_ || handingOver_; }
  bool paused() const;
  double clockNow() const { return clockNow_; }
  // The bell the own-bell record stands for, -1 for none.
  int ownBell() const { return ownBell_; }
  // What the tower's files say about a bell: fixed once loading is over
  // (null while loading, or outside the tower).
  const BellData* BellDataOf(int bell) const;
  // The record that swings bell `bell` now: its own, or the own-bell record
  // while the user rings it by hand. Worker thread only: the views read it
  // inside the calls the engine makes to them.
  const Bell* WorkerSwingOf(int bell) const;
  bool workerEnded() const { return workerEnded_; }
  // Passes of the idle loop so far: it waits when nothing moves, so this
  // stays low while the tower stands idle.
  long idlePasses() const { return idlePasses_; }
  // The engine is being destroyed.
  bool quitRequested() const { return quit_; }
  void SetSilent(bool silent) { silent_ = silent; }

  // GeneratorOwner: called by the generator under the touch lock.
  void PostEvent(EngineEvent event) override { staged_.push_back(std::move(event)); }
  bool IsSilent() const override { return silent_; }

 private:
  explicit TowerWindow(const EngineSetUp& setUp);
  ~TowerWindow() override;
  friend struct TowerWindowCloser;

  // Worker thread.
  void Run();
  void LoadBells();
  void LoadNextPicture(Bell& bell);
  struct IdlePassResult {
    int owingBell = -1;               // a bell not in play that still owes pictures
    bool bellInPlaySeen = false;
    bool bellsInPlayCanRing = true;   // no bell in play lacks its swing
  };
  void IdleLoop();
  IdlePassResult IdlePass();
  void ServeIdleMailbox();
  void RingingLoop();
  void StartBells(std::vector<double>& offsets);
  bool RingingPass(int& lastStruck);
  void TakeRequest();
  void ApplyPendingShift();
  void AdvanceRecordTo(int index, double t, int& lastStruck, bool& redrawOwed);
  void UpdateManual(const Bell& record);
  void NoteOwnStriking(int index, int bell, const Bell& record);
  void ServeRingingMailbox();
  void FinishRinging();
  void EndTouch(bool stood);
  void StopAllBells();
  void DrawBell(int bell, int picture);
  void RedrawFromWorker();
  void PostEngineEvent(int code);
  void FlushStagedEvents();
  bool CanSelectOwnBell(int bell) const;
  void SetOwnBell(int bell);
  void ReleaseOwnRope();
  void HandBackOwnBell();
  Bell* OwnRecord();
  bool OwnRecordActive();
  // User-interface thread: shifts the bells by the clock's advance since the
  // last pass; `pauseAt` is where the loop halts next.
  double ShiftTo(double now, double pauseAt);

  static std::atomic<TowerWindow*> current_;

  Tower& tower_;
  TickSource& ticks_;
  EngineEventQueue& events_;
  SettingsSource* settings_;
  UsageOrder* usage_;
  EngineViews views_;
  const int quitWaitMs_;
  const int bellCount_;

  // The bell records, the own-bell record last. Built by the worker while
  // loading; never resized after.
  std::vector<Bell> bells_;
  std::array<std::atomic<bool>, MaxBells> inPlay_{};
  std::vector<bool> drawnThisPass_;

  std::atomic<double> clockNow_{0.0};
  std::atomic<double> pauseAt_{-1.0};
  // Shift owed to the bells by pause and step, applied by the worker.
  double pendingShift_ = 0.0;
  std::mutex shiftLock_;

  WakeEvent wakeEvent_;
  std::mutex drawLock_;
  std::atomic<bool> drawingSuspended_{false};
  std::atomic<bool> loading_{true};
  std::atomic<bool> allAtRest_{false};
  std::atomic<bool> goRequested_{false};
  std::atomic<bool> ringing_{false};
  std::atomic<bool> quit_{false};
  std::atomic<bool> stopNow_{false};
  bool stoppedAtOnce_ = false;  // worker: Stop Now ended this ringing
  std::atomic<bool> handingOver_{false};  // a request taken from the slot, not yet in the touch
  std::atomic<bool> silent_{false};
  std::atomic<bool> workerEnded_{false};
  std::atomic<long> idlePasses_{0};
  std::atomic<bool> speedChangeDone_{false};

  // The manual mailbox, one word: 0 empty; otherwise the command in its low
  // bits (1 own bell, 2 pull, 3 release) and, for 1, the bell + 1 above them.
  static constexpr int ManualPull = 2;
  static constexpr int ManualRelease = 3;
  static constexpr int ManualKindBits = 2;
  static constexpr int ManualSelect(int bell) { return 1 | ((bell < 0 ? 0 : bell + 1) << ManualKindBits); }
  static constexpr int ManualKind(int word) { return word & ((1 << ManualKindBits) - 1); }
  static constexpr int ManualBell(int word) { return (word >> ManualKindBits) - 1; }
  std::atomic<int> manualCommand_{0};
  std::atomic<int> ownBell_{-1};
  bool ownRopeHeld_ = false;  // worker: the user holds the own rope

  // The request slot.
  std::mutex requestLock_;
  CompositionSource* pendingExtra_ = nullptr;
  const Method* pendingTouch_ = nullptr;
  const CallChangeSequence* pendingSequence_ = nullptr;
  std::atomic<bool> requestPending_{false};

  // The touch: made and destroyed by the ringing loop under touchLock_.
  std::mutex touchLock_;
  std::unique_ptr<ChangeGenerator> touch_;
  std::vector<EngineEvent> staged_;  // under touchLock_

  std::mutex endLock_;
  std::condition_variable ended_;
  std::thread worker_;
};

}  // namespace clangor
