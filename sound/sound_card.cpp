#include "sound/sound_card.h"

#include <cstdlib>
#include <string>

#include "sound/pulse_sound_device.h"
#include "sound/sdl_sound_device.h"

namespace clangor {

std::unique_ptr<SoundDevice> OpenSoundCard(Mixer& mixer, std::int32_t& result) {
  const char* chosen = std::getenv("SDL_AUDIODRIVER");
  const std::string driver = chosen ? chosen : "";
  if (driver.empty() || driver == "pulse") {
    if (auto device = OpenPulseSoundDevice(mixer, result)) return device;
    if (!driver.empty()) return nullptr;
  }
  return OpenSdlSoundDevice(mixer, result);
}

}  // namespace clangor
