#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/ringing_state.h"
#include "tests/tower/bell_fixture.h"
#include "tower/bell.h"
#include "tower/bell_faults.h"
#include "tower/picture_sequence.h"
#include "tower/tower_text.h"

namespace clangor {
namespace {

using testing::BellTest;
using testing::kBackStrike;
using testing::kHandStrike;
using testing::kOtherStay;
using testing::kSetAngle;
using testing::BellSection;
using testing::SpeedToTurnAt;
using testing::SteadyTable;

// Runs the bell in sub-steps of 0.1 s up to `until`, calling `each` after
// every advance with the flags.
template <typename Each>
void RunBell(Bell& bell, double until, Each each) {
  double t = bell.state().time;
  while (t < until) {
    t += 0.1;
    // A strike ends the advance early; the rest of the sub-step follows.
    for (int guard = 0; guard < 100 && bell.state().time < t && !bell.state().stood; ++guard) {
      each(bell.advanceTo(t));
    }
    if (bell.state().stood) return;
  }
}

TEST(PictureSequence, ExpandsRangesUpAndDown) {
  EXPECT_EQ(ParsePictureSequence("1-5,9,12-10", 20, 20), (std::vector<int>{1, 2, 3, 4, 5, 9, 12, 11, 10}));
  EXPECT_EQ(ParsePictureSequence("1-5,9,12-10", 4, 20), (std::vector<int>{1, 2, 3, 4}));
  // Pictures that do not exist are left out, however far a range runs.
  EXPECT_EQ(ParsePictureSequence("3, 99, 2000000000-1, -4", 50, 4), (std::vector<int>{3, 3, 2, 1}));
  EXPECT_EQ(ParsePictureSequence("", 5, 5), std::vector<int>{});
  EXPECT_EQ(ParsePictureSequence("0-4", 0, 5), std::vector<int>{});
}

TEST_F(BellTest, ReadsItsFieldsWithTheirConversions) {
  Tower& tower = LoadTower("XPos=120\nSourceBell=2\nBeneath=1\nAbove=7\nWheelRadius=-0.5\nSetDelay=250\n",
                           {}, "[Recordings]\nSource=Here\n\n[1]\nOpenFile=a.wav\nMuffledFile=am.wav\n"
                               "OpenSemitoneShift=2\nStrikingCorrection=0.015\n\n[2]\nOpenFile=b.wav\n"
                               "OpenSemitoneShift=-3\n");
  const BellData& first = bell(0).data();
  EXPECT_EQ(first.name, "Bell 1");
  EXPECT_NEAR(first.pendulumLength, 0.99396, 1e-9);
  EXPECT_NEAR(first.stepLength, 0.0034696, 1e-7);
  EXPECT_NEAR(first.maxPullAccel, 9.81, 1e-12);
  EXPECT_EQ(first.x, 120);
  EXPECT_EQ(first.sourceBell, 2);
  EXPECT_EQ(first.beneath, 0);
  EXPECT_EQ(first.above, -1);          // bell 7 is not in this tower
  EXPECT_EQ(first.wheelRadius, 0.5);   // a length has no sign
  EXPECT_EQ(first.setDelay, 250);
  EXPECT_EQ(first.handStrike, kHandStrike);
  EXPECT_EQ(first.openFile, "a.wav");
  EXPECT_EQ(first.mutedFile, "am.wav");
  EXPECT_EQ(first.openShift, 2);
  EXPECT_DOUBLE_EQ(first.strikingCorrection, 0.015);
  EXPECT_EQ(first.imageCount, 7);
  EXPECT_EQ(first.acwSequence, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(first.cwSequence, (std::vector<int>{6, 5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(first.downIndex, 3);
  EXPECT_TRUE(first.canSwing);

  // The second bell has no muffled recording: its open one stands in, and
  // the tower has no muffled sounds.
  const BellData& second = bell(1).data();
  EXPECT_EQ(second.mutedFile, "b.wav");
  EXPECT_EQ(second.mutedShift, -3);
  EXPECT_EQ(second.sourceBell, 2);
  EXPECT_FALSE(tower.hasMuffledSounds());

  // A new bell rests on its stay, shown hanging down until it is raised.
  EXPECT_TRUE(bell(0).state().stood);
  EXPECT_EQ(bell(0).state().angle, kSetAngle);
  EXPECT_TRUE(bell(0).state().handstrokeNext);
  EXPECT_TRUE(bell(0).isDown());
}

// Bell numbers at the ends of the integers name no bell: made 0-based, the
// lowest one once overflowed.
TEST_F(BellTest, BellNumbersBeyondTheIntegersNameNoBell) {
  LoadTower("SourceBell=-2147483648\nBeneath=-2147483648\nAbove=99999999999\n");
  const BellData& first = bell(0).data();
  EXPECT_EQ(first.sourceBell, 1);
  EXPECT_EQ(first.beneath, -1);
  EXPECT_EQ(first.above, -1);
  EXPECT_EQ(ReadIntIn("-2147483648", 0, 13), 0);
  EXPECT_EQ(ReadIntIn("2147483648", 0, 13), 13);
}

TEST_F(BellTest, SwingsWithItsPendulumPeriodAndKeepsItsEnergy) {
  LoadTower();
  Bell& b = bell(0);
  b.start(0);
  // Released from rest 5 degrees out, with no rope: a free pendulum.
  SwingState& s = b.state();
  s.firstSwing = false;
  s.transition = -1;
  s.angle = 500;
  s.prevGravity = 9.81 * std::sin(500 * 3.141592653589793 / 18000);
  s.turningClockwise = true;
  s.speed = 0;
  s.time = 0;

  std::vector<double> turns;  // times of turning back clockwise (at the right)
  std::vector<int> highs;
  bool clockwise = true;
  int high = 0;
  RunBell(b, 40.0, [&](int) {
    high = std::max(high, s.angle);
    if (s.turningClockwise && !clockwise) {
      turns.push_back(s.time);
      highs.push_back(high);
      high = 0;
    }
    clockwise = s.turningClockwise;
  });
  ASSERT_GE(turns.size(), 15u);
  const double period = (turns.back() - turns.front()) / static_cast<double>(turns.size() - 1);
  EXPECT_NEAR(period, 2.0, 0.02);
  for (const int h : highs) EXPECT_NEAR(h, 500, 20) << period;  // within one step of where it started
}

TEST_F(BellTest, StrikesAtItsStrikeAnglesAndRingsSteadily) {
  LoadTower();
  Ringing().bellsInPlay = 1;
  Bell& b = bell(0);
  b.start(0);
  std::vector<double> blows;
  bool handstroke = true;
  RunBell(b, 30.0, [&](int flags) {
    if (!(flags & Bell::Struck)) return;
    const int angle = b.state().angle;
    if (handstroke) {
      EXPECT_GE(angle, kHandStrike);
      EXPECT_LT(angle, kHandStrike + Bell::StepLengthDegrees);
    } else {
      EXPECT_LE(angle, kBackStrike);
      EXPECT_GT(angle, kBackStrike - Bell::StepLengthDegrees);
    }
    EXPECT_EQ(b.state().strikeTime, b.state().time);
    handstroke = !handstroke;
    EXPECT_EQ(b.state().handstrokeNext, handstroke);
    blows.push_back(b.state().time);
  });
  EXPECT_FALSE(b.state().stood);
  ASSERT_GE(blows.size(), 8u);
  // After the first swing every whole pull takes the same time.
  for (std::size_t i = 3; i + 2 < blows.size(); i += 2) {
    EXPECT_NEAR(blows[i + 2] - blows[i], blows[3] - blows[1], 0.01) << i;
  }
  // It never reaches the balance, so never its stay.
  EXPECT_EQ(b.state().stayHits, 0);
}

TEST_F(BellTest, BouncesOnItsStayThenStands) {
  LoadTower();
  Ringing().bellsInPlay = 1;
  Bell& b = bell(0);
  b.start(0);
  EXPECT_EQ(Ringing().bellsSwinging, 1);
  // Over the balance, falling slowly towards the stay, with no rope: too
  // slow to bounce back over the balance.
  SwingState& s = b.state();
  s.firstSwing = false;
  s.transition = -1;
  s.handstrokeNext = true;  // no blow due on this side
  s.angle = -18400;
  s.prevGravity = 9.81 * std::sin(1600 * 3.141592653589793 / 18000);
  s.turningClockwise = true;
  s.speed = -0.05;
  s.time = 0;

  std::vector<int> bounces;
  int last = 0;
  int finalFlags = 0;
  RunBell(b, 20.0, [&](int flags) {
    if (s.stayHits != last && !s.stood) bounces.push_back(s.stayHits);
    last = s.stayHits;
    finalFlags = flags;
  });
  EXPECT_EQ(bounces, (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_TRUE(s.stood);
  EXPECT_EQ(finalFlags & 0x41, 0x41);
  EXPECT_EQ(s.angle, kSetAngle);
  EXPECT_EQ(Ringing().bellsSwinging, 0);
}

TEST_F(BellTest, StandsOnStandAfterAHandstrokeAndABackstroke) {
  LoadTower();
  Ringing().bellsInPlay = 1;
  Bell& b = bell(0);
  b.start(0);
  int blows = 0;
  RunBell(b, 8.0, [&](int flags) { blows += (flags & Bell::Struck) ? 1 : 0; });
  ASSERT_FALSE(b.state().stood);
  // Call Stand just after a backstroke.
  while (!(b.advanceTo(b.state().time + 10) & Bell::Struck) || b.state().handstrokeNext == false) {
  }
  Ringing().standRequested = true;
  std::vector<bool> strokes;  // true: a handstroke
  int flags = 0;
  bool bounced = false;
  RunBell(b, b.state().time + 20.0, [&](int f) {
    if (f & Bell::Struck) strokes.push_back(!b.state().handstrokeNext);
    bounced = bounced || b.state().stayHits > 0;
    flags = f;
  });
  EXPECT_EQ(strokes, (std::vector<bool>{true, false}));
  EXPECT_TRUE(b.state().stood);
  EXPECT_FALSE(bounced);
  EXPECT_EQ(flags & 0x41, 0x41);
  EXPECT_EQ(b.state().angle, kSetAngle);
  EXPECT_TRUE(b.state().handstrokeNext);
  EXPECT_EQ(Ringing().bellsSwinging, 0);
  EXPECT_FALSE(Ringing().standRequested);
  // A stood bell shows its set picture.
  EXPECT_EQ(b.advanceTo(b.state().time + 1), Bell::PictureChanged);
  EXPECT_TRUE(b.isUp());
}

TEST_F(BellTest, ShowsThePictureItsAngleHasPassed) {
  LoadTower();
  Ringing().bellsInPlay = 1;
  Bell& b = bell(0);
  b.start(0);
  const auto& d = b.data();
  int changes = 0;
  RunBell(b, 12.0, [&](int flags) {
    const auto& seq = b.state().turningClockwise ? d.cwSequence : d.acwSequence;
    // The picture shown is the last in the sequence whose angle is passed.
    int expected = seq.front();
    for (const int p : seq) {
      const int angle = d.imageAngle[static_cast<std::size_t>(p)];
      if (b.state().turningClockwise ? angle >= b.state().angle : angle <= b.state().angle) expected = p;
      else break;
    }
    EXPECT_EQ(b.picture(), expected) << b.state().angle;
    changes += flags & Bell::PictureChanged;
  });
  EXPECT_GT(changes, 8);
}

TEST_F(BellTest, StepsTowardsUpAndDownOverLoadedPictures) {
  LoadTower();
  Bell& b = bell(0);
  EXPECT_EQ(b.pictureIndex(), 3);
  EXPECT_EQ(b.nextPictureToLoad(), 3);
  b.markPictureLoaded(3);
  EXPECT_EQ(b.nextPictureToLoad(), 2);
  EXPECT_FALSE(b.stepTowardsUp());  // picture 2 is not loaded yet
  for (int picture = 0; picture < 7; ++picture) b.markPictureLoaded(picture);
  EXPECT_EQ(b.nextPictureToLoad(), -1);
  int steps = 0;
  while (b.stepTowardsUp()) ++steps;
  EXPECT_EQ(steps, 3);
  EXPECT_TRUE(b.isUp());
  steps = 0;
  while (b.stepTowardsDown()) ++steps;
  EXPECT_EQ(steps, 3);
  EXPECT_TRUE(b.isDown());
  EXPECT_FALSE(b.stepTowardsDown());
}

TEST_F(BellTest, DataThatCannotSwingLeavesTheBellAtRest) {
  const struct {
    const char* what;
    std::string extra;
  } cases[] = {
      {"period 0", "Period=0\n"},
      {"no sequences", "ACWiseSeqCount=0\nCWiseSeqCount=0\n"},
      {"sequence of missing pictures", "ACWiseSeq=40-50\nCWiseSeq=70\n"},
      {"huge counts", "ImageCount=2000000000\nACWiseSeqCount=2000000000\nPeriod=nan\n"},
      {"stays on one side", "p0=100\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    LoadTower(c.extra);
    Ringing().bellsInPlay = 1;
    Bell& b = bell(0);
    EXPECT_FALSE(b.data().canSwing);
    b.start(0);
    const int flags = b.advanceTo(5.0);
    EXPECT_EQ(flags & 0x41, 0x41);
    EXPECT_TRUE(b.state().stood);
    EXPECT_TRUE(std::isfinite(b.state().time));
    EXPECT_EQ(Ringing().bellsSwinging, 0);
    bells_.clear();
    tower_.reset();
    settings_.reset();
    Ringing().Reset();
  }
}

// The length goes with the period squared: a period written with a minus sign
// is the same bell, striking at the same times.
TEST_F(BellTest, ANegativePeriodIsTheSameBellAsItsAbsoluteValue) {
  const auto blowTimes = [&](const std::string& extra) {
    LoadTower(extra);
    Ringing().bellsInPlay = 1;
    Bell& b = bell(0);
    EXPECT_TRUE(b.data().canSwing);
    EXPECT_NEAR(b.data().pendulumLength, 0.99396, 1e-9);
    b.start(0);
    std::vector<double> times;
    RunBell(b, 20.0, [&](int flags) {
      if (flags & Bell::Struck) times.push_back(b.state().strikeTime);
    });
    bells_.clear();
    tower_.reset();
    settings_.reset();
    Ringing().Reset();
    return times;
  };
  const std::vector<double> positive = blowTimes("Period=2\n");
  ASSERT_GE(positive.size(), 5u);
  EXPECT_EQ(blowTimes("Period=-2\n"), positive);
}

// Every bell that cannot swing is named when the tower loads, with the reason.
TEST_F(BellTest, BellsThatCannotSwingAreNamedWithTheirReason) {
  WriteFile("tower.txt", "[Tower]\nRAM=16\n");
  WriteTable(4, 1, SteadyTable(4, SpeedToTurnAt(2.0, 178.5)));
  WriteFile("control.txt", "[Base Image]\nWidth=640\n\n" + BellSection(1) + BellSection(2, "Period=0\n") +
                               BellSection(3, "ImageCount=0\n") + BellSection(5));
  settings_ = std::make_unique<SettingsStore>();
  tower_ = std::make_unique<Tower>("Test", *settings_);
  const std::vector<BellFault> faults = FindBellFaults(*tower_);
  ASSERT_EQ(faults.size(), 3u);
  EXPECT_EQ(faults[0].bell, 1);
  EXPECT_EQ(DescribeBellFault("Test", faults[0]), "Bell 2 of \"Test\" cannot ring: its period is 0");
  EXPECT_EQ(faults[1].bell, 2);
  EXPECT_EQ(faults[1].reason, "it has no pictures to swing through");
  EXPECT_EQ(faults[2].bell, 3);  // its section is numbered 5: it has nothing
}

TEST_F(BellTest, GarbagePropertiesNeverGiveEndlessOrNonFiniteTimes) {
  std::uint32_t seed = 777;
  const auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  const char* keys[] = {"Period", "ImageCount", "p0", "p1", "p6", "ACWiseSeq", "CWiseSeq", "ACWiseSeqCount",
                        "CWiseSeqCount", "HandStrike", "BackStrike", "SetDelay", "MaxPull"};
  const char* values[] = {"0", "-1", "1e308", "2", "-18500", "18500", "0-6", "6-0,9,2000000000-0", "99999",
                          "-99999", "nan", "0.001", "40000"};
  std::vector<double> table = testing::SteadyTable(2, 1e300);  // absurd speeds too
  for (int round = 0; round < 12; ++round) {
    std::string extra;
    for (int i = 0; i < 4; ++i) {
      extra += std::string(keys[next() % std::size(keys)]) + "=" + values[next() % std::size(values)] + "\n";
    }
    SCOPED_TRACE(extra);
    LoadTower(extra, round % 2 ? table : std::vector<double>{});
    Ringing().bellsInPlay = 2;
    Ringing().standRequested = round % 3 == 0;
    bell(0).start(0);
    bell(1).start(1);
    for (double t = 0.1; t < 30.0; t += 0.1) {
      for (int i = 0; i < 2; ++i) {
        for (int guard = 0; guard < 1000 && bell(i).state().time < t && !bell(i).state().stood; ++guard) {
          bell(i).advanceTo(t);
        }
        ASSERT_TRUE(std::isfinite(bell(i).state().time));
        ASSERT_TRUE(std::isfinite(bell(i).state().speed));
      }
    }
    bells_.clear();
    tower_.reset();
    settings_.reset();
    Ringing().Reset();
  }
}

TEST_F(BellTest, PictureAnglesOutOfOrderStillSwing) {
  LoadTower("p2=9000\np4=-9000\n");
  Ringing().bellsInPlay = 1;
  Bell& b = bell(0);
  b.start(0);
  int blows = 0;
  RunBell(b, 20.0, [&](int flags) {
    blows += (flags & Bell::Struck) ? 1 : 0;
    EXPECT_GE(b.picture(), 0);
    EXPECT_LT(b.picture(), 7);
  });
  EXPECT_GT(blows, 4);
  EXPECT_FALSE(b.state().stood);
}

TEST_F(BellTest, AZeroTableLetsTheBellFallBackOntoItsStayAndStand) {
  LoadTower("", std::vector<double>(2 * 2 * 5460, 0.0));
  Ringing().bellsInPlay = 1;
  Bell& b = bell(0);
  b.start(0);
  int flags = 0;
  RunBell(b, 60.0, [&](int f) { flags = f; });
  EXPECT_TRUE(b.state().stood);
  EXPECT_EQ(flags & Bell::Stopped, Bell::Stopped);
}

TEST_F(BellTest, RowsAndTimingLevels) {
  std::vector<double> table(2 * 2 * 5460, 0.0);
  // Bell 1, two ringing bells: speed 150 holds class 3, 151 class 2, 152 class 1.
  table[0 * 60 + 18] = 1;
  table[1 * 60 + 21] = 1;
  table[2 * 60 + 12] = 1;
  table[(90) * 60 + 54] = 0.75;  // speed 240, entry 54
  LoadTower("", table);
  Bell& b = bell(0);
  EXPECT_EQ(b.timingLevel(150), 3);
  EXPECT_EQ(b.timingLevel(151), 2);
  EXPECT_EQ(b.timingLevel(152), 1);
  EXPECT_EQ(b.timingLevel(153), 0);
  EXPECT_EQ(b.timingLevel(149), 0);
  EXPECT_EQ(b.timingLevel(241), 0);
  Ringing().pealSpeedInUse = 150;
  EXPECT_EQ(b.timingLevel(0), 3);
  EXPECT_EQ(b.rowAddress(240, 2)[54], 0.75);
  EXPECT_EQ(b.rowAddress(240, 3), nullptr);
  EXPECT_EQ(b.rowValue(54), 0.0);  // no row until the bell starts
  Ringing().pealSpeedInUse = 240;
  b.start(0);
  EXPECT_EQ(b.rowValue(54), 0.75);
  EXPECT_EQ(b.rowValue(60), 0.0);
  EXPECT_EQ(b.rowValue(-1), 0.0);
}

TEST_F(BellTest, ANewPealSpeedReachesTheBellsOneRowLater) {
  LoadTower();
  Ringing().bellsInPlay = 2;
  Ringing().pealSpeed = Ringing().pealSpeedInUse = Ringing().referenceSpeed = 200;
  int carriedOut = 0;
  Ringing().speedChangeCarriedOut = [&] { ++carriedOut; };
  bell(0).start(0);
  bell(1).start(1);
  bell(1).state().time = -0.3;  // the second bell a little behind
  EXPECT_EQ(Ringing().bellsSwinging, 2);

  std::vector<int> inUse;  // pealSpeedInUse after every blow
  bool asked = false;
  for (double t = 0.1; t < 40.0 && carriedOut == 0; t += 0.1) {
    for (int i = 0; i < 2; ++i) {
      while (bell(i).state().time < t) {
        if (bell(i).advanceTo(t) & Bell::Struck) inUse.push_back(Ringing().pealSpeedInUse);
      }
    }
    if (!asked && inUse.size() >= 6) {
      Ringing().pealSpeed = 210;  // SetPendingPealSpeed while ringing
      asked = true;
    }
  }
  EXPECT_EQ(carriedOut, 1);
  EXPECT_EQ(Ringing().pealSpeedInUse, 210);
  EXPECT_EQ(Ringing().referenceSpeed, 210);
  // The speed in use changed once, a whole row after it was asked for.
  int changes = 0;
  for (std::size_t i = 1; i < inUse.size(); ++i) changes += inUse[i] != inUse[i - 1];
  EXPECT_EQ(changes, 1);
}

TEST_F(BellTest, BellsJoinFiringStrokeByStrokeAndLeaveIt) {
  LoadTower();
  Ringing().bellsInPlay = 2;
  bell(0).start(0);
  bell(1).start(1);
  bell(1).state().time = -Ringing().blowInterval;
  std::vector<int> steps;  // firingStep after each blow
  const auto ring = [&](double until) {
    for (double t = bell(0).state().time; t < until; t += 0.1) {
      for (int i = 0; i < 2; ++i) {
        while (bell(i).state().time < t) {
          if (bell(i).advanceTo(t) & Bell::Struck) steps.push_back(Ringing().firingStep);
        }
      }
    }
  };
  ring(10.0);
  EXPECT_EQ(Ringing().firingStep, 0);
  Ringing().firing = true;
  ring(30.0);
  EXPECT_EQ(Ringing().firingStep, 2);
  EXPECT_NE(bell(0).state().extraDelay, 0.0);
  Ringing().firing = false;
  ring(50.0);
  EXPECT_EQ(Ringing().firingStep, 0);
  // Joining and leaving went one bell at a time.
  for (std::size_t i = 1; i < steps.size(); ++i) EXPECT_LE(std::abs(steps[i] - steps[i - 1]), 1);
  EXPECT_FALSE(bell(0).state().stood);
}

TEST_F(BellTest, TheManualBellMirrorsItsPartnerAndTakesTheUsersPull) {
  LoadTower();
  Ringing().bellsInPlay = 1;
  Bell& partner = bell(0);
  partner.start(0);
  RunBell(partner, 3.0, [](int) {});
  Bell manual(0, true);
  manual.mirror(&partner);
  EXPECT_EQ(&manual.data(), &partner.data());
  manual.takeOver(partner);
  EXPECT_TRUE(manual.active());
  EXPECT_FALSE(partner.rungByProgram());
  EXPECT_EQ(manual.state().angle, partner.state().angle);
  EXPECT_EQ(manual.state().time, partner.state().time);

  // At most 200 steps per call; then its time is the time asked for.
  const double far = manual.state().time + 1000.0;
  manual.advanceTo(far);
  EXPECT_EQ(manual.state().time, far);
  EXPECT_FALSE(manual.state().stood);

  // Two copies from the same state: the one pulled swings higher.
  Bell pulled(0, true);
  Bell free(0, true);
  pulled.mirror(&partner);
  free.mirror(&partner);
  pulled.setPull(1.0);
  int highPulled = 0, highFree = 0;
  for (double t = partner.state().time; t < partner.state().time + 6.0; t += 0.05) {
    pulled.advanceTo(t);
    free.advanceTo(t);
    highPulled = std::max(highPulled, std::abs(pulled.state().angle));
    highFree = std::max(highFree, std::abs(free.state().angle));
  }
  EXPECT_GT(highPulled, highFree);
  EXPECT_EQ(Ringing().bellsSwinging, 1);  // manual bells are not counted

  manual.handBack(partner);
  EXPECT_TRUE(partner.rungByProgram());
  EXPECT_FALSE(manual.active());
}

}  // namespace
}  // namespace clangor
