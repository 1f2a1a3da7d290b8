#include <gtest/gtest.h>

#include <algorithm>

#include "engine/ringing_clock.h"
#include "engine/ringing_control.h"
#include "ringing/call_change_sequence.h"
#include "ringing/method.h"
#include "tests/engine/engine_fixture.h"

namespace clangor::testing {
namespace {

class RingingControlTest : public EngineTest {
 protected:
  RingingControl& Control(int bells) {
    Open(bells);
    control_ = std::make_unique<RingingControl>(*settings_, ticks_, state_);
    control_->SetEngine(engine_.get());
    control_->SetTower(tower_.get());
    SelectAll(bells);
    return *control_;
  }
  void TearDown() override {
    control_.reset();
    EngineTest::TearDown();
  }
  // Rows rung that are rounds and came after a changed row.
  int RoundsComingRound(const std::string& rounds) {
    Count(0);
    int n = 0;
    bool changed = false;
    for (const auto& e : events_) {
      if (e.code != event::RowRung) continue;
      if (e.text != rounds) changed = true;
      else if (changed) ++n, changed = false;
    }
    return n;
  }

  // The rows published so far.
  std::vector<std::string> Rows() {
    Count(0);
    std::vector<std::string> rows;
    for (const auto& e : events_)
      if (e.code == event::RowRung) rows.push_back(e.text);
    return rows;
  }
  bool WaitForRow(const std::string& row) {
    return WaitUntil([&] {
      const auto rows = Rows();
      return std::find(rows.begin(), rows.end(), row) != rows.end();
    });
  }
  // Waits until the bells have stood, or `rows` rows have been published.
  bool StoodWithin(std::size_t rows) {
    WaitUntil([&] { return Count(event::RingingEnded) > 0 || Rows().size() >= rows; });
    return Count(event::RingingEnded) > 0;
  }
  // The changes of the last touch: the rows after the last rounds that came
  // before a changed row, up to and including the rounds it came round at.
  static int LastTouchLength(const std::vector<std::string>& rows, const std::string& rounds) {
    if (rows.empty() || rows.back() != rounds) return -1;
    std::size_t start = rows.size() - 1;
    while (start > 0 && rows[start - 1] != rounds) --start;
    return static_cast<int>(rows.size() - start);
  }
  // What `read` finds in the touch; its default while there is none.
  template <class Read>
  auto Touch(Read read) {
    return engine_->WithTouch([&](ChangeGenerator* g) { return g ? read(*g) : decltype(read(*g)){}; });
  }

  Method plainBobMinor_{6, "Plain Bob", "|12|&-16-16-16,|14|1234"};
  Method cambridgeMinor_{6, "Cambridge Surprise", "&-36-14-12-36-14-56,12"};
  CallChangeSequence queens_{6, "Queens", "5.3.1.4.2"};
  CallChangeSequence toQueens_{6, "Queens", "2.2.2.4.4"};  // 135246, and on from there
  RingingUiState state_;
  std::unique_ptr<RingingControl> control_;
};

TEST_F(RingingControlTest, APlainCourseComesRoundRingsOnAndStandsTheSecondTime) {
  WriteTower(6);
  settings_->SetInt(setting::ActionAtRounds, 2);
  settings_->SetInt(setting::KeepGoingCount, 1);
  RingingControl& control = Control(6);
  control.RingTouch(&plainBobMinor_);
  EXPECT_EQ(state_.lastTouch, &plainBobMinor_);
  EXPECT_EQ(state_.title, "Plain Bob Minor");
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
  // Round once and rung on; the bells stand as the second course comes round,
  // and the rounds they stood at is published as well.
  EXPECT_EQ(RoundsComingRound("123456"), 2);
  // Rows from the first change on: the rounds rung before the touch was
  // handed over depend on how soon the request reached the worker.
  int rows = 0;
  for (const auto& e : events_)
    if (e.code == event::RowRung && (rows > 0 || e.text != "123456")) ++rows;
  EXPECT_GE(rows, 2 * 60);
  EXPECT_LE(rows, 2 * 60 + 4);
  EXPECT_EQ(Count(event::TouchSelected), 1);
}

TEST_F(RingingControlTest, KeepGoingRingsOnAtRounds) {
  WriteTower(6);
  settings_->SetInt(setting::ActionAtRounds, 0);
  RingingControl& control = Control(6);
  control.RingTouch(&plainBobMinor_);
  ASSERT_TRUE(WaitUntil([&] { return RoundsComingRound("123456") >= 3; }));
  EXPECT_TRUE(engine_->ringing());
  control.StopNow();
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

TEST_F(RingingControlTest, ACallPressedTwiceIsCancelledAndNoneWhileStood) {
  RingingControl& control = Control(6);
  EXPECT_FALSE(control.MakeCall('b'));  // no touch yet
  control.RingTouch(&plainBobMinor_);
  ASSERT_TRUE(WaitForEvent(event::TouchSelected));
  ASSERT_TRUE(WaitUntil([&] { return engine_->WithTouch([](ChangeGenerator* g) { return g && !g->starting(); }); }));
  EXPECT_TRUE(control.MakeCall('-'));
  EXPECT_NE(engine_->WithTouch([](ChangeGenerator* g) { return g->selectedCall(); }), 0);
  EXPECT_TRUE(control.MakeCall('b'));
  EXPECT_EQ(engine_->WithTouch([](ChangeGenerator* g) { return g->selectedCall(); }), 0);
  control.StopNow();
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

TEST_F(RingingControlTest, CallChangesOnlyWhileRingingRoundsWithTheBellInPlayAndNotFiring) {
  RingingControl& control = Control(4);
  EXPECT_EQ(control.CallChangeFor(1), "");  // not ringing
  control.Start();
  ASSERT_TRUE(WaitUntil([&] { return Ringing().currentTouch.load() != nullptr; }));
  EXPECT_EQ(control.CallChangeFor(7), "");
  EXPECT_EQ(control.CallChangeFor(1), "2 to 3");
  control.RingTouch(&plainBobMinor_);  // a method is asked for: no call changes now
  EXPECT_FALSE(control.CanCallChanges());
  control.StopNow();
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

TEST_F(RingingControlTest, ASequenceIsRefusedWhileAMethodIsAskedFor) {
  RingingControl& control = Control(6);
  control.RingTouch(&plainBobMinor_);
  control.RingSequence(&queens_);
  ASSERT_TRUE(WaitForEvent(event::TouchSelected));
  for (int i = 0; i < 20; ++i) std::this_thread::yield();
  EXPECT_EQ(engine_->WithTouch([](ChangeGenerator* g) { return g ? g->sequence() : nullptr; }), nullptr);
  control.StopNow();
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

TEST_F(RingingControlTest, FiringNeedsTwoBellsAndNoPendingPealTime) {
  RingingControl& one = Control(1);
  EXPECT_FALSE(one.CanFire());
  EXPECT_FALSE(one.ToggleFiring());
}

TEST_F(RingingControlTest, FiringIsRefusedWhileAPealTimeChangeIsPending) {
  RingingControl& control = Control(3);
  EXPECT_TRUE(control.CanFire());
  Ringing().pealSpeed = 181;
  EXPECT_FALSE(control.ToggleFiring());
  Ringing().pealSpeed = 180;
  EXPECT_TRUE(control.ToggleFiring());
  EXPECT_TRUE(Ringing().firing);
  EXPECT_FALSE(control.ToggleFiring());  // no bell has joined yet
}

TEST_F(RingingControlTest, PealTimeStopsAtItsLimitsAndIsStoredForTheTower) {
  RingingControl& control = Control(3);
  SetPealSpeed(150);
  EXPECT_FALSE(control.ChangePealTime(false));
  EXPECT_TRUE(control.ChangePealTime(true));
  EXPECT_EQ(Ringing().pealSpeed, 151);
  EXPECT_EQ(Ringing().pealSpeedInUse, 151);
  EXPECT_EQ(settings_->GetTowerInt(tower_setting::PealMins), 151);
  SetPealSpeed(240);
  EXPECT_FALSE(control.ChangePealTime(true));
  EXPECT_EQ(Ringing().pealSpeed, 240);
}

TEST_F(RingingControlTest, PealTimeIsRefusedWhenABellCannotMoveAtTheNewSpeed) {
  // The table holds no swings for 181 minutes.
  std::vector<double> table = SteadyTable(3, SpeedToTurnAt(2.0, 178.5));
  for (std::size_t row = 0; row + 60 <= table.size(); row += 60)
    if ((row / 60) % 91 == 181 - 150) std::fill(table.begin() + static_cast<long>(row), table.begin() + static_cast<long>(row) + 60, 0.0);
  WriteTower(3, table);
  RingingControl& control = Control(3);
  EXPECT_FALSE(control.ChangePealTime(true));
  EXPECT_EQ(Ringing().pealSpeed, 180);
  EXPECT_TRUE(control.ChangePealTime(false));
}

TEST_F(RingingControlTest, WhileRingingANewPealTimeIsTakenUpStrokeByStroke) {
  RingingControl& control = Control(3);
  control.Start();
  ASSERT_TRUE(WaitForBlows(6));
  EXPECT_TRUE(control.ChangePealTime(true));
  EXPECT_EQ(Ringing().pealSpeed, 181);
  ASSERT_TRUE(WaitUntil([&] { return views_.speedChanges > 0; }));
  EXPECT_EQ(Ringing().pealSpeedInUse, 181);
  control.StopNow();
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

TEST_F(RingingControlTest, PauseAndStepMoveTheTouchStart) {
  RingingControl& control = Control(2);
  control.Start();
  ASSERT_TRUE(WaitForBlows(2));
  const double start = state_.touchStart;
  control.Pause();
  ASSERT_TRUE(WaitUntil([&] { return engine_->paused(); }));
  ticks_.Advance(3000);
  control.Step();
  EXPECT_GT(state_.touchStart - start, 2.9);
  control.StopNow();
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

TEST_F(RingingControlTest, EscapeStopsRingingBellsAndClosesWhenStood) {
  RingingControl& control = Control(2);
  control.Start();
  ASSERT_TRUE(WaitUntil([&] { return engine_->ringing(); }));
  EXPECT_FALSE(control.Escape());
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
  EXPECT_TRUE(control.Escape());
}

TEST_F(RingingControlTest, PitchStaysWithinAnOctaveAndIsStoredAsText) {
  RingingControl& control = Control(2);
  for (int i = 0; i < 14; ++i) control.ChangePitch(true);
  EXPECT_EQ(state_.semitoneShift, 12);
  EXPECT_EQ(settings_->GetTowerString(tower_string::SemitoneShift), "12");
  control.ChangePitch(false);
  EXPECT_EQ(settings_->GetTowerString(tower_string::SemitoneShift), "11");
}

TEST_F(RingingControlTest, ClockSpeedKeysWithShiftJumpBetweenSlowestNormalAndFastest) {
  RingingControl& control = Control(2);
  struct Case {
    bool up, shift;
    int step;
  };
  const Case cases[] = {{true, false, 1}, {true, true, 12}, {false, true, 0}, {false, true, -6},
                        {true, true, 0},  {false, false, -1}};
  for (const auto& c : cases) {
    control.ClockSpeed(c.up, c.shift);
    EXPECT_EQ(Ringing().clockStep, c.step) << c.up << c.shift;
  }
}

TEST_F(RingingControlTest, GoAgainIsAllowedWhenWhatWasRungLastStillFits) {
  RingingControl& control = Control(2);
  Method minor{6, "Plain Bob", "x"};
  RingableComposition composition;
  composition.stages.set(5);
  struct Case {
    const Method* touch;
    const RingableComposition* composition;
    const CallChangeSequence* sequence;
    int inPlay;
    bool allowed;
  };
  const Case cases[] = {
      {nullptr, nullptr, nullptr, 6, false},     {&minor, nullptr, nullptr, 6, true},
      {&minor, nullptr, nullptr, 5, false},      {&minor, nullptr, nullptr, 8, true},
      {nullptr, nullptr, &queens_, 6, true},     {nullptr, nullptr, &queens_, 8, false},
      {&minor, &composition, nullptr, 6, true},  {&minor, &composition, nullptr, 4, false},
  };
  for (const auto& c : cases) {
    Ringing().bellsInPlay = c.inPlay;
    state_.lastTouch = c.touch;
    state_.lastComposition = c.composition;
    state_.lastSequence = c.sequence;
    EXPECT_EQ(control.CanGoAgain(), c.allowed) << c.inPlay;
  }
  Ringing().bellsInPlay = 2;
}

TEST_F(RingingControlTest, CallChangesAreTakenOnceAMethodHasComeRound) {
  WriteTower(6);
  settings_->SetInt(setting::ActionAtRounds, 1);  // ring rounds when it comes round
  RingingControl& control = Control(6);
  control.RingTouch(&plainBobMinor_);
  ASSERT_TRUE(WaitUntil([&] { return RoundsComingRound("123456") >= 1; }));
  ASSERT_TRUE(WaitUntil([&] { return Touch([](ChangeGenerator& g) { return g.HoldsRounds(); }); }));
  EXPECT_TRUE(control.CanCallChanges());
  EXPECT_EQ(control.CallChangeFor(1), "2 to 3");
  EXPECT_TRUE(WaitForRow("132456"));
  control.StopNow();
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

TEST_F(RingingControlTest, RoundsAfterCallChangesBringsTheBellsHome) {
  RingingControl& control = Control(6);
  control.Start();
  ASSERT_TRUE(WaitUntil([&] { return Ringing().currentTouch.load() != nullptr; }));
  EXPECT_EQ(control.CallChangeFor(1), "2 to 3");
  EXPECT_EQ(control.CallChangeFor(3), "2 to 3, 4 to 5");
  ASSERT_TRUE(WaitForRow("132546"));
  ASSERT_TRUE(WaitUntil([&] { return Touch([](ChangeGenerator& g) { return g.holding() && !g.starting(); }); }));
  control.Rounds();
  ASSERT_TRUE(WaitForEvent(event::RoundsReached));
  EXPECT_TRUE(WaitUntil([&] { return Rows().back() == "123456"; }));
  control.StopNow();
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

TEST_F(RingingControlTest, CallChangesOnABackRingMoveTheBellCalled) {
  WriteTower(8);
  RingingControl& control = Control(8);
  control.SelectRing("..UUUUUU");  // the back six: tower bells 3 to 8
  control.Start();
  ASSERT_TRUE(WaitUntil([&] { return Ringing().currentTouch.load() != nullptr; }));
  EXPECT_EQ(control.CallChangeFor(1), "");  // not in play
  EXPECT_EQ(control.CallChangeFor(2), "3 to 4");  // the treble of the six
  EXPECT_TRUE(WaitForRow("213456"));
  EXPECT_EQ(control.CallChangeFor(7), "");  // the tenor cannot go further back
  control.StopNow();
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
  for (const auto& row : Rows()) EXPECT_NE(row, "124356");
}

TEST_F(RingingControlTest, AMethodAskedForAfterCallChangesStartsFromRoundsAndComesRound) {
  WriteTower(6);
  settings_->SetInt(setting::ActionAtRounds, 2);
  RingingControl& control = Control(6);
  control.Start();
  ASSERT_TRUE(WaitUntil([&] { return Ringing().currentTouch.load() != nullptr; }));
  EXPECT_EQ(control.CallChangeFor(2), "3 to 4");
  ASSERT_TRUE(WaitForRow("124356"));
  control.RingTouch(&plainBobMinor_);
  ASSERT_TRUE(StoodWithin(400));
  EXPECT_EQ(LastTouchLength(Rows(), "123456"), 60);
}

TEST_F(RingingControlTest, AMethodAskedForDuringASequenceIsRungFromRounds) {
  WriteTower(6);
  settings_->SetInt(setting::ActionAtRounds, 2);
  RingingControl& control = Control(6);
  control.RingSequence(&toQueens_);
  ASSERT_TRUE(WaitUntil([&] { return Rows().size() >= 6 && Rows().back() != "123456"; }));
  control.RingTouch(&plainBobMinor_);
  ASSERT_TRUE(StoodWithin(400));
  EXPECT_EQ(LastTouchLength(Rows(), "123456"), 60);
}

TEST_F(RingingControlTest, RoundsDuringASequencePublishesEveryStepHome) {
  RingingControl& control = Control(6);
  control.RingSequence(&toQueens_);
  ASSERT_TRUE(WaitUntil([&] { return Rows().size() >= 6 && Rows().back() != "123456"; }));
  control.Rounds();
  ASSERT_TRUE(WaitForEvent(event::RoundsReached));
  control.StopNow();
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
  const auto rows = Rows();
  for (std::size_t i = 1; i < rows.size(); ++i)
    for (std::size_t p = 0; p < rows[i].size(); ++p) {
      const auto was = rows[i - 1].find(rows[i][p]);
      EXPECT_LE(std::max(was, p) - std::min(was, p), 1u) << rows[i - 1] << " to " << rows[i];
    }
}

TEST_F(RingingControlTest, FireIsRefusedWhileAMethodRingsAndAMethodWaitsForTheFiringToEnd) {
  RingingControl& control = Control(6);
  control.RingTouch(&plainBobMinor_);
  ASSERT_TRUE(WaitUntil([&] { return Touch([](ChangeGenerator& g) { return !g.holding(); }); }));
  EXPECT_FALSE(control.CanFire());
  EXPECT_FALSE(control.ToggleFiring());
  control.StopNow();
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));

  control.Start();
  ASSERT_TRUE(WaitUntil([&] { return Ringing().currentTouch.load() != nullptr; }));
  EXPECT_TRUE(control.ToggleFiring());
  control.RingTouch(&plainBobMinor_);
  ASSERT_TRUE(WaitUntil([] { return Ringing().firingStep == 6; }));
  ASSERT_TRUE(WaitForBlows(views_.blows().size() + 24));
  EXPECT_EQ(Touch([](ChangeGenerator& g) { return g.method(); }), nullptr);  // still firing: it waits
  EXPECT_TRUE(control.ToggleFiring());
  ASSERT_TRUE(WaitUntil([&] { return Touch([](ChangeGenerator& g) { return g.method(); }) == &plainBobMinor_; }));
  EXPECT_FALSE(Ringing().firing);
  control.StopNow();
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

TEST_F(RingingControlTest, AMethodAskedForAtAnyRowOfALeadIsTaken) {
  WriteTower(6);
  settings_->SetInt(setting::ActionAtRounds, 0);
  RingingControl& control = Control(6);
  control.RingTouch(&plainBobMinor_);
  ASSERT_TRUE(WaitUntil([&] { return Touch([](ChangeGenerator& g) { return !g.holding(); }); }));
  // Every row of two leads, and the row after a lead end above all.
  const Method* wanted = &plainBobMinor_;
  for (int asked = 0; asked < 2 * 24; ++asked) {
    const std::size_t row = Rows().size();
    ASSERT_TRUE(WaitUntil([&] { return Rows().size() > row; }));
    wanted = wanted == &plainBobMinor_ ? &cambridgeMinor_ : &plainBobMinor_;
    control.RingTouch(wanted);
    EXPECT_TRUE(WaitUntil([&] { return Touch([](ChangeGenerator& g) { return g.method(); }) == wanted; }, 5))
        << "asked at row " << row;
  }
  ASSERT_TRUE(WaitUntil([&] { return Touch([](ChangeGenerator& g) { return g.announceCountdown() > 0; }); }));
  control.RingTouch(&cambridgeMinor_);
  control.RingTouch(&plainBobMinor_);
  EXPECT_TRUE(WaitUntil([&] { return Touch([](ChangeGenerator& g) { return g.method(); }) == &plainBobMinor_; }, 5));
  control.StopNow();
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

TEST_F(RingingControlTest, ABobAskedForTwiceWithTheMinusKeyStaysABob) {
  RingingControl& control = Control(6);
  control.RingTouch(&plainBobMinor_);
  ASSERT_TRUE(WaitUntil([&] { return Touch([](ChangeGenerator& g) { return !g.starting() && !g.holding(); }); }));
  EXPECT_TRUE(control.MakeCall('-'));
  EXPECT_TRUE(control.MakeCall('-'));
  EXPECT_NE(Touch([](ChangeGenerator& g) { return g.selectedCall(); }), 0);
  control.StopNow();
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

}  // namespace
}  // namespace clangor::testing
