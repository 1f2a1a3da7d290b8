// The sub-commands of clangor-ring. Each takes the arguments after its name,
// prints to standard output and returns the exit status; bad arguments throw
// UsageError.
#pragma once

#include <string>
#include <vector>

namespace clangor::ring {

int RunRows(const std::vector<std::string>& args);
int RunRing(const std::vector<std::string>& args);

}  // namespace clangor::ring
