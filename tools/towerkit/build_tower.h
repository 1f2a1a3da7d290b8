// Makes one tower folder under the data folder from its definition: the text
// files, the solved control table and the recordings of every sound set.
// The pictures are drawn apart (tools/towerkit/pictures), with the same
// layout.
#pragma once

#include <filesystem>

#include "tools/towerkit/control_solver.h"
#include "tools/towerkit/tower_definition.h"

namespace clangor::towerkit {

// `dataFolder` is "<common application data>/Orvanta/Clangor"; the tower
// loader must find it there (CLANGOR_COMMON_APPDATA names its parent).
void WriteTowerFiles(const TowerDefinition& tower, const std::filesystem::path& dataFolder);
// Loads the written tower with the simulator's own Tower and Bell, solves
// its table and writes control.cld.
SolveReport SolveTower(const TowerDefinition& tower, const std::filesystem::path& dataFolder);
void WriteRecordings(const TowerDefinition& tower, const std::filesystem::path& dataFolder);

std::filesystem::path TowerFolder(const std::filesystem::path& dataFolder, const std::string& name);

}  // namespace clangor::towerkit
