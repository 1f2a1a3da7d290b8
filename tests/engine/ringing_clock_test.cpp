#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/ringing_clock.h"
#include "platform/ticks.h"

namespace clangor {
namespace {

class RingingClockTest : public ::testing::Test {
 protected:
  void SetUp() override { Ringing().Reset(); }
  void TearDown() override { Ringing().Reset(); }

  // A simulated millisecond counter.
  std::uint32_t ticks_ = 0;
  TickReader Ticks() {
    return [this] { return ticks_; };
  }
};

TEST_F(RingingClockTest, IncreaseStepsToSixtyFourAndNoFurther) {
  for (int press = 0; press < 12; ++press) EXPECT_TRUE(ChangeClockStep(true, false, 12));
  EXPECT_EQ(Ringing().clockStep, 12);
  EXPECT_EQ(Ringing().maxClockFactor, 64.0);
  EXPECT_FALSE(ChangeClockStep(true, false, 12));
  EXPECT_EQ(Ringing().maxClockFactor, 64.0);
}

TEST_F(RingingClockTest, DecreaseStepsToAnEighthAndNoFurther) {
  const double expected[] = {std::sqrt(0.5), 0.5, std::sqrt(0.125), 0.25, std::sqrt(0.03125), 0.125};
  for (double factor : expected) {
    EXPECT_TRUE(ChangeClockStep(false, false, 12));
    EXPECT_DOUBLE_EQ(Ringing().maxClockFactor, factor);
  }
  EXPECT_EQ(Ringing().maxClockFactor, 0.125);
  EXPECT_FALSE(ChangeClockStep(false, false, 12));
  EXPECT_EQ(Ringing().clockStep, -6);
}

TEST_F(RingingClockTest, DecreaseFollowingTheActualFactorLandsJustBelowIt) {
  const struct {
    int step;
    double actual;
    int expectedStep;
  } cases[] = {
      {12, 10.0, 6},   // 8 is the first power of sqrt(2) below 10
      {12, 64.0, 11},  // not lagging: one step down
      {4, 0.1, -6},    // nothing below the actual factor: the slowest
      {12, 8.0, 5},    // 8 itself is not below 8
  };
  for (const auto& c : cases) {
    Ringing().clockStep = c.step;
    Ringing().clockFactor = c.actual;
    EXPECT_TRUE(ChangeClockStep(false, true, 12));
    EXPECT_EQ(Ringing().clockStep, c.expectedStep) << c.step << " " << c.actual;
    EXPECT_EQ(Ringing().maxClockFactor, ClockFactorForStep(c.expectedStep));
  }
}

TEST_F(RingingClockTest, FactorRisesBySqrtTwoThenByOneUpToTheTarget) {
  SetClockStepFromSettings(12);
  EXPECT_EQ(Ringing().clockFactor, 1.0);
  std::vector<double> factors;
  while (AdjustClockFactor(true)) factors.push_back(Ringing().clockFactor);
  ASSERT_GE(factors.size(), 4u);
  EXPECT_DOUBLE_EQ(factors[0], std::sqrt(2.0));
  EXPECT_DOUBLE_EQ(factors[1], 2.0);
  EXPECT_DOUBLE_EQ(factors[2], 2.0 * std::sqrt(2.0));
  for (std::size_t i = 3; i + 1 < factors.size(); ++i) {
    EXPECT_NEAR(factors[i] - factors[i - 1], 1.0, 1e-9) << i;
  }
  EXPECT_EQ(factors.back(), 64.0);
  EXPECT_FALSE(AdjustClockFactor(true));

  // Lowering the target pulls the factor straight down to it.
  ResetClockSpeed();
  EXPECT_EQ(Ringing().clockFactor, 1.0);
  SlowestClockSpeed();
  EXPECT_EQ(Ringing().clockFactor, 0.125);
  Ringing().clockFactor = 3.0;
  EXPECT_TRUE(AdjustClockFactor(true));
  EXPECT_EQ(Ringing().clockFactor, 0.125);
  EXPECT_TRUE(AdjustClockFactor(false));
  EXPECT_DOUBLE_EQ(Ringing().clockFactor, 0.125 * 0.975);
}

TEST_F(RingingClockTest, ClockRunsAtTheFactorAndAcrossTickWraps) {
  ticks_ = 1000;
  EXPECT_DOUBLE_EQ(ReadClock(Ticks(), false), 1.0);  // the first reading jumps by the uptime
  ticks_ = 1500;
  EXPECT_DOUBLE_EQ(ReadClock(Ticks(), false), 1.5);
  Ringing().clockFactor = 4.0;
  ticks_ = 2000;
  EXPECT_DOUBLE_EQ(ReadClock(Ticks(), false), 3.5);

  // The count wraps: 0xFFFFFF00 -> 0x100 is 512 ms later.
  Ringing().clockFactor = 1.0;
  ticks_ = 0xFFFFFF00u;
  const double before = ReadClock(Ticks(), false);
  ticks_ = 0x100u;
  EXPECT_NEAR(ReadClock(Ticks(), false) - before, 0.512, 1e-9);
}

TEST_F(RingingClockTest, ReadsASimulatedTickSource) {
  SimulatedTickSource ticks(5000);
  Ringing().clockFactor = 2.0;
  const double first = ReadClock(ticks, false);
  ticks.Advance(250);
  EXPECT_DOUBLE_EQ(ReadClock(ticks, false) - first, 0.5);
}

TEST_F(RingingClockTest, ReadingWithAdjustDrivesTheFactorAndReportsIt) {
  Ringing().maxClockFactor = 2.0;
  bool changed = false;
  ReadClock(Ticks(), true, &changed);
  EXPECT_TRUE(changed);
  EXPECT_DOUBLE_EQ(Ringing().clockFactor, std::sqrt(2.0));
  ReadClock(Ticks(), true, &changed);
  ReadClock(Ticks(), true, &changed);
  EXPECT_FALSE(changed);
  EXPECT_EQ(Ringing().clockFactor, 2.0);
}

TEST_F(RingingClockTest, PealSpeedAndBlowInterval) {
  SetPealSpeed(200);
  EXPECT_EQ(Ringing().pealSpeed, 200);
  EXPECT_EQ(Ringing().pealSpeedInUse, 200);
  EXPECT_EQ(Ringing().referenceSpeed, 200);

  // Pending: only pealSpeed moves; an out-of-range value changes nothing.
  SetPendingPealSpeed(210);
  SetPendingPealSpeed(241);
  EXPECT_EQ(Ringing().pealSpeed, 210);
  EXPECT_EQ(Ringing().pealSpeedInUse, 200);
  // Out of range now: the speed in use catches up with pealSpeed.
  SetPealSpeed(149);
  EXPECT_EQ(Ringing().pealSpeed, 210);
  EXPECT_EQ(Ringing().pealSpeedInUse, 210);
  EXPECT_EQ(Ringing().referenceSpeed, 210);

  SetPealSpeed(180);
  Ringing().bellsInPlay = 8;
  SetBlowInterval();
  EXPECT_NEAR(Ringing().blowInterval, 0.2541, 0.0001);
  EXPECT_DOUBLE_EQ(Ringing().changeRate, 60.0 / 42500.0);
  EXPECT_DOUBLE_EQ(Ringing().blowInterval, 180 * Ringing().changeRate);
}

}  // namespace
}  // namespace clangor
