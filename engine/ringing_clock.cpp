#include "engine/ringing_clock.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "platform/ticks.h"
#include "ringing/settings_source.h"

namespace clangor {

namespace {
constexpr double Root2 = 1.4142135623730951;
constexpr double TickWrap = 4294967296.0;

bool IsPealSpeed(int minutes) { return minutes >= MinPealSpeed && minutes <= MaxPealSpeed; }
}  // namespace

double ClockFactorForStep(int step) {
  const int half = step >= 0 ? step / 2 : -((1 - step) / 2);  // floor(step / 2)
  const double whole = std::ldexp(1.0, half);
  return (step - 2 * half) == 1 ? whole * Root2 : whole;
}

double ReadClock(const TickReader& ticks, bool adjust, bool* changed) {
  RingingState& r = Ringing();
  // The count is read under the lock: a reading taken before another
  // thread's later one but stored after it would look like a wrap of the
  // count and move the clock on by 49.7 days.
  std::lock_guard lock(r.clockLock);
  const std::uint32_t now = ticks();
  if (now < r.lastTicks) ++r.tickWraps;
  r.lastTicks = now;
  if (adjust) {
    const bool moved = AdjustClockFactor(true);
    if (changed) *changed = moved;
  }
  const double real = (now + r.tickWraps * TickWrap) * 0.001;
  const double elapsed = real - r.lastRealTime;
  r.lastRealTime = real;
  const double reading = r.clockReading + r.clockFactor * elapsed;
  r.clockReading = reading;
  return reading;
}

double ReadClock(const TickSource& ticks, bool adjust, bool* changed) {
  return ReadClock([&ticks] { return ticks.Ticks(); }, adjust, changed);
}

std::int64_t SteadyInstantOf(double clockTime) {
  RingingState& r = Ringing();
  double tickSeconds;
  {
    std::lock_guard lock(r.clockLock);
    tickSeconds = r.lastRealTime - (r.clockReading - clockTime) / r.clockFactor;
  }
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  const double nowMs = static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()) * 1e-6;
  // The tick count is the steady clock's milliseconds, wrapped: the instant
  // is the one with the same count nearest to now.
  double apart = std::fmod(tickSeconds * 1000.0 - std::fmod(nowMs, TickWrap), TickWrap);
  if (apart >= TickWrap / 2) apart -= TickWrap;
  if (apart < -TickWrap / 2) apart += TickWrap;
  return std::llround((nowMs + apart) * 1e6);
}

bool AdjustClockFactor(bool up) {
  RingingState& r = Ringing();
  double factor = r.clockFactor;
  if (!up) {
    r.clockFactor = factor * 0.975;
    return true;
  }
  const double target = r.maxClockFactor;
  bool moved = false;
  if (factor < target) {
    factor *= std::min(1.0 + 1.0 / factor, Root2);
    moved = true;
  }
  if (factor > target) {
    factor = target;
    moved = true;
  }
  r.clockFactor = factor;
  return moved;
}

void ResetClockSpeed() {
  RingingState& r = Ringing();
  r.clockStep = 0;
  r.maxClockFactor = 1.0;
  r.clockFactor = 1.0;
}

void SetClockStepFromSettings(int maxTimeFactor) {
  RingingState& r = Ringing();
  r.clockStep = maxTimeFactor;
  r.maxClockFactor = ClockFactorForStep(maxTimeFactor);
}

void SetClockStepFromSettings(const SettingsSource& settings) {
  SetClockStepFromSettings(settings.GetInt(setting::MaxTimeFactor));
}

void SlowestClockSpeed() {
  RingingState& r = Ringing();
  r.clockStep = SlowestClockStep;
  r.maxClockFactor = r.clockFactor = ClockFactorForStep(SlowestClockStep);
}

bool ChangeClockStep(bool up, bool followActual, int maxTimeFactor) {
  RingingState& r = Ringing();
  int step = r.clockStep;
  if (up) {
    if (++step > maxTimeFactor) return false;
  } else {
    --step;
    if (followActual) {
      const double actual = r.clockFactor;
      while (step > SlowestClockStep && ClockFactorForStep(step) >= actual) --step;
    }
    if (step < SlowestClockStep) return false;
  }
  r.clockStep = step;
  r.maxClockFactor = ClockFactorForStep(step);
  return true;
}

bool ChangeClockStep(bool up, bool followActual, const SettingsSource& settings) {
  return ChangeClockStep(up, followActual, settings.GetInt(setting::MaxTimeFactor));
}

void SetPealSpeed(int minutes) {
  RingingState& r = Ringing();
  if (IsPealSpeed(minutes)) r.pealSpeed = minutes;
  r.pealSpeedInUse = r.pealSpeed.load();
  r.referenceSpeed = r.pealSpeed.load();
}

void SetPendingPealSpeed(int minutes) {
  if (IsPealSpeed(minutes)) Ringing().pealSpeed = minutes;
}

void SetBlowInterval() {
  RingingState& r = Ringing();
  const int bells = r.bellsInPlay;
  r.blowInterval = BlowIntervalFor(r.pealSpeedInUse, bells);
  r.changeRate = ChangeRateFor(bells);
}

}  // namespace clangor
