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
// Scaled to a peak of 0.8, as the files hold them.
std::vector<float> Normalised(std::vector<float> sound);

void WriteProgramSounds(const std::filesystem::path& programStuff);

}  // namespace clangor::towerkit
