// Band-limited resampling of a recording, done once when it is loaded or
// pitched, so that each blow is a plain copy at the output rate: images and
// aliases of a pitch shift stay far below hearing (a linear interpolation at
// play time would fold high partials back into the audible band).
#pragma once

#include <cstdint>
#include <optional>

#include "sound/sample_buffer.h"

namespace clangor {

// The recording as it sounds played at `playbackRate` hertz, sampled at
// `outputRate`. Nothing when the resampler refuses it.
std::optional<SampleBuffer> ResampleForPlayback(const SampleBuffer& recording, std::uint32_t playbackRate,
                                                std::uint32_t outputRate);

}  // namespace clangor
