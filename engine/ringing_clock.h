// The ringing clock and its speed controls, the peal speed, and the blow
// interval. All act on the process-wide ringing state (Ringing()).
#pragma once

#include <cstdint>
#include <functional>

#include "engine/ringing_state.h"

namespace clangor {

class SettingsSource;
class TickSource;

// The millisecond tick count the clock reads: a 32-bit count that wraps.
// The engine passes the platform's tick source; tests and the headless ringer
// pass simulated time.
using TickReader = std::function<std::uint32_t()>;

// sqrt(2) raised to `step`, exact for even steps (1.0 at 0, 64.0 at 12).
double ClockFactorForStep(int step);

// Reads the ringing clock in simulated seconds. With `adjust`, first drives
// clockFactor towards maxClockFactor and reports through `changed` whether it
// moved. Either thread.
double ReadClock(const TickReader& ticks, bool adjust, bool* changed = nullptr);
double ReadClock(const TickSource& ticks, bool adjust, bool* changed = nullptr);

// The instant on the steady clock (nanoseconds since its epoch) at which the
// ringing clock showed `clockTime`, for a clock that reads SteadyTickSource:
// back from the clock's last reading by the distance over the clock factor,
// the count's wraps placed by the steady clock now. What the sound needs to
// start each blow a constant time after its instant. Either thread.
std::int64_t SteadyInstantOf(double clockTime);

// Worker thread (the ringing loop). Up: raises clockFactor towards
// maxClockFactor (by at most 1.0 and at most a factor sqrt(2)); down: lowers
// it by 2.5 %. Returns whether it changed.
bool AdjustClockFactor(bool up);

// The clock-speed commands: user-interface thread.
void ResetClockSpeed();
// clockStep = `maxTimeFactor` (the MaxTimeFactor setting).
void SetClockStepFromSettings(int maxTimeFactor);
void SetClockStepFromSettings(const SettingsSource& settings);
void SlowestClockSpeed();

// One step of the clock-speed commands. Down with `followActual` lands just
// below the factor actually reached. Returns whether the step changed.
bool ChangeClockStep(bool up, bool followActual, int maxTimeFactor);
bool ChangeClockStep(bool up, bool followActual, const SettingsSource& settings);

// User-interface thread (SetPealSpeed also on the worker as it starts).
// Sets the peal speed (150 to 240 minutes) now, with the bells' reference
// speed; out of range it re-aligns the speed in use with pealSpeed.
void SetPealSpeed(int minutes);
// Sets the speed the bells adopt stroke by stroke while ringing.
void SetPendingPealSpeed(int minutes);

// Worker thread. When the first bell of a ringing loop starts: the blow
// interval and the change rate for the bells in play at the speed in use.
void SetBlowInterval();

}  // namespace clangor
