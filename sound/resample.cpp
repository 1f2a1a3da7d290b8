#include "sound/resample.h"

#include <soxr.h>

#include <cmath>

namespace clangor {

std::optional<SampleBuffer> ResampleForPlayback(const SampleBuffer& recording, std::uint32_t playbackRate,
                                                std::uint32_t outputRate) {
  if (playbackRate == 0 || outputRate == 0 || recording.channels < 1) return std::nullopt;
  const std::size_t inFrames = recording.frames();
  const double ratio = static_cast<double>(outputRate) / playbackRate;
  SampleBuffer out;
  out.channels = recording.channels;
  out.sampleRate = outputRate;
  out.samples.resize(static_cast<std::size_t>(std::ceil(static_cast<double>(inFrames) * ratio)) *
                     static_cast<std::size_t>(recording.channels));
  const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
  // 20-bit quality: the stop band lies 120 dB down.
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
  std::size_t framesMade = 0;
  const soxr_error_t error =
      soxr_oneshot(playbackRate, outputRate, static_cast<unsigned>(recording.channels), recording.samples.data(),
                   inFrames, nullptr, out.samples.data(), out.frames(), &framesMade, &io, &quality, nullptr);
  if (error) return std::nullopt;
  out.samples.resize(framesMade * static_cast<std::size_t>(recording.channels));
  // The filter rings a little past full scale on a recording that is clipped.
  for (float& v : out.samples) v = std::fmax(-1.0f, std::fmin(1.0f, v));
  if (out.samples.empty()) return std::nullopt;
  return out;
}

}  // namespace clangor
