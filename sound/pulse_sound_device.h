// The sound card through a PulseAudio server (or PipeWire's PulseAudio
// service, what Linux desktops run), spoken to directly: 44100 Hz, 16-bit
// stereo.
//
// The server is asked to hold a stated buffering (four periods) and asks for
// a period whenever it has room for one. Where the sound stands comes from
// the server's own timing reports, not from when it asks: each blow starts
// the buffering plus room for the ringing loop's hand-over after its instant,
// however unevenly the requests come. When the server reports that the stream
// ran dry, the buffering grows at once (PulseBuffering), without reopening the
// stream; CLANGOR_SOUND_PERIOD (frames) fixes the period. The thread that fills the buffer asks for real-time scheduling.
#pragma once

#include <cstdint>
#include <memory>

#include "sound/pulse_buffering.h"
#include "sound/sound_device.h"

namespace clangor {

class Mixer;

// Opens a playback stream on the default sink of the user's server (PULSE_SERVER,
// PULSE_SINK as libpulse reads them). Never starts a server. On failure
// returns nothing and sets `result` (SoundNoDriver).
std::unique_ptr<SoundDevice> OpenPulseSoundDevice(Mixer& mixer, std::int32_t& result);

}  // namespace clangor
