// What a sound server is asked to hold for the bells, and how that answers
// the stream running dry: the period the server asks for at a time, four of
// them held, and room for the ringing loop to hand a blow over after its
// instant. A blow starts the whole of that after its instant, whatever the
// buffering, so the latency is constant until the buffering grows.
//
// The stream ran dry: the period doubles, up to the largest, and never
// shrinks again. A blow handed over after its first sample had gone (a busy
// machine kept the loop waiting) doubles the room. A period the user fixed
// stays as it is. No server needed: the device asks the server for what this
// says.
#pragma once

#include <cstdint>

#include "sound/underrun_watch.h"

namespace clangor {

// Periods the server is asked to hold.
constexpr int PulsePeriodsHeld = 4;

class PulseBuffering {
 public:
  static constexpr int HandOverFrames = 136;
  static constexpr int LargestHandOverFrames = 4352;

  // `fixedPeriod` > 0: the user's period, kept whatever happens.
  explicit PulseBuffering(int fixedPeriod = 0) : choice_(fixedPeriod) {}

  // What the server is asked for, in bytes of `frameBytes` a frame.
  struct Request {
    std::uint32_t target = 0;    // held in all
    std::uint32_t request = 0;   // asked for at a time
    std::uint32_t startAt = 0;   // held before it plays (again)
  };
  Request request(int frameBytes) const;

  int period() const { return choice_.period(); }
  bool fixed() const { return choice_.fixed(); }
  int bufferFrames() const { return choice_.period() * PulsePeriodsHeld; }
  int handOverFrames() const { return handOver_; }
  // From a blow's instant to its first sample.
  int latencyFrames() const { return bufferFrames() + handOver_; }

  // The server reported that the stream ran dry. True when the buffering
  // grew: the server is to be asked for request() again.
  bool ranDry() { return choice_.grow(); }
  // A blow reached the mixer after its first sample had gone. True when the
  // room grew.
  bool handedOverLate();

 private:
  BufferingChoice choice_;
  int handOver_ = HandOverFrames;
};

}  // namespace clangor
