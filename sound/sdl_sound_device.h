// The sound card, through SDL2's audio layer: 44100 Hz, 16-bit stereo, in
// periods of 128 frames to start with (512 through a sound server). SDL_AUDIODRIVER picks the driver
// (pulseaudio, pipewire, alsa; dummy gives a device that pulls periods at the
// real pace without a card).
//
// Each blow from the ringing clock starts a constant latency after its
// instant: the period plus room for the ringing loop to hand the blow over
// (6 ms at 128 frames). A period asked for too late is a gap in the sound:
// the device then reopens itself with twice the period, and never goes back
// to a smaller one. CLANGOR_SOUND_PERIOD (frames) fixes the period instead.
#pragma once

#include <cstdint>
#include <memory>

#include "sound/sound_device.h"

namespace clangor {

class Mixer;

// Frames from a blow's instant to its first sample at `period`.
int BlowLatencyFrames(int period);

// Opens the default output device playing `mixer`. On failure returns nothing
// and sets `result` (SoundNoDriver); the caller then rings silently.
std::unique_ptr<SoundDevice> OpenSdlSoundDevice(Mixer& mixer, std::int32_t& result);

}  // namespace clangor
