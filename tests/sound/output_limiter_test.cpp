#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "sound/mixer.h"
#include "sound/output_limiter.h"
#include "sound/sample_buffer.h"

namespace clangor {
namespace {

// Interleaved stereo noise of `frames` frames, peaking at `peak`.
std::vector<float> Noise(int frames, float peak, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> uniform(-peak, peak);
  std::vector<float> out(static_cast<std::size_t>(frames) * 2);
  for (float& v : out) v = uniform(random);
  out[7] = peak;
  return out;
}

TEST(OutputLimiter, LeavesTheMixBitForBitWhileItStaysWithinTheThreshold) {
  OutputLimiter limiter;
  std::vector<float> quiet = Noise(44100, OutputLimiter::Threshold, 1);
  const std::vector<float> before = quiet;
  limiter.apply(quiet.data(), 44100);
  EXPECT_EQ(quiet, before);
  EXPECT_EQ(limiter.gain(), 1.0f);

  // After a loud passage the gain comes back whole, and the quiet is
  // bit-exact again.
  std::vector<float> loud = Noise(4410, 3.0f, 2);
  limiter.apply(loud.data(), 4410);
  EXPECT_LT(limiter.gain(), 0.5f);
  std::vector<float> after = Noise(3 * 44100, 0.1f, 3);
  limiter.apply(after.data(), 3 * 44100);
  EXPECT_EQ(limiter.gain(), 1.0f);
  std::vector<float> again = Noise(1000, OutputLimiter::Threshold, 4);
  const std::vector<float> unchanged = again;
  limiter.apply(again.data(), 1000);
  EXPECT_EQ(again, unchanged);
}

TEST(OutputLimiter, NeverPassesTheCeilingAndRecoversWithoutAStep) {
  OutputLimiter limiter;
  for (const float peak : {0.76f, 0.97f, 1.0f, 2.0f, 12.0f, 1000.0f}) {
    SCOPED_TRACE(peak);
    std::vector<float> mix = Noise(2000, peak, 5);
    limiter.apply(mix.data(), 2000);
    for (const float v : mix) ASSERT_LE(std::abs(v), OutputLimiter::Ceiling);
  }
  // A steady tone after the loud noise: its level rises smoothly as the gain
  // recovers, by far less than a step per frame.
  std::vector<float> tone(2 * 4410, 0.3f);
  limiter.apply(tone.data(), 4410);
  for (std::size_t i = 2; i < tone.size(); i += 2) {
    ASSERT_GE(tone[i], tone[i - 2]);
    ASSERT_LT(tone[i] - tone[i - 2], 0.001f);
  }
}

TEST(OutputLimiter, ABrokenRecordingIsSilenceNotAFullScaleSpike) {
  OutputLimiter limiter;
  std::vector<float> mix{0.1f, 0.1f, std::nanf(""), 0.2f, 0.3f, 0.3f};
  limiter.apply(mix.data(), 3);
  EXPECT_EQ(mix, (std::vector<float>{0.1f, 0.1f, 0.0f, 0.0f, 0.3f, 0.3f}));
}

// Through the mixer: full-scale recordings struck together at full volume
// come out loud but short of full scale, on both channels.
TEST(OutputLimiter, TheMixersOutputNeverReachesFullScale) {
  Mixer mixer;
  std::vector<std::int16_t> square(4410);
  for (std::size_t i = 0; i < square.size(); ++i) square[i] = (i / 50) % 2 ? 32767 : -32768;
  for (int b = 0; b < 12; ++b) mixer.playFromStart(mixer.createBuffer(MonoBuffer16(44100, square)));
  std::vector<std::int16_t> out(2 * 4410);
  mixer.render(out.data(), 4410);
  int loud = 0;
  for (const std::int16_t v : out) {
    ASSERT_LT(std::abs(v), 32767);
    loud += std::abs(v) > 30000 ? 1 : 0;
  }
  EXPECT_GT(loud, 4000);
}

}  // namespace
}  // namespace clangor
