// Each bell's blow as the tower sounds it: its open recording started alone
// by the same mixer, at the tower's pitch and level. What a blow looks like
// in a recording of the ringing.
#pragma once

#include <string>
#include <vector>

namespace clangor::bench {

// The left channel of one blow of each bell of `tower` (bell i at index i),
// `seconds` long, in the mixer's output units (full scale 32767). The data
// folder is the settings store's; empty when the tower has no bells or the
// sound does not open.
std::vector<std::vector<float>> RenderBellBlows(const std::string& tower, double seconds);

}  // namespace clangor::bench
