// Writes 16-bit PCM samples as a RIFF/WAVE file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace clangor {

// `samples` holds frames × channels interleaved values. The file is written
// beside its final name and renamed over it, so a failed write leaves no
// half file. Returns false when the file cannot be written.
bool WriteWaveFile(const std::string& path, const std::int16_t* samples, std::size_t frames,
                   int channels, std::uint32_t sampleRate);

}  // namespace clangor
