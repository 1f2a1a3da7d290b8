// An engine on a tower written by the test: bells of one period whose control
// table swings them steadily, on a simulated clock that the worker's own
// sleeps move on, with views that record what the engine told them.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "engine/engine_event_queue.h"
#include "engine/ringing_state.h"
#include "engine/tower_window.h"
#include "platform/ticks.h"
#include "shell/settings_store.h"
#include "tests/tower/bell_fixture.h"
#include "tower/tower.h"

namespace clangor::testing {

// Records blows, loading and drawing; every call may come from the worker.
class RecordingViews : public EngineTowerView, public EngineListener, public EngineRopesView {
 public:
  struct Blow {
    int bell;
    double time;
    int side = 0;        // 1: struck at the handstroke angle
    int nextTiming = 0;  // the timing class the bell took for its next blow
  };
  void bellStruck(int bell, double time) override {
    Blow blow{bell, time};
    if (static_cast<std::size_t>(bell) < records_.size()) {
      const SwingState& s = records_[static_cast<std::size_t>(bell)].state();
      blow.side = s.handstrokeNext ? 0 : 1;
      blow.nextTiming = s.nextTiming;
    }
    std::size_t count;
    {
      std::lock_guard lock(lock_);
      blows_.push_back(blow);
      count = blows_.size();
    }
    if (onBlow) onBlow(count);
  }
  // The engine's bell records, as the tower view is given them.
  void loadBellSounds(int, std::span<Bell> bells) override { records_ = bells; }
  void makeBellSurfaces(int bell) override {
    {
      std::lock_guard lock(lock_);
      surfaces_.push_back(bell);
    }
    if (onSurfaces) onSurfaces(bell);
  }
  void soundBlow(int, bool forced) override { (forced ? taps : sounded)++; }
  void towerLoaded() override { loaded = true; }
  void pictureLoaded() override { pictures++; }
  void speedChangeCarriedOut() override { speedChanges++; }
  void shiftTime(double seconds) override {
    std::lock_guard lock(lock_);
    ropeShift_ += seconds;
  }

  std::vector<Blow> blows() const {
    std::lock_guard lock(lock_);
    return blows_;
  }
  void ClearBlows() {
    std::lock_guard lock(lock_);
    blows_.clear();
  }
  std::vector<int> surfaces() const {
    std::lock_guard lock(lock_);
    return surfaces_;
  }
  double ropeShift() const {
    std::lock_guard lock(lock_);
    return ropeShift_;
  }

  std::function<void(int)> onSurfaces;  // runs on the worker
  std::function<void(std::size_t)> onBlow;  // runs on the worker with the count of blows so far
  std::function<void()> onStuck;
  std::atomic<bool> released{false}, stuck{false};
  void release() override { released = true; }
  void workerStuck() override {
    stuck = true;
    if (onStuck) onStuck();
  }
  std::atomic<bool> loaded{false};
  std::atomic<int> pictures{0}, sounded{0}, taps{0}, speedChanges{0};

 private:
  mutable std::mutex lock_;
  std::vector<Blow> blows_;
  std::vector<int> surfaces_;
  double ropeShift_ = 0;
  std::span<Bell> records_;  // set while loading, before any blow
};

// Waits (in real time, only as a guard against a hang) until `done` holds.
inline bool WaitUntil(const std::function<bool()>& done, int guardSeconds = 60) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(guardSeconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

class EngineTest : public TowerFolderTest {
 protected:
  void SetUp() override {
    TowerFolderTest::SetUp();
    Ringing().Reset();
  }
  void TearDown() override {
    engine_.reset();
    tower_.reset();
    settings_.reset();
    Ringing().Reset();
    TowerFolderTest::TearDown();
  }

  // Writes a tower of `bells` bells with the same swing and loads it.
  void WriteTower(int bells, const std::vector<double>& table = {}, const std::string& extra = "") {
    WriteFile("tower.txt", "[Tower]\nRAM=16\nPealMins=180\n");
    WriteTable(bells, 1, table.empty() ? SteadyTable(bells, SpeedToTurnAt(2.0, 178.5)) : table);
    std::string control = "[Base Image]\nWidth=640\nHeight=480\n\n";
    for (int b = 1; b <= bells; ++b)
      control += BellSection(b, extra + "XPos=" + std::to_string(b * 40) + "\nYPos=10\nWidth=30\nHeight=30\n");
    WriteFile("control.txt", control);
    settings_ = std::make_unique<SettingsStore>();
    tower_ = std::make_unique<Tower>("Test", *settings_);
  }

  // The tower written, the simulated clock, the queue, and views_ as the
  // tower view and the listener.
  EngineSetUp BasicSetUp() {
    EngineSetUp setUp;
    setUp.tower = tower_.get();
    setUp.ticks = &ticks_;
    setUp.events = &queue_;
    setUp.views.tower = &views_;
    setUp.views.listener = &views_;
    return setUp;
  }

  TowerWindow& Open(int bells = 3) {
    if (!tower_) WriteTower(bells);
    EngineSetUp setUp = BasicSetUp();
    setUp.settings = settings_.get();
    setUp.views.ropes = &views_;
    engine_ = TowerWindow::Open(setUp);
    EXPECT_TRUE(WaitUntil([&] { return !engine_->loading(); }));
    return *engine_;
  }

  void SelectAll(int bells) {
    for (int b = 0; b < bells; ++b) engine_->SelectBell(b, 0);
  }

  // Drains the queue into events_ and counts events with `code`.
  int Count(int code) {
    for (auto& e : queue_.Drain()) events_.push_back(std::move(e));
    int n = 0;
    for (const auto& e : events_) n += e.code == code ? 1 : 0;
    return n;
  }
  bool WaitForEvent(int code, int times = 1) {
    return WaitUntil([&] { return Count(code) >= times; });
  }
  bool WaitForBlows(std::size_t count) {
    return WaitUntil([&] { return views_.blows().size() >= count; });
  }

  SimulatedTickSource ticks_{1000};
  EngineEventQueue queue_;
  RecordingViews views_;
  std::vector<EngineEvent> events_;
  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<Tower> tower_;
  TowerWindowPtr engine_;
};

}  // namespace clangor::testing
