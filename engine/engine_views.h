// What the engine feeds while it loads and rings: the tower view (pictures,
// drawing and the sound of each blow), the ropes, moving-numbers and
// manual-control windows, and the main window it reports to. The simulator's
// views implement these; the tests and the headless ringer implement them
// too. Every operation has a default that does nothing, so an owner overrides
// only what it shows.
//
// Threads: unless a comment says otherwise, the engine calls these on its
// worker thread. The drawing calls of EngineTowerView come under the engine's
// draw lock; nothing else is called under an engine lock.
#pragma once

#include <cstdint>
#include <span>

namespace clangor {

class Bell;

class EngineTowerView {
 public:
  virtual ~EngineTowerView() = default;
  // Set-up, under the draw lock: make the display and draw it whole.
  virtual void prepare() {}
  // Set-up after the first drawing (outside the draw lock).
  virtual void finishSetUp() {}
  // Makes the bell's picture surfaces, before its first picture is loaded.
  virtual void makeBellSurfaces(int /*bell*/) {}
  // Loads picture `picture` of the bell (outside the draw lock).
  virtual void loadBellPicture(int /*bell*/, int /*picture*/) {}
  // Loads the bell's recordings. `bells` are the bell records made so far,
  // bell i at index i; they never move, so a view may keep the span.
  virtual void loadBellSounds(int /*bell*/, std::span<Bell> /*bells*/) {}
  // Every bell is set up: from now on the view draws them (under the draw lock).
  virtual void setLoaded() {}
  // Draws one bell at `picture` (under the draw lock).
  virtual void drawBell(int /*bell*/, int /*picture*/) {}
  // Redraws everything (under the draw lock).
  virtual void redraw() {}
  // Sounds one blow. `forced` is true when the user taps the own bell
  // (user-interface thread), false from the ringing loop.
  virtual void soundBlow(int /*bell*/, bool /*forced*/) {}
  // Sounds one blow from the ringing loop whose instant was at `instantNs`
  // on the steady clock (the ringing clock's reading of it when the clock
  // runs on real time), so that a view with a sound device can start it a
  // constant time after that instant. By default as soundBlow.
  virtual void soundStruckBlow(int bell, std::int64_t /*instantNs*/) { soundBlow(bell, false); }
  // The surprise picture may be shown (set again by the status bar when the
  // name of what is rung calls for it).
  virtual void setSurpriseAllowed(bool /*allowed*/) {}
  // The worker is about to end: release pictures and sounds.
  virtual void release() {}
};

class EngineRopesView {
 public:
  virtual ~EngineRopesView() = default;
  // The bell that struck in the last sub-step, or -1 for none.
  virtual void noteStruck(int /*bell*/) {}
  // Moves its time base on by `seconds` (pause and step; user-interface thread).
  virtual void shiftTime(double /*seconds*/) {}
  virtual void reset() {}
  // The bells in play changed (user-interface thread): re-apply the own-rope
  // choice, and refresh when `refresh`.
  virtual void bellsChanged(bool /*refresh*/) {}
};

class EngineNumbersView {
 public:
  virtual ~EngineNumbersView() = default;
  // Ringing time `time`, with the last bell that struck (-1 for none).
  virtual void advanceTo(double /*time*/, int /*lastStruck*/) {}
  // The ringing clock was paused or stepped: its times move on by `seconds`
  // (user-interface thread).
  virtual void shiftTime(double /*seconds*/) {}
  // Start requested (user-interface thread).
  virtual void reset() {}
};

class EngineManualView {
 public:
  virtual ~EngineManualView() = default;
  // The own bell is now `bell` (-1 for none).
  virtual void setOwnBell(int /*bell*/) {}
  // The user's rope is pulled (true) or let go.
  virtual void setPulling(bool /*pulling*/) {}
  // One sub-step: the record that rings the own bell now.
  virtual void update(const Bell& /*record*/) {}
  // While the user holds the own rope, before each sub-step of the own-bell
  // record: how hard the rope is pulled now, 0 to 1. By default a full pull.
  virtual double pullStrength(const Bell& /*record*/) { return 1.0; }
};

// What the main window hears from the engine (worker thread unless noted;
// an implementation hands each on to its own thread).
class EngineListener {
 public:
  virtual ~EngineListener() = default;
  virtual void towerLoaded() {}
  virtual void pictureLoaded() {}
  // The event queue has entries (only while the clock step is below 5).
  virtual void eventsWaiting() {}
  // A bell the program rings struck at `time` on the ringing clock.
  virtual void bellStruck(int /*bell*/, double /*time*/) {}
  // A new peal speed has reached the clock.
  virtual void speedChangeCarriedOut() {}
  // A pull on the manual rope while stood asks for Start (user-interface thread).
  virtual void startCommand() {}
  // The worker did not end when the engine was destroyed (user-interface thread).
  virtual void workerStuck() {}
};

// The own bell's striking: where each of its blows belonged and where the
// user struck it (worker thread, except a tap: user-interface thread).
class EngineStrikingView {
 public:
  virtual ~EngineStrikingView() = default;
  // The bells have been started on a new touch.
  virtual void touchStarted() {}
  // The program's own swing of the own bell struck at `time`: where the
  // user's blow belonged.
  virtual void ownBlowDue(int /*bell*/, double /*time*/, bool /*handstroke*/) {}
  // The user struck the own bell at `time` (by the rope, or by a tap).
  virtual void ownBlowStruck(int /*bell*/, double /*time*/) {}
};

// The views the engine feeds; any may be null.
struct EngineViews {
  EngineTowerView* tower = nullptr;
  EngineRopesView* ropes = nullptr;
  EngineNumbersView* numbers = nullptr;
  EngineManualView* manual = nullptr;
  EngineListener* listener = nullptr;
  EngineStrikingView* striking = nullptr;
};

}  // namespace clangor
