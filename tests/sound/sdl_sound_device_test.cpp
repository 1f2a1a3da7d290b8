#include <gtest/gtest.h>

#include <cstdlib>

#include "sound/mixer.h"
#include "sound/sdl_sound_device.h"
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

TEST(SdlSoundDevice, WithoutADriverReportsNoDriver) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  Mixer mixer;
  std::int32_t result = SoundOk;
  EXPECT_EQ(OpenSdlSoundDevice(mixer, result), nullptr);
  EXPECT_EQ(result, SoundNoDriver);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace
}  // namespace clangor
