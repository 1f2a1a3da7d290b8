// Headroom for the mix: a whole ring struck at once sums to more than full
// scale. The limiter leaves the mix untouched, bit for bit, while every
// sample stays within the threshold. Above it a soft knee bends the level
// towards the ceiling, which no sample passes, and the gain so lowered
// recovers smoothly over a tenth of a second. Both channels share one gain,
// so the stereo image holds.
#pragma once

namespace clangor {

class OutputLimiter {
 public:
  // Full scale is 1.0. Samples within the threshold pass unchanged while the
  // gain is whole; the ceiling is what the loudest peak approaches.
  static constexpr float Threshold = 0.75f;
  static constexpr float Ceiling = 0.97f;

  // Limits `frames` interleaved stereo frames in place.
  void apply(float* interleaved, int frames);
  // The gain on the last frame: 1.0 while nothing was limited.
  float gain() const { return static_cast<float>(gain_); }

 private:
  double gain_ = 1.0;  // double: a float would stall short of whole as it recovers
};

}  // namespace clangor
