// The striking report: how far each blow fell from the ideal schedule, in
// which every row takes `bells` blow intervals and each of the touch's
// handstroke rows begins one interval later still (the open handstroke gap).
// The bells pull off at handstroke, so the gap comes before the third row
// struck and every second row after it. The schedule's start is fitted to
// the blows, so only their spacing is judged.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace clangor::ring {

struct StruckBlow {
  int bell;     // index among the bells in play
  double time;  // seconds of the ringing clock
};

struct BellStriking {
  int blows = 0;
  double rmsMs = 0;
  double worstMs = 0;  // largest error either way
};

struct StrikingReport {
  std::vector<BellStriking> bells;  // by index among the bells in play
  BellStriking whole;
  int rows = 0;
};

// `rows` are the rows struck, first row first (bell characters); `blows` every
// blow in striking order. Row r's place of each bell gives its ideal time;
// with no rows, the order in which the row's blows were struck.
StrikingReport MeasureStriking(const std::vector<std::string>& rows, const std::vector<StruckBlow>& blows,
                               int bells, double blowInterval);

void PrintStrikingReport(const StrikingReport& report, std::ostream& out);

}  // namespace clangor::ring
