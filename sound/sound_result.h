// Result codes of the sound part. 0 is success; the failures keep the values
// of the device interface the program was first written for, so that a code
// seen in a report means the same thing on every platform.
#pragma once

#include <cstdint>

namespace clangor {

inline constexpr std::int32_t SoundOk = 0;
// A file could not be opened or read (also WaveFile::Failed).
inline constexpr std::int32_t SoundFailed = static_cast<std::int32_t>(0x80004005u);
// No sound device could be opened.
inline constexpr std::int32_t SoundNoDriver = static_cast<std::int32_t>(0x88780078u);
// The recording's sample format cannot be played.
inline constexpr std::int32_t SoundBadFormat = static_cast<std::int32_t>(0x88780064u);
// A buffer without a single sample frame.
inline constexpr std::int32_t SoundInvalidParam = static_cast<std::int32_t>(0x80070057u);
// Every buffer slot of the mixer is in use.
inline constexpr std::int32_t SoundOutOfMemory = static_cast<std::int32_t>(0x8007000Eu);

}  // namespace clangor
