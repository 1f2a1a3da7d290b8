// The striking report judges blows against the schedule the touch asks for:
// rows of `bells` intervals with the open gap before every second row,
// starting with the third row struck (the bells pull off at handstroke).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/ring/striking_report.h"

namespace clangor::ring {
namespace {

constexpr double Interval = 0.25;

// Perfect blows for `rows`, the gap before rows 2, 4, 6 ...
std::vector<StruckBlow> PerfectBlows(const std::vector<std::string>& rows) {
  std::vector<StruckBlow> blows;
  double t = 10.0;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (r > 0 && r % 2 == 0) t += Interval;
    for (const char c : rows[r]) {
      blows.push_back({c - '1', t});
      t += Interval;
    }
  }
  return blows;
}

const std::vector<std::string> Rows = {"1234", "2143", "2413", "4231", "4321", "3412"};

TEST(StrikingReport, PerfectStrikingHasNoError) {
  const StrikingReport report = MeasureStriking(Rows, PerfectBlows(Rows), 4, Interval);
  EXPECT_EQ(report.whole.blows, 24);
  EXPECT_NEAR(report.whole.rmsMs, 0.0, 1e-9);
  EXPECT_NEAR(report.whole.worstMs, 0.0, 1e-9);
  // Without rows the order struck gives each bell's place: the same answer.
  EXPECT_NEAR(MeasureStriking({}, PerfectBlows(Rows), 4, Interval).whole.worstMs, 0.0, 1e-9);
}

TEST(StrikingReport, OneLateBlowShowsOnItsBell) {
  auto blows = PerfectBlows(Rows);
  blows[9].time += 0.024;  // the fourth's blow in the third row, 24 ms late
  const StrikingReport report = MeasureStriking(Rows, blows, 4, Interval);
  EXPECT_EQ(blows[9].bell, 3);
  EXPECT_NEAR(report.bells[3].worstMs, 23.0, 0.5);  // the fitted start takes 1 ms of it
  EXPECT_LT(report.bells[0].worstMs, 1.01);
  EXPECT_GT(report.whole.rmsMs, 1.0);
}

}  // namespace
}  // namespace clangor::ring
