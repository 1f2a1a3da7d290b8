// The own bell's striking judged from synthetic blows: where each blow
// belonged follows a touch's schedule (a place in each row, the open
// handstroke gap), and the user's blows are placed against it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/striking_analyser.h"
#include "engine/striking_text.h"

namespace clangor {
namespace {

// The own bell's due blows on `bells` bells at `place` (0-based), rows
// starting at handstroke, with the open gap before each handstroke row after
// the first. `pauseAfterRow`: the clock runs on by `pause` seconds after that
// row (the bells' times shift with it). `speedRow`: from that row on the
// interval is `newInterval`.
struct Touch {
  int bells = 8;
  int place = 7;
  int rows = 40;
  double interval = 0.2541;
  int pauseAfterRow = -1;
  double pause = 0;
  int speedRow = -1;
  double newInterval = 0;
  double start = 1000.0;
};

std::vector<DueBlow> DueBlows(const Touch& t) {
  std::vector<DueBlow> due;
  double rowStart = t.start;
  for (int r = 0; r < t.rows; ++r) {
    const double interval = t.speedRow >= 0 && r >= t.speedRow ? t.newInterval : t.interval;
    if (r > 0 && r % 2 == 0) rowStart += interval;  // the open handstroke gap
    due.push_back({rowStart + t.place * interval, r % 2 == 0});
    rowStart += t.bells * interval;
    if (r == t.pauseAfterRow) rowStart += t.pause;
  }
  return due;
}

// The user's blows: each due blow moved by `handMs` or `backMs`.
std::vector<double> Taps(const std::vector<DueBlow>& due, double handMs, double backMs) {
  std::vector<double> taps;
  for (const DueBlow& d : due) taps.push_back(d.instant + (d.handstroke ? handMs : backMs) / 1000.0);
  return taps;
}

struct Case {
  std::string name;
  Touch touch;
  double handMs, backMs;
  double handMean, backMean, wholeRms;
};

class StrikingCases : public ::testing::TestWithParam<Case> {};

TEST_P(StrikingCases, MeansAndRmsFollowTheTaps) {
  const Case& c = GetParam();
  const std::vector<DueBlow> due = DueBlows(c.touch);
  const StrikingAnalysis a = AnalyseStriking(due, Taps(due, c.handMs, c.backMs));
  EXPECT_EQ(a.whole.blows, c.touch.rows);
  EXPECT_EQ(a.whole.missed, 0);
  EXPECT_EQ(a.hand.blows, c.touch.rows / 2);
  EXPECT_NEAR(a.hand.meanMs, c.handMean, 1e-6);
  EXPECT_NEAR(a.back.meanMs, c.backMean, 1e-6);
  EXPECT_NEAR(a.whole.rmsMs, c.wholeRms, 1e-6);
  EXPECT_NEAR(a.hand.sdMs, 0.0, 1e-6);
  EXPECT_NEAR(a.back.sdMs, 0.0, 1e-6);
}

const double Rms30Half = std::sqrt(30.0 * 30.0 / 2);

INSTANTIATE_TEST_SUITE_P(
    Taps, StrikingCases,
    ::testing::Values(Case{"Perfect", {}, 0, 0, 0, 0, 0},
                      Case{"BackstrokesLate", {}, 0, 30, 0, 30, Rms30Half},
                      Case{"HandstrokesEarly", {}, -30, 0, -30, 0, Rms30Half},
                      Case{"PerfectAcrossAPause", {.pauseAfterRow = 17, .pause = 42.0}, 0, 0, 0, 0, 0},
                      Case{"LateAcrossAPause", {.pauseAfterRow = 17, .pause = 42.0}, 0, 30, 0, 30, Rms30Half},
                      Case{"PerfectAcrossAFasterPeal", {.speedRow = 21, .newInterval = 0.2118}, 0, 0, 0, 0, 0},
                      Case{"LateAcrossASlowerPeal", {.speedRow = 21, .newInterval = 0.3388}, 0, 30, 0, 30,
                           Rms30Half},
                      Case{"TrebleLeading", {.place = 0}, 0, 30, 0, 30, Rms30Half}),
    [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(StrikingAnalyser, ABlowThatNeverCameIsMissed) {
  const std::vector<DueBlow> due = DueBlows({});
  std::vector<double> taps = Taps(due, 0, 0);
  taps.erase(taps.begin() + 5);  // row 6, a backstroke
  const StrikingAnalysis a = AnalyseStriking(due, taps);
  EXPECT_EQ(a.whole.blows, 39);
  EXPECT_EQ(a.whole.missed, 1);
  EXPECT_EQ(a.back.missed, 1);
  EXPECT_EQ(a.hand.missed, 0);
  EXPECT_NEAR(a.whole.rmsMs, 0.0, 1e-6);  // the missing blow is no error
  ASSERT_EQ(a.blows.size(), 40u);
  EXPECT_TRUE(a.blows[5].missed);
  EXPECT_EQ(a.blows[5].row, 6);
}

TEST(StrikingAnalyser, BlowsWithoutAPlaceAreMissedNotDropped) {
  const Touch touch;
  const std::vector<DueBlow> due = DueBlows(touch);
  std::vector<double> taps = Taps(due, 10, 10);
  taps.push_back(due[9].instant + 0.08);            // a second blow beside row 10's
  taps.push_back(due.front().instant - 5.0);        // long before the touch
  taps.push_back(due.back().instant + 5.0);         // long after it
  const StrikingAnalysis a = AnalyseStriking(due, taps);
  EXPECT_EQ(a.whole.blows, 40);
  EXPECT_EQ(a.whole.missed, 3);
  EXPECT_NEAR(a.whole.meanMs, 10.0, 1e-6);  // the nearer blow of row 10 is the one judged
}

TEST(StrikingAnalyser, TheWorstBlowIsTheFurthestEitherWay) {
  const std::vector<DueBlow> due = DueBlows({});
  std::vector<double> taps = Taps(due, 5, 5);
  taps[12] = due[12].instant - 0.061;  // row 13, a handstroke, 61 ms early
  taps[20] = due[20].instant + 0.045;
  const StrikingAnalysis a = AnalyseStriking(due, taps);
  ASSERT_TRUE(a.worst.has_value());
  EXPECT_EQ(a.worst->row, 13);
  EXPECT_TRUE(a.worst->handstroke);
  EXPECT_NEAR(a.worst->errorMs, -61.0, 1e-6);
  EXPECT_NE(FormatStrikingReport(a).find("Worst blow: row 13 handstroke, 61 ms early"), std::string::npos);
}

TEST(StrikingText, FiguresAreSignedAndAMeanOfNothingIsPlus) {
  StrikingAnalysis a;
  a.bell = 11;
  a.hand = {4, 1, 12.04, -0.004, 12.0};
  a.back = {5, 0, 31.0, 30.04, 7.8};
  const std::string text = FormatStrikingReport(a);
  EXPECT_NE(text.find("Striking of bell T"), std::string::npos);
  EXPECT_NE(text.find("handstroke      4      1     12.0     +0.0     12.0\n"), std::string::npos) << text;
  EXPECT_NE(text.find("backstroke      5      0     31.0    +30.0      7.8\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Worst blow: none struck"), std::string::npos);
  EXPECT_EQ(FormatStrikingReport(a, "\r\n").find("\n"), FormatStrikingReport(a, "\r\n").find("\r\n") + 1);
  EXPECT_EQ(DescribeError(-0.4), "on time");
}

TEST(StrikingAnalyser, WhileRingingAPlaceStillOpenIsNotYetMissed) {
  const std::vector<DueBlow> due = DueBlows({.rows = 10});
  const std::vector<double> taps = Taps(std::vector<DueBlow>(due.begin(), due.begin() + 9), 0, 0);
  // Just past the last place: its blow may still come.
  const StrikingAnalysis ringing = AnalyseStriking(due, taps, due.back().instant + 0.01);
  EXPECT_EQ(ringing.whole.blows, 9);
  EXPECT_EQ(ringing.whole.missed, 0);
  // The touch over: it never came.
  const StrikingAnalysis over = AnalyseStriking(due, taps);
  EXPECT_EQ(over.whole.missed, 1);
}

TEST(StrikingAnalyser, TheRecordStartsAfreshEachTouchAndForEachBell) {
  StrikingAnalyser analyser;
  analyser.touchStarted();
  analyser.ownBlowDue(5, 11.0, true);
  analyser.ownBlowStruck(5, 11.02);
  EXPECT_TRUE(analyser.UserRang());
  EXPECT_NEAR(analyser.Analyse().hand.meanMs, 20.0, 1e-9);
  analyser.ownBlowDue(6, 14.0, false);  // the user took another bell
  EXPECT_FALSE(analyser.UserRang());
  EXPECT_EQ(analyser.Analyse().bell, 6);
  EXPECT_EQ(analyser.Analyse().back.missed, 1);
  analyser.touchStarted();
  EXPECT_TRUE(analyser.Analyse().Empty());
}

}  // namespace
}  // namespace clangor
