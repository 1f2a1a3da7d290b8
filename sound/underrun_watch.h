// Whether a sound device ran dry, and how much buffering to ask for next.
//
// A device asks for a period when it has room for one, holding what it was
// given before: a request that comes later after the one before than all it
// held takes to play came too late, and the device played a gap. Judging
// each request by the one before keeps the watch free of the drift between
// the device's clock and the steady clock. The buffering then grows, and never returns below
// what held; a buffering the user fixed stays as it is.
#pragma once

#include <cstdint>

namespace clangor {

class UnderrunWatch {
 public:
  // `periodsHeld`: how many periods the device holds besides the one it is
  // playing when it asks for the next.
  UnderrunWatch(std::uint32_t sampleRate, int periodsHeld = 1);

  // The device asks for `frames` more frames at steady time `nowNs`; true
  // when it had run dry before the request. Audio thread.
  bool periodAsked(int frames, std::int64_t nowNs);
  std::uint64_t underruns() const { return underruns_; }
  // Starts afresh (the device was reopened).
  void restart() { asked_ = 0; }

 private:
  const double nsPerFrame_;
  const int periodsHeld_;
  // Requests since the device (re)started: its first few come as it fills
  // its buffers and are not judged.
  int asked_ = 0;
  double lastAsked_ = 0;  // ns
  int lastFrames_ = 0;
  std::uint64_t underruns_ = 0;
};

// The device period, which is its buffering: the smallest that holds.
class BufferingChoice {
 public:
  static constexpr int SmallestPeriod = 128;
  static constexpr int LargestPeriod = 4096;

  // `fixedPeriod` > 0: the user's choice, kept whatever happens; else
  // `startPeriod` to start with (SmallestPeriod when 0).
  explicit BufferingChoice(int fixedPeriod = 0, int startPeriod = 0);
  int period() const { return period_; }
  bool fixed() const { return fixed_; }
  // After an underrun: the next larger period, or false when it cannot grow.
  bool grow();

 private:
  int period_;
  bool fixed_;
};

// The period the user fixed with CLANGOR_SOUND_PERIOD, or 0 when none.
int FixedSoundPeriod();

// The steady clock in nanoseconds: what the devices judge their requests by.
std::int64_t SteadyNs();

}  // namespace clangor
