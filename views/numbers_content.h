// What the moving numbers window shows, kept apart from the window: the rows
// and times (a MovingNumbers) under the window's own lock, fed by the engine
// at every blow and animation step. The worker reads the row being rung
// (under the engine's touch lock, before taking this one: no code holds two
// locks) and asks for a repaint through a hook; the window draws from
// frame() on its own thread.
//
// Threads: advanceTo on the worker; Show, reset and shiftTime on the
// user-interface thread; frame from either.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

#include "engine/engine_views.h"
#include "views/moving_numbers.h"

namespace clangor {

class SettingsSource;
class TickSource;
class TowerWindow;

class NumbersContent final : public EngineNumbersView {
 public:
  // `repaint` is called on the worker when the strip should be drawn again;
  // it queues the drawing to the window's thread. `settings` (may be null)
  // gives HighlightBriefly afresh at each show and each start.
  NumbersContent(TickSource& ticks, std::function<void()> repaint, const SettingsSource* settings = nullptr)
      : ticks_(ticks), repaint_(std::move(repaint)), settings_(settings) {}

  void SetEngine(TowerWindow* engine) { engine_ = engine; }
  // Shown or hidden; either way the rows start again from the row being rung.
  void Show(bool shown);
  bool shown() const { return shown_; }
  NumbersFrame frame() const;
  // The number of bells taking part, or `towerBells` when none are.
  static int PlacesInPlay(int towerBells);

  // --- EngineNumbersView. ---
  void advanceTo(double time, int lastStruck) override;
  void reset() override;
  void shiftTime(double seconds) override;

  // The row being rung in the tower's bell numbers (the identity order when
  // nothing is rung); `bells` takes the number of bells in it.
  std::array<int, MaxBells> RowBeingRung(int* bells = nullptr) const;

 private:
  TickSource& ticks_;
  std::function<void()> repaint_;
  const SettingsSource* settings_;
  std::atomic<TowerWindow*> engine_{nullptr};
  std::atomic<bool> shown_{false};

  mutable std::mutex lock_;
  MovingNumbers numbers_;  // under lock_
};

}  // namespace clangor
