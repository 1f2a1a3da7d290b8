// The samples of one recording as the mixer plays them: floats from -1 to 1,
// one or two interleaved channels, at the recording's own sample rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "sound/wave_file.h"

namespace clangor {

struct SampleBuffer {
  int channels = 1;               // 1 or 2
  std::uint32_t sampleRate = 0;   // hertz
  std::vector<float> samples;     // interleaved

  std::size_t frames() const { return samples.size() / static_cast<std::size_t>(channels); }
};

// Converts a recording's sample data (8-bit unsigned or 16-bit signed PCM, or
// 32-bit floats). A trailing part of a frame is dropped. Nothing when the
// format is not playable.
std::optional<SampleBuffer> DecodeSamples(const WaveFormat& format, const std::uint8_t* data,
                                          std::size_t bytes);

// A mono 16-bit buffer from literal sample values (tests, benchmarks and the
// offline tools make recordings this way).
SampleBuffer MonoBuffer16(std::uint32_t sampleRate, const std::vector<std::int16_t>& values);

}  // namespace clangor
