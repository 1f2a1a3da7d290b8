// What the engine tells the ropes window. The engine calls noteStruck and
// reset on its worker thread: the feed reads the bells' swings and the row
// there, where they are written, and hands the window a snapshot; it never
// touches a widget. bellsChanged and shiftTime come from the user-interface
// thread.
#pragma once

#include <atomic>

#include "engine/engine_views.h"
#include "views/ropesight.h"

namespace clangor {

class RopesContent;
class TowerWindow;

class RopesFeed final : public EngineRopesView {
 public:
  explicit RopesFeed(RopesContent& content) : content_(content) {}

  // The engine the feed reads (user-interface thread; null between towers).
  void SetEngine(TowerWindow* engine) { engine_ = engine; }

  void noteStruck(int bell) override;
  void shiftTime(double seconds) override;
  void reset() override;
  void bellsChanged(bool refresh) override;

 private:
  RopesContent& content_;
  std::atomic<TowerWindow*> engine_{nullptr};
};

}  // namespace clangor
