// The text files of a tower folder, written from the kit's definition and
// layout in the forms the simulator's tower loader reads: tower.txt,
// control.txt and one sounds/<set>.txt per sound set.
#pragma once

#include <filesystem>
#include <string>

#include "tools/towerkit/bell_layout.h"
#include "tools/towerkit/tower_definition.h"

namespace clangor::towerkit {

// Megabytes the tower's pictures take at full size, 32 bits a pixel.
int PictureMemoryMegabytes(const TowerDefinition& tower, const TowerLayout& layout);

std::string TowerText(const TowerDefinition& tower, const TowerLayout& layout);
std::string ControlText(const TowerDefinition& tower, const TowerLayout& layout);
std::string SoundSetText(const TowerDefinition& tower, const SoundSetDefinition& set);

// The recording names of a bell: "bell01.wav" and its muffled "bell01m.wav".
std::string OpenRecordingName(int bellNumber);
std::string MuffledRecordingName(int bellNumber);

// Writes `text` to `path`, making its folder; throws when it cannot.
void WriteTextFile(const std::filesystem::path& path, const std::string& text);

}  // namespace clangor::towerkit
