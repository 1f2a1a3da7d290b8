// The playback frequency of a recording shifted by whole semitones.
#pragma once

#include <cstdint>
#include <string>

namespace clangor {

// rate × 2^(shift/12), truncated to whole hertz. The twelfth root of two is
// raised to |shift| by repeated squaring and inverted for a negative shift, so
// +12 doubles the rate exactly and -12 halves it. Results beyond the 32-bit
// range come back as UINT32_MAX (no device plays them).
std::uint32_t PitchedFrequency(std::uint32_t rate, std::int64_t shift);

// A semitone shift kept as decimal text ("-3"); 0 when the text holds no
// number, and far-out values held to +-1000.
int ReadSemitoneShift(const std::string& text);

}  // namespace clangor
