#include "sound/sample_buffer.h"

#include <cstring>

namespace clangor {

namespace {

float Sample8(const std::uint8_t* p) { return (static_cast<int>(p[0]) - 128) / 128.0f; }

float Sample16(const std::uint8_t* p) {
  const auto v = static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
  return v / 32768.0f;
}

float SampleFloat(const std::uint8_t* p) {
  const std::uint32_t bits = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                             (static_cast<std::uint32_t>(p[2]) << 16) |
                             (static_cast<std::uint32_t>(p[3]) << 24);
  float v;
  std::memcpy(&v, &bits, sizeof v);
  // A recording with NaN or infinities would poison the whole mix.
  if (!(v >= -1.0f && v <= 1.0f)) v = v > 1.0f ? 1.0f : (v < -1.0f ? -1.0f : 0.0f);
  return v;
}

}  // namespace

std::optional<SampleBuffer> DecodeSamples(const WaveFormat& format, const std::uint8_t* data,
                                          std::size_t bytes) {
  if (!IsPlayableWaveFormat(format)) return std::nullopt;
  SampleBuffer buffer;
  buffer.channels = format.channels;
  buffer.sampleRate = format.samplesPerSec;
  const std::size_t width = format.bitsPerSample / 8;
  const std::size_t count = bytes / format.blockAlign * format.channels;
  buffer.samples.resize(count);
  const bool floats = SampleFormatTag(format) == WaveFormatIeeeFloat;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = data + i * width;
    if (floats) buffer.samples[i] = SampleFloat(p);
    else if (width == 1) buffer.samples[i] = Sample8(p);
    else buffer.samples[i] = Sample16(p);
  }
  return buffer;
}

SampleBuffer MonoBuffer16(std::uint32_t sampleRate, const std::vector<std::int16_t>& values) {
  SampleBuffer buffer;
  buffer.channels = 1;
  buffer.sampleRate = sampleRate;
  buffer.samples.reserve(values.size());
  for (const std::int16_t v : values) buffer.samples.push_back(v / 32768.0f);
  return buffer;
}

}  // namespace clangor
