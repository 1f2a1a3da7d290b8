// The tower the speed benchmarks ring: a folder written on the spot, with
// bells of periods from 1.6 s (treble) to 2.6 s (tenor), each swing carried
// to just short of the balance by a steady control row. It is not a solved
// table: the figures it serves are of speed, not of striking.
#pragma once

#include <filesystem>

namespace clangor::bench {

inline constexpr int SteadyTowerBells = 12;

// Writes tower.txt, control.txt and control.cld into `folder`.
void WriteSteadyTower(const std::filesystem::path& folder);

}  // namespace clangor::bench
