// Writes 16-bit PCM mono RIFF/WAVE files at 44.1 kHz.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace clangor::towerkit {

inline constexpr int SampleRate = 44100;

// Samples in -1..1, clipped, rounded to 16 bits. Makes the folder; throws
// when the file cannot be written.
void WriteWaveFile(const std::filesystem::path& path, const std::vector<float>& samples);

}  // namespace clangor::towerkit
