// The program's own sounds in "Program Stuff/": a short silence that wakes
// the sound device, and the farm animals that stand in for a recording that
// cannot be found.
#pragma once

#include <filesystem>
#include <vector>

namespace clangor::towerkit {

std::vector<float> QuietSound();
std::vector<float> CowSound();
std::vector<float> CockerelSound();
std::vector<float> DogSound();

void WriteProgramSounds(const std::filesystem::path& programStuff);

}  // namespace clangor::towerkit
