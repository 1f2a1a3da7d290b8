// Text read or typed as lines: the setup package's lists and the editors'
// multi-line fields.
#pragma once

#include <string>
#include <vector>

namespace clangor {

// Splits a text at its line ends ("\r\n" or "\n"); a last empty line is no line.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace clangor
