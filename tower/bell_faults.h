// The bells of a tower that cannot swing, and why, in words: said when the
// tower loads, so that a tower whose data has lost a bell tells the ringer
// rather than standing silent.
#pragma once

#include <string>
#include <vector>

namespace clangor {

class Tower;

struct BellFault {
  int bell = 0;        // index, 0-based
  std::string reason;  // "its period is 0", ...
};

// Builds every bell of the tower as the engine would and lists those that
// cannot swing, treble first.
std::vector<BellFault> FindBellFaults(Tower& tower);

// "Bell 3 of "Eight Bells" cannot ring: its period is 0"
std::string DescribeBellFault(const std::string& towerName, const BellFault& fault);

}  // namespace clangor
