#include "sound/device_clock.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace clangor {

namespace {

// The loop's bandwidth: wide while it settles, then narrow, so that a
// request woken late changes the pace it finds by very little.
constexpr double SettlingHz = 2.0;
constexpr double SettledHz = 0.3;
constexpr std::uint64_t SettlingPeriods = 200;

}  // namespace

DeviceClock::DeviceClock(std::uint32_t sampleRate, int latencyFrames)
    : sampleRate_(sampleRate), latencyFrames_(latencyFrames) {}

void DeviceClock::periodAsked(std::uint64_t frame, std::int64_t nowNs) {
  const double now = static_cast<double>(nowNs);
  if (periods_ == 0 || frame <= loopFrame_) {
    periods_ = 0;  // what was seen before belongs to another run of the device
    pastCount_ = 0;
    loopTime_ = now;
    loopFrame_ = frame;
    if (loopNsPerFrame_ == 0) loopNsPerFrame_ = 1e9 / sampleRate_;
  } else {
    // Second-order loop (Adriaensen, "Using a DLL to filter time").
    const double frames = static_cast<double>(frame - loopFrame_);
    const double predicted = loopTime_ + frames * loopNsPerFrame_;
    const double error = now - predicted;
    const double hz = periods_ < SettlingPeriods ? SettlingHz : SettledHz;
    const double omega = 2 * std::numbers::pi * hz * frames / sampleRate_;
    loopTime_ = predicted + std::numbers::sqrt2 * omega * error;
    loopNsPerFrame_ += omega * omega * error / frames;
    loopFrame_ = frame;
  }
  recent_[periods_++ % Recent] = {frame, now};
  const double pace = pace_();
  // The request woken least late, carried to this frame at that pace.
  double earliest = now;
  const std::uint64_t known = std::min<std::uint64_t>(periods_, Recent);
  for (std::uint64_t i = 0; i < known; ++i) {
    const Request& r = recent_[i];
    earliest = std::min(earliest, r.ns + static_cast<double>(frame - r.frame) * pace);
  }
  if (periods_ % Recent == 0) past_[pastCount_++ % Past] = {frame, earliest};
  sequence_.fetch_add(1);
  time_.store(earliest);
  frame_.store(frame);
  nsPerFrame_.store(pace);
  sequence_.fetch_add(1);
}

// The slope of the line from its oldest point still kept, once that lies a
// second or more back; the loop's estimate until then.
double DeviceClock::pace_() const {
  if (pastCount_ == 0) return loopNsPerFrame_;
  const Request& oldest = past_[pastCount_ >= Past ? pastCount_ % Past : 0];
  const Request& newest = past_[(pastCount_ - 1) % Past];
  const double frames = static_cast<double>(newest.frame - oldest.frame);
  if (frames < sampleRate_) return loopNsPerFrame_;
  return (newest.ns - oldest.ns) / frames;
}

void DeviceClock::restart(int latencyFrames) {
  latencyFrames_ = latencyFrames;
  periods_ = 0;
  loopFrame_ = 0;
}

std::uint64_t DeviceClock::frameForInstant(std::int64_t instantNs) const {
  double time, perFrame;
  std::uint64_t frame, before;
  do {
    before = sequence_.load();
    time = time_.load();
    frame = frame_.load();
    perFrame = nsPerFrame_.load();
  } while (before % 2 != 0 || sequence_.load() != before);
  if (before < 4 || perFrame <= 0) return 0;
  const double at = static_cast<double>(frame) + (static_cast<double>(instantNs) - time) / perFrame;
  const double start = std::llround(at) + static_cast<double>(latencyFrames_.load());
  return start < 1 ? 1 : static_cast<std::uint64_t>(start);
}

}  // namespace clangor
