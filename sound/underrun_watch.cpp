#include "sound/underrun_watch.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace clangor {

namespace {

// A request this much past the end of what was held is still in time: the
// device's own clock and the steady clock drift a little apart.
constexpr double ToleranceNs = 200'000;
constexpr int SettlingRequests = 8;

}  // namespace

UnderrunWatch::UnderrunWatch(std::uint32_t sampleRate, int periodsHeld)
    : nsPerFrame_(1e9 / sampleRate), periodsHeld_(std::max(periodsHeld, 0)) {}

bool UnderrunWatch::periodAsked(int frames, std::int64_t nowNs) {
  const double now = static_cast<double>(nowNs);
  const bool ranDry = asked_ >= SettlingRequests &&
                      now - lastAsked_ > lastFrames_ * nsPerFrame_ * (periodsHeld_ + 1) + ToleranceNs;
  if (ranDry) ++underruns_;
  if (asked_ < SettlingRequests) ++asked_;
  lastAsked_ = now;
  lastFrames_ = frames;
  return ranDry;
}

BufferingChoice::BufferingChoice(int fixedPeriod, int startPeriod)
    : period_(fixedPeriod > 0   ? std::clamp(fixedPeriod, 16, LargestPeriod)
              : startPeriod > 0 ? std::clamp(startPeriod, SmallestPeriod, LargestPeriod)
                                : SmallestPeriod),
      fixed_(fixedPeriod > 0) {}

bool BufferingChoice::grow() {
  if (fixed_ || period_ >= LargestPeriod) return false;
  period_ = std::min(period_ * 2, LargestPeriod);
  return true;
}

int FixedSoundPeriod() {
  const char* text = std::getenv("CLANGOR_SOUND_PERIOD");
  return text ? std::atoi(text) : 0;
}

std::int64_t SteadyNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace clangor
