#include "sound/output_limiter.h"

#include <algorithm>
#include <cmath>

namespace clangor {

namespace {

constexpr float Span = OutputLimiter::Ceiling - OutputLimiter::Threshold;
// Per frame at 44100 Hz: the lowered gain closes 1/e of its distance to whole
// in 100 ms.
constexpr double ReleaseKeep = 0.99977327;
// Below this distance from whole the gain is whole again, so that quiet
// passages after a loud one are bit-exact once more.
constexpr double WholeEnough = 1e-5;

// The gain that brings a peak above the threshold onto the knee: slope 1 at
// the threshold, approaching the ceiling and never reaching it.
double KneeGain(float peak) {
  const double bent = OutputLimiter::Threshold + Span * (1.0 - std::exp(-(peak - OutputLimiter::Threshold) / Span));
  return bent / peak;
}

}  // namespace

void OutputLimiter::apply(float* interleaved, int frames) {
  double gain = gain_;
  for (int f = 0; f < frames; ++f) {
    float* frame = interleaved + 2 * f;
    const float peak = std::max(std::abs(frame[0]), std::abs(frame[1]));
    if (gain == 1.0 && peak <= Threshold) continue;
    if (std::isnan(peak)) {  // a broken recording: silence, not a full-scale spike
      frame[0] = frame[1] = 0.0f;
      continue;
    }
    if (gain < 1.0) {
      gain = 1.0 - (1.0 - gain) * ReleaseKeep;
      if (1.0 - gain < WholeEnough) gain = 1.0;
    }
    if (peak * gain > Threshold) gain = std::min(gain, KneeGain(peak));
    frame[0] = static_cast<float>(frame[0] * gain);
    frame[1] = static_cast<float>(frame[1] * gain);
  }
  gain_ = gain;
}

}  // namespace clangor
