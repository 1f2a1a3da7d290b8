// The ringing state the engine, the bells and the views share: the ringing
// clock, the bells in play, the peal speed and the blow interval, Stand and
// firing, and the touch being rung. One object for the whole process, reached
// through Ringing(). Values that the other thread reads or writes are atomic;
// the tick bookkeeping is guarded by the clock's own lock (taken only inside
// the clock operations, never together with another lock).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

namespace clangor {

class ChangeGenerator;

inline constexpr int SlowestClockStep = -6;
inline constexpr int MinPealSpeed = 150;
inline constexpr int MaxPealSpeed = 240;

// Seconds between blows for a peal of 5000 changes in `pealMinutes`, with one
// extra interval (the handstroke gap) every two changes.
inline double BlowIntervalFor(int pealMinutes, int bells) {
  return pealMinutes * 0.024 / (2.0 * bells + 1.0);
}
// The blow interval per minute of peal speed.
inline double ChangeRateFor(int bells) { return 60.0 / (5000.0 * bells + 2500.0); }

struct RingingState {
  // --- The ringing clock (simulated seconds). ---
  std::atomic<double> clockFactor{1.0};     // simulated seconds per real second now
  std::atomic<double> maxClockFactor{1.0};  // the factor clockFactor is driven up to
  std::atomic<int> clockStep{0};            // maxClockFactor = sqrt(2) ^ clockStep
  std::atomic<double> clockReading{0.0};
  // Tick bookkeeping, under clockLock.
  double lastRealTime = 0.0;
  std::uint32_t lastTicks = 0;
  std::uint32_t tickWraps = 0;
  std::mutex clockLock;

  // --- The bells. ---
  std::atomic<int> bellsInPlay{0};    // selected for ringing
  std::atomic<int> bellsSwinging{0};  // not at rest; the ringing loop ends at 0
  std::atomic<int> pealSpeed{180};    // minutes for 5000 changes, 150 to 240
  std::atomic<int> pealSpeedInUse{180};
  std::atomic<double> blowInterval{BlowIntervalFor(180, 8)};
  std::atomic<double> changeRate{ChangeRateFor(8)};
  std::atomic<bool> standRequested{false};
  std::atomic<bool> firing{false};
  // The touch of the ringing loop now running; set only while two or more
  // bells are in play.
  std::atomic<ChangeGenerator*> currentTouch{nullptr};

  // --- Shared by the bells' per-blow step (worker thread). ---
  std::atomic<int> referenceSpeed{180};  // the speed whose control rows the bells use
  int rowBlows = 0;                      // blows struck in the current row
  std::atomic<int> firingStep{0};        // 0 to bellsInPlay; read by the Fire command
  bool standingRow = false;              // a row at handstroke has begun since Stand
  bool standingRows = false;             // a row has begun since Stand: the bells keep their places
  // Told (on the worker thread) when a new peal speed has reached the clock.
  std::function<void()> speedChangeCarriedOut;

  // Back to the state at start-up (for a new engine, and for tests).
  void Reset() {
    clockFactor = 1.0;
    maxClockFactor = 1.0;
    clockStep = 0;
    clockReading = 0.0;
    {
      std::lock_guard lock(clockLock);
      lastRealTime = 0.0;
      lastTicks = 0;
      tickWraps = 0;
    }
    bellsInPlay = 0;
    bellsSwinging = 0;
    pealSpeed = pealSpeedInUse = referenceSpeed = 180;
    blowInterval = BlowIntervalFor(180, 8);
    changeRate = ChangeRateFor(8);
    standRequested = false;
    firing = false;
    currentTouch = nullptr;
    rowBlows = firingStep = 0;
    standingRow = standingRows = false;
    speedChangeCarriedOut = nullptr;
  }
};

// The one ringing state of the process.
inline RingingState& Ringing() {
  static RingingState state;
  return state;
}

}  // namespace clangor
