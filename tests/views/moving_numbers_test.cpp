// The moving numbers' timing: when a row is taken, when the highlight comes
// and goes, how far the numbers have slid; and the strip's proportions.
#include <gtest/gtest.h>

#include <vector>

#include "views/moving_numbers.h"
#include "views/numbers_sizing.h"

namespace clangor {
namespace {

constexpr double Interval = 0.2;

// Rings `rows` of four bells, one blow every Interval from t = 0, with plain
// steps every 0.05 s between blows; records what would be drawn at each.
struct Sample {
  double t;
  bool highlight;
  double fraction;
};
std::vector<Sample> Ring(MovingNumbers& numbers, const std::vector<std::array<int, 4>>& rows) {
  std::vector<Sample> samples;
  std::uint32_t ms = 1000;
  int blow = 0;
  for (const auto& row : rows) {
    RowAtBlow ringing;
    ringing.bells = 4;
    ringing.blowInterval = Interval;
    for (int p = 0; p < 4; ++p) ringing.row[static_cast<std::size_t>(p)] = row[static_cast<std::size_t>(p)];
    for (int k = 1; k <= 4; ++k, ++blow) {
      ringing.blowsInRow = k;
      const double t = blow * Interval;
      numbers.Update(t, row[static_cast<std::size_t>(k - 1)], ringing, ms += 50);
      samples.push_back({t, numbers.Frame().highlight, numbers.Frame().fraction});
      for (int step = 1; step < 4; ++step) {
        numbers.Update(t + step * 0.05, -1, ringing, ms += 50);
        samples.push_back({t + step * 0.05, numbers.Frame().highlight, numbers.Frame().fraction});
      }
    }
  }
  return samples;
}

const std::array<int, 4> Rounds{0, 1, 2, 3};
const std::array<int, 4> Crossed{1, 0, 3, 2};  // 2143: every bell crosses

bool HighlightAt(const std::vector<Sample>& samples, double t) {
  for (const auto& s : samples)
    if (std::abs(s.t - t) < 1e-9) return s.highlight;
  ADD_FAILURE() << "no sample at " << t;
  return false;
}

TEST(MovingNumbers, RoundsAfterRoundsNeverHighlights) {
  for (const bool briefly : {false, true}) {
    SCOPED_TRACE(briefly);
    MovingNumbers numbers;
    numbers.Reset(MovingNumbers::Identity(), 0);
    numbers.SetHighlightBriefly(briefly);
    for (const auto& s : Ring(numbers, {Rounds, Rounds, Rounds})) EXPECT_FALSE(s.highlight) << s.t;
    EXPECT_TRUE(numbers.noChange());
  }
}

// Rows: rounds (blows 0-3, t 0 to 0.6), 2143 (t 0.8 to 1.4), rounds (t 1.6 to 2.2).
TEST(MovingNumbers, HighlightTimingWithAndWithoutHighlightBriefly) {
  struct Case {
    const char* what;
    bool briefly;
    double t;
    bool highlight;
  };
  const Case cases[] = {
      // Always: from the second blow of a changed row until the second blow of the next.
      {"first blow of 2143: the old rows still", false, 0.8, false},
      {"second blow of 2143 takes the new row", false, 1.0, true},
      {"through the row", false, 1.35, true},
      {"second blow of rounds after 2143: rounds came from 2143", false, 1.8, true},
      // Briefly: one interval after the third from last blow (the second of four).
      {"second blow of 2143", true, 1.0, false},
      {"just before the second blow's interval ends", true, 1.15, false},
      {"one interval after the second blow", true, 1.2, true},
      {"last blow", true, 1.4, true},
      {"first blow of the next row keeps it", true, 1.6, true},
      {"second blow of the next row clears it", true, 1.8, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MovingNumbers numbers;
    numbers.Reset(MovingNumbers::Identity(), 0);
    numbers.SetHighlightBriefly(c.briefly);
    EXPECT_EQ(HighlightAt(Ring(numbers, {Rounds, Crossed, Rounds}), c.t), c.highlight);
  }
}

TEST(MovingNumbers, TheSlideLastsTwoBlowIntervalsFromTheLastBlowOfTheRow) {
  MovingNumbers numbers;
  numbers.Reset(MovingNumbers::Identity(), 0);
  const auto samples = Ring(numbers, {Rounds, Crossed, Crossed});
  const struct {
    double t, fraction;
  } cases[] = {
      {0.8, 0.5},   // rounds' own slide (no change to see) runs on
      {1.0, 0.0},   // the second blow takes the row: the numbers stand at the old places
      {1.35, 0.0},
      {1.4, 0.0},   // the row's last blow starts the slide
      {1.5, 0.25},
      {1.6, 0.5},
      {1.75, 0.875},
      {1.8, 0.0},   // the next row's second blow: a new slide waits for its last blow
      {2.2, 0.0},
      {2.35, 0.375},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.t);
    bool found = false;
    for (const auto& s : samples)
      if (std::abs(s.t - c.t) < 1e-9) {
        EXPECT_NEAR(s.fraction, c.fraction, 1e-9);
        found = true;
      }
    EXPECT_TRUE(found);
  }
  // Long after the last blow the fraction stays at 1.
  RowAtBlow idle;
  numbers.Update(10.0, -1, idle, 1'000'000);
  EXPECT_EQ(numbers.Frame().fraction, 1.0);
}

TEST(MovingNumbers, TheSecondBlowTakesTheRowFromThePreviousOne) {
  MovingNumbers numbers;
  numbers.Reset(MovingNumbers::Identity(), 0);
  Ring(numbers, {Rounds, Crossed});
  const NumbersFrame frame = numbers.Frame();
  EXPECT_EQ((std::vector<int>(frame.fromRow.begin(), frame.fromRow.begin() + 4)), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ((std::vector<int>(frame.toRow.begin(), frame.toRow.begin() + 4)), (std::vector<int>{1, 0, 3, 2}));
}

// Two blows in one step of the worker: the marks they pass still count.
TEST(MovingNumbers, BlowsThatArriveTogetherStillPassTheirMarks) {
  MovingNumbers numbers;
  numbers.Reset(MovingNumbers::Identity(), 0);
  RowAtBlow ringing;
  ringing.bells = 4;
  ringing.blowInterval = Interval;
  ringing.row = {1, 0, 3, 2};
  ringing.blowsInRow = 1;
  numbers.Update(0.0, 1, ringing, 100);
  ringing.blowsInRow = 3;  // the second blow came in the same step as the third
  numbers.Update(0.4, 3, ringing, 200);
  EXPECT_EQ(numbers.Frame().toRow[0], 1);
  EXPECT_DOUBLE_EQ(numbers.highlightAt(), 0.4 + Interval);  // the mark k = n - 2 = 2 was passed too
  ringing.blowsInRow = 4;
  numbers.Update(0.6, 2, ringing, 300);
  EXPECT_DOUBLE_EQ(numbers.moveStart(), 0.6);
  EXPECT_DOUBLE_EQ(numbers.moveDuration(), 2 * Interval);
}

TEST(MovingNumbers, PlainStepsCloserThanFiftyMillisecondsAreSkipped) {
  MovingNumbers numbers;
  numbers.Reset(MovingNumbers::Identity(), 1000);
  RowAtBlow none;
  EXPECT_FALSE(numbers.Update(0.1, -1, none, 1049));
  EXPECT_TRUE(numbers.Update(0.1, -1, none, 1050));
  EXPECT_FALSE(numbers.Update(0.1, -1, none, 1060));
  EXPECT_TRUE(numbers.Update(0.1, 0, none, 1061));  // a blow is never skipped
}

TEST(MovingNumbers, PauseShiftsTheSlideAndAHighlightStillToCome) {
  MovingNumbers numbers;
  numbers.Reset(MovingNumbers::Identity(), 0);
  numbers.SetHighlightBriefly(true);
  RowAtBlow ringing;
  ringing.bells = 4;
  ringing.blowInterval = Interval;
  ringing.row = {1, 0, 3, 2};
  for (int k = 1; k <= 4; ++k) {
    ringing.blowsInRow = k;
    numbers.Update(k * Interval, 0, ringing, 100u * static_cast<std::uint32_t>(k));
  }
  numbers.ShiftTimes(5.0);
  EXPECT_DOUBLE_EQ(numbers.moveStart(), 4 * Interval + 5.0);
  EXPECT_EQ(numbers.highlightAt(), 0.0);  // already shown: nothing still to come
  MovingNumbers fresh;
  fresh.ShiftTimes(5.0);
  EXPECT_EQ(fresh.highlightAt(), 0.0);  // no highlight appears out of a pause
}

TEST(NumbersSizing, SizingKeepsOneDigitCellPerBellOfTheTower) {
  const NumbersSizing eight = NumbersSizing::From(8, 150, 170);
  EXPECT_EQ(eight.WidthFor(32), 225);  // trunc(8 / (170/150) x 32)
  struct Case {
    const char* what;
    int oldW, oldH, w, h, wantW, wantH;
  } cases[] = {
      {"bottom edge dragged: the width follows", 225, 32, 225, 64, 451, 64},
      {"side dragged: the height follows", 225, 32, 450, 32, 450, 63},
      {"corner dragged: the height follows the width", 225, 32, 300, 50, 300, 42},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int w = c.w, h = c.h;
    eight.KeepAspect(c.oldW, c.oldH, w, h);
    EXPECT_EQ(w, c.wantW);
    EXPECT_EQ(h, c.wantH);
  }
  // A zero setting counts as 1.
  EXPECT_EQ(NumbersSizing::From(6, 0, 0).WidthFor(20), 120);
}

}  // namespace
}  // namespace clangor
