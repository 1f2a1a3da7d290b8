#include <gtest/gtest.h>

#include <cstdlib>

#include "sound/mixer.h"
#include "sound/sdl_sound_device.h"
#include "sound/sound_card.h"
#include "sound/sound_result.h"

namespace clangor {
namespace {

// The device without a sound card: SDL's dummy driver pulls periods at the
// real pace. Only what opening promises is checked, nothing timed.
TEST(SdlSoundDevice, OpensAtTheMixersFormatAndCloses) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  Mixer mixer;
  std::int32_t result = -1;
  auto device = OpenSdlSoundDevice(mixer, result);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(result, SoundOk);
  EXPECT_EQ(device->sampleRate(), 44100u);
  EXPECT_GT(device->framesPerPeriod(), 0);
  EXPECT_LE(device->framesPerPeriod(), Mixer::MaxFramesPerPeriod);
  // A buffer made and released while the device may be pulling.
  const Mixer::BufferId id = mixer.createBuffer(MonoBuffer16(44100, std::vector<std::int16_t>(5000, 100)));
  mixer.playFromStart(id);
  mixer.releaseBuffer(id);
  device.reset();
  // Opening again after closing works as the first time.
  device = OpenSdlSoundDevice(mixer, result);
  EXPECT_NE(device, nullptr);
}

// What the ringer prints: the driver, the period chosen (the smallest, or
// the one the user fixed) and the blows' latency.
TEST(SdlSoundDevice, ReportsItsDriverPeriodAndLatency) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  Mixer mixer;
  std::int32_t result = -1;
  auto device = OpenSdlSoundDevice(mixer, result);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->framesPerPeriod(), 128);
  EXPECT_EQ(device->description(), "driver dummy, device default, period 128 frames (2.9 ms), latency 6.0 ms");
  EXPECT_DOUBLE_EQ(device->latencyMs(), BlowLatencyFrames(128) * 1000.0 / 44100);
  device.reset();
  setenv("CLANGOR_SOUND_PERIOD", "512", 1);
  device = OpenSdlSoundDevice(mixer, result);
  unsetenv("CLANGOR_SOUND_PERIOD");
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->framesPerPeriod(), 512);
  EXPECT_EQ(device->description(), "driver dummy, device default, period 512 frames (11.6 ms, fixed), latency 14.7 ms");
}

TEST(SdlSoundDevice, WithoutADriverReportsNoDriver) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  Mixer mixer;
  std::int32_t result = SoundOk;
  EXPECT_EQ(OpenSdlSoundDevice(mixer, result), nullptr);
  EXPECT_EQ(result, SoundNoDriver);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

// SDL_AUDIODRIVER chooses what plays the bells: SDL's driver of that name,
// or "pulse", the sound server spoken to directly, which fails plainly
// where no server answers (it never starts one) instead of taking another.
TEST(SoundCard, TheChosenDriverIsTheOneOpenedAndReported) {
  Mixer mixer;
  std::int32_t result = -1;
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  auto device = OpenSoundCard(mixer, result);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->description().rfind("driver dummy, ", 0), 0u) << device->description();
  device.reset();

  setenv("SDL_AUDIODRIVER", "pulse", 1);
  setenv("PULSE_SERVER", "unix:/nonexistent/clangor-test/native", 1);
  result = SoundOk;
  EXPECT_EQ(OpenSoundCard(mixer, result), nullptr);
  EXPECT_EQ(result, SoundNoDriver);
  unsetenv("PULSE_SERVER");
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace
}  // namespace clangor
