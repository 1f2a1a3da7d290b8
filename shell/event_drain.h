// The main window's drain of the engine's event queue: what each event code
// does to the status texts and the rows, and what it asks of the window.
// Plain code: the window is reached through DrainTarget, so a test drives it
// from a scripted queue.
#pragma once

#include <string>

namespace clangor {

class EngineEventQueue;
class RowsStore;

// What the status bar shows of the touch being rung.
struct TouchStatus {
  std::string nameText;  // what is being rung
  std::string rowText;   // the last row
  std::string callText;  // the last call
  std::string noteText;
  int rowCount = 0;      // rows rung in this touch
};

// More events than this waiting lower the clock speed, once per drain.
inline constexpr std::size_t EventBacklogLimit = 100;

class DrainTarget {
 public:
  virtual ~DrainTarget() = default;
  virtual void paneChanged(int /*pane*/) {}
  virtual void titleChanged() {}
  // The tool bar's call button (made: pressed).
  virtual void callButtonChanged(bool /*made*/) {}
  virtual void toolBarChanged() {}
  virtual void decreaseClockSpeed() {}
  virtual void clearPendingTouch() {}
  // A row of rounds before the touch: the touch's time starts now.
  virtual void startTouchClock() {}
  // The ringing ended: tips back on, the clock speed reset.
  virtual void ringingEnded() {}
  // The rows pane shows the store afresh (once per drain).
  virtual void rowsChanged() {}
};

// Takes every waiting event, oldest first, and acts on it; returns how many.
int DrainEvents(EngineEventQueue& queue, TouchStatus& status, RowsStore& rows, DrainTarget& target);

}  // namespace clangor
