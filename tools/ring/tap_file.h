// The user's blows on the own bell, written down: one time a line, in seconds
// from the touch's first blow, the treble's (so a blow in row r at
// place p of n bells, struck perfectly at a steady interval i, is at
// (r n + p + r / 2) i, the open handstroke gap coming before every second
// row). Blank lines and lines starting with "#" are skipped.
#pragma once

#include <string>
#include <vector>

namespace clangor::ring {

// The times in the file's order; UsageError naming the file and line for a
// line that is not a time, or a file that cannot be read.
std::vector<double> ReadTapFile(const std::string& path);

}  // namespace clangor::ring
