// The ropes window's arithmetic and ropesight practice, without a display.
#include <gtest/gtest.h>

#include <cmath>

#include "views/rope_geometry.h"
#include "views/ropesight.h"

namespace clangor {
namespace {

// ---------------------------------------------------------------- rope travel

// A bell with a 0.5 m wheel that is also the tenor: the window is
// 0.5 x 5.922... + 1 sallies high.
constexpr double Radius = 0.5;

TEST(RopeTravel, ThroughAWholeSwingHandAndBack) {
  // Travel in wheel radii at points of a swing from handstroke balance
  // through the bottom to backstroke balance.
  struct Case {
    const char* what;
    int angle;
    double radii;
  } const cases[] = {
      {"at rest, horizontal on the handstroke side", -9000, 0.0},
      {"45 degrees either side of rest: the slant ends", -4500, 1.0 - 0.41421356},
      {"45 degrees either side of rest, the other way", -13500, 1.0 - 0.41421356},
      {"handstroke balance: wheel arc on from 45 degrees", -18000, 1.0 + M_PI / 4 - 0.41421356},
      {"hanging down", 0, 1.0 + M_PI / 4 - 0.41421356},
      {"backstroke horizontal", 9000, 1.0 + 3 * M_PI / 4 - 0.41421356},
      {"backstroke balance: the most rope drawn up", 18000, 1.0 + 5 * M_PI / 4 - 0.41421356},
  };
  for (const Case& c : cases) EXPECT_NEAR(RopeTravel(c.angle, Radius), c.radii * Radius, 1e-5) << c.what;
  // The rope never travels below rest.
  EXPECT_EQ(RopeTravel(-9000, 0.0), 0.0);
}

TEST(RopeTravel, SallyRisesFromTheBottomToOneSallyBelowTheTop) {
  const double view = ViewHeightInSallies(Radius);
  const int sally = 50;
  const int bottom = static_cast<int>(sally * view) - sally;
  EXPECT_EQ(RopeTop(RopeTravel(-9000, Radius), sally, view), bottom);
  // The tenor at the backstroke balance: its sally's top at the window's top.
  EXPECT_NEAR(RopeTop(RopeTravel(18000, Radius), sally, view), 0, 1);
  // From rest to the backstroke balance the sally climbs all the way, and
  // from rest to the handstroke balance part of the way.
  for (const int step : {1000, -1000}) {
    int previous = bottom + 1;
    for (int angle = -9000; angle <= 18000 && angle >= -18000; angle += step) {
      const int top = RopeTop(RopeTravel(angle, Radius), sally, view);
      EXPECT_LT(top, previous) << angle;
      previous = top;
    }
  }
}

TEST(RopesScale, SallyHeightAndRopeWidth) {
  const double view = ViewHeightInSallies(Radius);  // 3.961...
  struct Case {
    int height, imageWidth, imageHeight;
    int sally, width;
  } const cases[] = {
      {400, 30, 600, 100, 6},   // 400 / 3.96 = 100; 30 x 100 x 1.3 / 600 = 6.5
      {800, 30, 600, 201, 13},  // 13.065
      {60, 30, 600, 15, 4},     // 0.975: never below 4 pixels
      {0, 30, 600, 0, 4},
  };
  for (const Case& c : cases) {
    const RopesScale s = ScaleFor(c.height, view, c.imageWidth, c.imageHeight);
    EXPECT_EQ(s.sallyHeight, c.sally) << c.height;
    EXPECT_EQ(s.ropeWidth, c.width) << c.height;
  }
}

TEST(RopesColumns, SpacingAndTheRopeUnderThePointer) {
  // Six bells of an eight across 610 pixels with the hit bar: 100 each.
  EXPECT_EQ(ColumnSpacing(610, true, 6), 100);
  EXPECT_EQ(ColumnSpacing(610, false, 8), 76);
  EXPECT_EQ(ColumnSpacing(610, false, 0), 0);
  struct Case {
    int x;
    bool hitBar;
    int spacing, column;
  } const cases[] = {
      {0, true, 100, -1}, {9, true, 100, -1},  // the hit bar is over no rope
      {10, true, 100, 0}, {109, true, 100, 0}, {110, true, 100, 1},
      {0, false, 100, 0}, {250, false, 100, 2},
      {50, false, 0, -1}, {-3, false, 100, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(ColumnAt(c.x, c.hitBar, c.spacing), c.column) << c.x << " " << c.hitBar;
  EXPECT_EQ(ColumnLeft(2, 100, true), 210);
}

TEST(RopesColumns, TooSmallAWindowIsRefused) {
  const double view = ViewHeightInSallies(Radius);
  // At 400 high a rope is 6 wide: twelve need 72.
  EXPECT_TRUE(ContentSizeAllowed(72, 400, 12, view, 30, 600));
  EXPECT_FALSE(ContentSizeAllowed(71, 400, 12, view, 30, 600));
  EXPECT_TRUE(ContentSizeAllowed(48, 50, 12, view, 30, 600));  // 4 wide at least
  EXPECT_FALSE(ContentSizeAllowed(600, 49, 12, view, 30, 600));
}

// ---------------------------------------------------------------- ropesight

// Six bells of a six ringing, bell b with id b, at `time`; the row given
// as ids by place.
RingingSnapshot Ringing6(std::vector<int> row, int rowBlows = 2, double time = 10.0) {
  RingingSnapshot s;
  for (int b = 0; b < 6; ++b) {
    RopeBellState bell;
    bell.exists = bell.inPlay = bell.up = true;
    bell.id = b;
    bell.time = time;
    bell.wheelRadius = Radius;
    s.bells.push_back(bell);
  }
  s.rowBells = 6;
  s.rowBlows = rowBlows;
  s.row = std::move(row);
  s.blowInterval = 0.2;
  return s;
}

const std::vector<int> Rounds{0, 1, 2, 3, 4, 5};

// The own bell (bell 2, third in rounds) strikes with its next move given
// as a place change (-1 down, 0 place, +1 up), at a backstroke.
RingingSnapshot OwnBlow(Ropesight& r, int move, std::vector<int> row = Rounds) {
  RingingSnapshot s = Ringing6(row, 1);
  r.OnBlow(0, s, 3);  // the row's first blow brings the row in
  s.rowBlows = 3;
  RopeBellState& own = s.bells[2];
  own.struckHandstroke = false;  // the next row is a handstroke: its code carries the gap
  own.nextMove = move + 1 + 1;
  own.prevMove = 1;
  r.OnBlow(2, s, 3);
  return s;
}

TEST(Ropesight, FlashOfTheRopeToFollowIsScoredOnceAsItStarts) {
  Ropesight r(6);
  RingingSnapshot s = Ringing6(Rounds);
  ASSERT_EQ(r.SetOwnRope(2, s), 2);
  OwnBlow(r, 0);
  // Bell 1 leads the own bell: it flashes 3 tenths of a 6-bell row later.
  const double due = 10.0 + 3 * 0.1 * 6 * 0.2;
  EXPECT_EQ(r.FlashState(1, 1000, due - 0.01, 1), 0);
  EXPECT_EQ(r.scores().Total(), 0);
  EXPECT_EQ(r.FlashState(1, 1000, due, 1), Ropesight::FlashPlace);  // the pointer on it: a hit
  EXPECT_EQ(r.scores().placesDownTotal, 1);
  EXPECT_EQ(r.scores().placesDownMisses, 0);
  // Moving away during the flash changes nothing.
  EXPECT_EQ(r.FlashState(1, 1100, due + 0.1, 4), Ropesight::FlashPlace);
  EXPECT_EQ(r.FlashState(1, 1200, due + 0.2, 4), Ropesight::FlashPlace);
  EXPECT_EQ(r.scores().Total(), 1);
  EXPECT_EQ(r.scores().placesDownMisses, 0);
  // 200 ms on it is over.
  EXPECT_EQ(r.FlashState(1, 1201, due + 0.2, 4), 0);
  EXPECT_EQ(r.FlashState(1, 1300, due + 0.3, 4), 0);
  EXPECT_EQ(r.scores().Total(), 1);
  // Other ropes do not flash.
  EXPECT_EQ(r.FlashState(3, 1000, due, 3), 0);
}

TEST(Ropesight, TheClassAndTheMissFollowTheOwnBellsMove) {
  struct Case {
    const char* what;
    int move;
    int pointer;
    int state;
    RopesightScores scores;
  } const cases[] = {
      {"up, hit", +1, 1, Ropesight::FlashUp, {0, 0, 1, 0}},
      {"up, missed", +1, 3, Ropesight::FlashUp, {1, 0, 1, 0}},
      {"down, missed: no rope under the pointer", -1, -1, Ropesight::FlashDown, {0, 1, 0, 1}},
      {"place, hit", 0, 1, Ropesight::FlashPlace, {0, 0, 0, 1}},
  };
  for (const Case& c : cases) {
    Ropesight r(6);
    r.SetOwnRope(2, Ringing6(Rounds));
    OwnBlow(r, c.move);
    EXPECT_EQ(r.FlashState(1, 500, 100.0, c.pointer), c.state) << c.what;
    const RopesightScores& s = r.scores();
    EXPECT_EQ(s.upMisses, c.scores.upMisses) << c.what;
    EXPECT_EQ(s.placesDownMisses, c.scores.placesDownMisses) << c.what;
    EXPECT_EQ(s.upTotal, c.scores.upTotal) << c.what;
    EXPECT_EQ(s.placesDownTotal, c.scores.placesDownTotal) << c.what;
  }
}

TEST(Ropesight, NothingIsScoredWithoutAFlashToScore) {
  {
    SCOPED_TRACE("the own bell leading");
    Ropesight r(6);
    r.SetOwnRope(2, Ringing6(Rounds));
    OwnBlow(r, 0, {2, 0, 1, 3, 4, 5});
    for (int b = 0; b < 6; ++b) EXPECT_EQ(r.FlashState(b, 500, 100.0, b), 0);
    EXPECT_EQ(r.scores().Total(), 0);
  }
  {
    SCOPED_TRACE("two bells in the row");
    Ropesight r(6);
    RingingSnapshot s = Ringing6({0, 2}, 1);
    s.rowBells = 2;
    r.SetOwnRope(2, s);
    r.OnBlow(2, s, 3);
    EXPECT_EQ(r.FlashState(0, 500, 100.0, 0), 0);
  }
  {
    SCOPED_TRACE("no own rope: a second choice of the same rope clears it");
    Ropesight r(6);
    RingingSnapshot s = Ringing6(Rounds);
    r.SetOwnRope(2, s);
    EXPECT_EQ(r.SetOwnRope(2, s), -1);
    OwnBlow(r, 0);
    EXPECT_EQ(r.FlashState(1, 500, 100.0, 1), 0);
    EXPECT_EQ(r.scores().Total(), 0);
  }
  {
    SCOPED_TRACE("a bell the engine has no record of");
    Ropesight r(6);
    RingingSnapshot s = Ringing6(Rounds);
    s.bells[4].exists = false;
    EXPECT_EQ(r.SetOwnRope(4, s), -1);
    EXPECT_EQ(r.SetOwnRope(9, s), -1);
  }
}

TEST(Ropesight, APauseMovesThePendingFlashOn) {
  Ropesight r(6);
  r.SetOwnRope(2, Ringing6(Rounds));
  OwnBlow(r, 0);
  r.ShiftTime(5.0);
  EXPECT_EQ(r.FlashState(1, 500, 10.5, 1), 0);
  EXPECT_EQ(r.FlashState(1, 500, 15.5, 1), Ropesight::FlashPlace);
}

TEST(Ropesight, ScoresResetForANewTouch) {
  Ropesight r(6);
  r.SetOwnRope(2, Ringing6(Rounds));
  OwnBlow(r, 0);
  r.FlashState(1, 500, 100.0, 0);
  ASSERT_EQ(r.scores().Total(), 1);
  r.ResetScores();
  EXPECT_EQ(r.scores().Total(), 0);
  EXPECT_EQ(r.scores().placesDownMisses, 0);
}

TEST(Ropesight, ColumnsAboveAndBelowTheOwnRope) {
  Ropesight r(6);
  RingingSnapshot s = Ringing6(Rounds);
  for (int b = 0; b < 6; ++b) EXPECT_TRUE(r.Below(b)) << "no own rope: all below";
  r.SetOwnRope(2, s);
  OwnBlow(r, 0, {0, 3, 2, 1, 4, 5});
  r.ComputeAboveBelow(false, s);
  const bool below[] = {false, true, true, false, true, true};  // bell 3 leads the own bell; bell 2 is own (kept)
  for (int b = 0; b < 6; ++b)
    if (b != 2) {
      EXPECT_EQ(r.Below(b), below[b]) << b;
    }
  // Moving down, the bell it follows now strikes after it.
  r.ComputeAboveBelow(true, s);
  EXPECT_TRUE(r.Below(3));
  EXPECT_FALSE(r.Below(0));
}

TEST(Ropesight, TheTintsTurnAsTheOwnBellRises) {
  Ropesight r(6);
  RingingSnapshot s = Ringing6(Rounds);
  r.SetOwnRope(2, s);
  OwnBlow(r, -1, {0, 3, 2, 1, 4, 5});
  // Falling from its blow: nothing yet.
  s.bells[2].angle = 15000;
  s.bells[2].anticlockwise = false;
  r.CheckAboveBelow(s);
  EXPECT_TRUE(r.Below(0));
  // Rising on the other side: above and below as in the row rung.
  s.bells[2].angle = -3000;
  r.CheckAboveBelow(s);
  EXPECT_FALSE(r.Below(0));
  EXPECT_FALSE(r.Below(3));
  EXPECT_TRUE(r.Below(1));
}

TEST(RopesightStatistics, TheMessageText) {
  EXPECT_EQ(RopesightStatistics({}, 10), "");
  EXPECT_EQ(RopesightStatistics({1, 0, 3, 2}, 5),
            "Up:\t\t2 / 3 hits (66%)\nPlaces and Down:\t2 / 2 hits (100%)\nOverall:\t\t4 / 5 hits (80%)");
  EXPECT_EQ(RopesightStatistics({0, 1, 0, 1}, 12),
            "Up:\t\t0 / 0 hits (0%)\nPlaces and Down:\t0 / 1 hits (0%)\nOverall:\t\t0 / 1 hits (0%)\n"
            "(blows leading are not scored)");
}

TEST(RopesightStatistics, HitBarFillsFromTheMissesDown) {
  EXPECT_EQ((RopesightScores{1, 0, 3, 1}.HitBarTop(400)), 100);
  EXPECT_EQ((RopesightScores{0, 0, 3, 0}.HitBarTop(400)), 0);
  EXPECT_EQ((RopesightScores{2, 1, 2, 1}.HitBarTop(400)), 400);
  EXPECT_EQ(RopesightScores{}.HitBarTop(400), 400);
}

TEST(CallChangeTip, TheCallThatMovesTheBell) {
  // Bells 2, 4, 5, 6, 7, 8 of an eight in play, as ids 0 to 5; the row 132456 by id.
  const std::vector<int> numbers{2, 4, 5, 6, 7, 8};
  const std::vector<int> row{0, 2, 1, 3, 4, 5};
  struct Case {
    int id;
    bool up;
    const char* tip;
  } const cases[] = {
      {2, true, "5 to 4"}, {2, false, "5 lead"}, {1, false, "4 to 2"},
      {5, true, ""}, {0, false, ""}, {0, true, "2 to 5"}, {9, true, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CallChangeTip(row, c.id, c.up, numbers), c.tip) << c.id << " " << c.up;
}

}  // namespace
}  // namespace clangor
