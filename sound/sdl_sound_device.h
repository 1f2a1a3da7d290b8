// The sound card, through SDL2's audio layer: 44100 Hz, 16-bit stereo, asking
// the mixer for 256 frames at a time. SDL_AUDIODRIVER=dummy gives a device
// that pulls periods at the real pace without a card.
#pragma once

#include <cstdint>
#include <memory>

#include "sound/sound_device.h"

namespace clangor {

class Mixer;

// Opens the default output device playing `mixer`. On failure returns nothing
// and sets `result` (SoundNoDriver); the caller then rings silently.
std::unique_ptr<SoundDevice> OpenSdlSoundDevice(Mixer& mixer, std::int32_t& result);

}  // namespace clangor
