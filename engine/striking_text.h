// The own bell's striking in words and figures: what the report dialog, the
// rows pane's copy and the headless ringer show.
#pragma once

#include <string>

#include "engine/striking_analyser.h"

namespace clangor {

// Errors within this many milliseconds either way are not heard as faults.
inline constexpr double HeardErrorMs = 20.0;

// "12 ms late", "3 ms early", "on time" (under half a millisecond).
std::string DescribeError(double errorMs);

// Lines ending in "\n": the bell, a table of blows, missed blows, RMS, mean
// and standard deviation for handstrokes, backstrokes and all, then the
// worst blow. `newline` ends each line ("\r\n" for the clipboard).
std::string FormatStrikingReport(const StrikingAnalysis& analysis, const std::string& newline = "\n");

}  // namespace clangor
