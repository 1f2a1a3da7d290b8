// Solving the towers' striking-control tables, each tower in a process of
// its own and side by side on the machine's cores, and saying where the
// bells cannot make the times asked of them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/towerkit/tower_definition.h"

namespace clangor::towerkit {

// The definitions of data/towers/<name>/tower.def, in name order.
std::vector<TowerDefinition> ReadTowerDefinitions(const std::filesystem::path& source);

// Writes each tower's files under `data` ("<common application data>/
// Orvanta/Clangor") and solves its control.cld there. Each tower's own
// settings go to a registry folder of its own under `registry`. Prints each
// tower's report and the time taken; throws when a table cannot be solved.
void SolveTowers(const std::vector<TowerDefinition>& towers, const std::filesystem::path& data,
                 const std::filesystem::path& registry);

}  // namespace clangor::towerkit
