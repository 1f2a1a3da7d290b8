// The sound card as a Linux desktop reaches it: through its sound server
// (PulseAudio, or PipeWire's PulseAudio service) spoken to directly, which
// tells where the sound stands and when it ran dry; else through SDL2's
// drivers. SDL_AUDIODRIVER chooses: unset tries the server first, "pulse"
// takes the server only, any other name is SDL's driver of that name (its
// own "pulseaudio" and "pipewire" included).
#pragma once

#include <cstdint>
#include <memory>

#include "sound/sound_device.h"

namespace clangor {

class Mixer;

// On failure returns nothing and sets `result` (SoundNoDriver); the caller
// then rings silently.
std::unique_ptr<SoundDevice> OpenSoundCard(Mixer& mixer, std::int32_t& result);

}  // namespace clangor
