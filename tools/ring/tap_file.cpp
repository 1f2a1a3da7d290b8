#include "tools/ring/tap_file.h"

#include <charconv>
#include <cmath>
#include <fstream>

#include "tools/ring/arguments.h"

namespace clangor::ring {

std::vector<double> ReadTapFile(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw UsageError("cannot read the taps file " + path);
  std::vector<double> taps;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    const auto last = line.find_last_not_of(" \t\r");
    const char* begin = line.data() + first;
    const char* end = line.data() + last + 1;
    double time = 0;
    const auto [at, error] = std::from_chars(begin, end, time);
    if (error != std::errc() || at != end || !std::isfinite(time))
      throw UsageError(path + " line " + std::to_string(number) + ": \"" + line + "\" is not a time in seconds");
    taps.push_back(time);
  }
  return taps;
}

}  // namespace clangor::ring
