#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/ringing_clock.h"
#include "ringing/composition_source.h"
#include "ringing/method.h"
#include "tests/engine/engine_fixture.h"

namespace clangor::testing {
namespace {

using TowerWindowTest = EngineTest;

double FirstBlowOf(const std::vector<RecordingViews::Blow>& blows, int bell) {
  for (const auto& b : blows)
    if (b.bell == bell) return b.time;
  return -1;
}

TEST_F(TowerWindowTest, LoadsEveryBellAndReportsTheTowerLoaded) {
  TowerWindow& engine = Open(3);
  EXPECT_TRUE(views_.loaded);
  EXPECT_EQ(views_.surfaces(), (std::vector<int>{0, 1, 2}));
  EXPECT_GE(views_.pictures, 3);  // at least each bell's hanging picture
  EXPECT_EQ(engine.BellAt(85, 20), 1);
  EXPECT_EQ(engine.BellAt(5, 5), -1);
}

TEST_F(TowerWindowTest, SelectingIgnoresBellsOutsideTheTowerAndCountsBellsInPlay) {
  TowerWindow& engine = Open(3);
  engine.SelectBell(0, 0);
  engine.SelectBell(0, 0);
  engine.SelectBell(2, 2);
  engine.SelectBell(7, 0);
  engine.SelectBell(-1, 2);
  EXPECT_EQ(Ringing().bellsInPlay, 2);
  EXPECT_TRUE(engine.IsBellInPlay(2));
  engine.SelectBell(2, 2);
  EXPECT_FALSE(engine.IsBellInPlay(2));
  EXPECT_EQ(Ringing().bellsInPlay, 1);
}

TEST_F(TowerWindowTest, EachBellStartsOneBlowIntervalAfterTheOneBefore) {
  TowerWindow& engine = Open(3);
  SelectAll(3);
  engine.Start();
  ASSERT_TRUE(WaitForBlows(6));
  const auto blows = views_.blows();
  const double interval = Ringing().blowInterval;
  EXPECT_NEAR(interval, BlowIntervalFor(180, 3), 1e-12);
  EXPECT_NEAR(FirstBlowOf(blows, 1) - FirstBlowOf(blows, 0), interval, 1e-9);
  EXPECT_NEAR(FirstBlowOf(blows, 2) - FirstBlowOf(blows, 0), 2 * interval, 1e-9);
}

TEST_F(TowerWindowTest, StrikingCorrectionMovesTheBellsStart) {
  WriteTower(2, {}, "StrikingCorrection=0.05\n");
  TowerWindow& engine = Open(2);
  SelectAll(2);
  engine.Start();
  ASSERT_TRUE(WaitForBlows(2));
  const auto blows = views_.blows();
  EXPECT_NEAR(FirstBlowOf(blows, 1) - FirstBlowOf(blows, 0), Ringing().blowInterval.load(), 1e-9);
}

TEST_F(TowerWindowTest, StopNowRestsEveryBellAtOnceAndEndsTheRinging) {
  TowerWindow& engine = Open(3);
  SelectAll(3);
  engine.Start();
  ASSERT_TRUE(WaitForBlows(10));
  engine.StandOrStop(true);
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
  EXPECT_EQ(Ringing().bellsSwinging, 0);
  EXPECT_FALSE(engine.ringing());
  EXPECT_FALSE(engine.goRequested());
  EXPECT_EQ(Ringing().currentTouch.load(), nullptr);
  // The bells may be chosen again once stood.
  engine.SelectBell(2, 1);
  EXPECT_FALSE(engine.IsBellInPlay(2));
}

TEST_F(TowerWindowTest, StandBringsTheBellsToRestStrokeByStroke) {
  TowerWindow& engine = Open(3);
  SelectAll(3);
  engine.Start();
  ASSERT_TRUE(WaitForBlows(12));
  engine.StandOrStop(false);
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
  EXPECT_EQ(Ringing().bellsSwinging, 0);
  EXPECT_FALSE(Ringing().standRequested);
  EXPECT_FALSE(engine.ringing());
}

TEST_F(TowerWindowTest, StartWithNoBellInPlayWaitsForABell) {
  TowerWindow& engine = Open(2);
  engine.Start();
  for (int i = 0; i < 50; ++i) std::this_thread::yield();
  EXPECT_FALSE(engine.ringing());
  EXPECT_EQ(Count(event::RingingEnded), 0);
  engine.SelectBell(1, 0);  // the start stays asked for
  ASSERT_TRUE(WaitForBlows(2));
  EXPECT_EQ(views_.blows().front().bell, 1);
}

TEST_F(TowerWindowTest, PauseHaltsTheBellsAndResumingShiftsThemByThePause) {
  TowerWindow& engine = Open(2);
  SelectAll(2);
  engine.Start();
  ASSERT_TRUE(WaitForBlows(4));
  EXPECT_EQ(engine.Step(), 0.0);  // not paused: nothing happens
  EXPECT_EQ(engine.TogglePause(), 0.0);
  ASSERT_TRUE(WaitUntil([&] { return engine.paused(); }));
  // The loop halts at its next pass; its sleeps while halted move the clock on.
  const std::uint32_t pausedAt = ticks_.Ticks();
  ASSERT_TRUE(WaitUntil([&] { return ticks_.Ticks() > pausedAt + 100; }));
  const std::size_t before = views_.blows().size();
  const double halted = engine.clockNow();
  ticks_.Advance(10000);  // ten seconds pass while paused
  ASSERT_TRUE(WaitUntil([&] { return ticks_.Ticks() > pausedAt + 20000; }));
  EXPECT_EQ(views_.blows().size(), before);
  const double shift = engine.TogglePause();
  EXPECT_GT(shift, 10.0);
  EXPECT_NEAR(views_.ropeShift(), shift, 1e-9);
  ASSERT_TRUE(WaitForBlows(before + 4));
  const auto blows = views_.blows();
  // The bells resume where they halted: the ringing clock moved on by the
  // shift, and the next blow follows as if there had been no pause.
  const double gap = blows[before].time - blows[before - 1].time - shift;
  EXPECT_GT(gap, 0.0);
  EXPECT_LT(gap, 3.0);
  EXPECT_GE(blows[before].time, halted + shift);
}

TEST_F(TowerWindowTest, StepRunsAFewHundredthsOfASecondAndHaltsAgain) {
  TowerWindow& engine = Open(2);
  SelectAll(2);
  engine.Start();
  ASSERT_TRUE(WaitForBlows(2));
  engine.TogglePause();
  ASSERT_TRUE(WaitUntil([&] { return engine.paused(); }));
  const std::uint32_t pausedAt = ticks_.Ticks();
  ASSERT_TRUE(WaitUntil([&] { return ticks_.Ticks() > pausedAt + 100; }));  // halted
  const double halted = engine.clockNow();
  ticks_.Advance(5000);
  const double shift = engine.Step();
  EXPECT_GT(shift, 4.9);
  ASSERT_TRUE(WaitUntil([&] { return engine.paused() && engine.clockNow() > halted + shift; }));
  EXPECT_NEAR(engine.clockNow() - (halted + shift), 0.05, 0.01);
  EXPECT_GT(engine.TogglePause(), 0.0);
}

TEST_F(TowerWindowTest, ARaisedClockFactorIsReported) {
  TowerWindow& engine = Open(2);
  SelectAll(2);
  ChangeClockStep(true, false, 12);
  engine.Start();
  ASSERT_TRUE(WaitForEvent(event::ClockFactorChanged));
  EXPECT_NEAR(Ringing().clockFactor, std::sqrt(2.0), 1e-12);
  engine.StandOrStop(true);
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

TEST_F(TowerWindowTest, DestroyedWhileLoadingStopsAfterTheCurrentBell) {
  WriteTower(6);
  std::atomic<TowerWindow*> opened{nullptr};
  views_.onSurfaces = [&](int bell) {
    if (bell != 1) return;
    // Hold the loading here until the engine is being destroyed.
    WaitUntil([&] { return opened.load() != nullptr && opened.load()->quitRequested(); });
  };
  EngineSetUp setUp = BasicSetUp();
  auto engine = TowerWindow::Open(setUp);
  opened = engine.get();
  ASSERT_TRUE(WaitUntil([&] { return views_.surfaces().size() == 2; }));
  engine.reset();
  EXPECT_EQ(views_.surfaces(), (std::vector<int>{0, 1}));
  EXPECT_FALSE(views_.loaded);
  EXPECT_EQ(TowerWindow::Current(), nullptr);
}

TEST_F(TowerWindowTest, ManualPullWhileStoodAsksForStartAndTheOwnBellIsChosen) {
  struct Listener : RecordingViews {
    void startCommand() override { starts++; }
    std::atomic<int> starts{0};
  } listener;
  WriteTower(2);
  EngineSetUp setUp;
  setUp.tower = tower_.get();
  setUp.ticks = &ticks_;
  setUp.events = &queue_;
  setUp.views.listener = &listener;
  engine_ = TowerWindow::Open(setUp);
  ASSERT_TRUE(WaitUntil([&] { return !engine_->loading(); }));
  engine_->PostManualSelect(1);
  ASSERT_TRUE(WaitUntil([&] { return engine_->ownBell() == 1; }));
  engine_->PostManualPull(true);
  EXPECT_EQ(listener.starts, 1);
  engine_.reset();  // before the listener goes
}


std::string WithoutLine(std::string text, const std::string& line) {
  const auto at = text.find(line);
  if (at != std::string::npos) text.erase(at, line.size());
  return text;
}

// Bells that cannot swing: one whose section is misnumbered (no pictures, no
// pendulum), one without pictures, one of period 0. Such a bell is at rest:
// the idle loop waits rather than spinning, and the bells in play ring.
TEST_F(TowerWindowTest, ABellThatCannotSwingIsAtRestAndTheOthersRing) {
  const struct {
    const char* what;
    std::string thirdBell;
  } cases[] = {
      {"misnumbered section", BellSection(5)},
      {"no pictures", BellSection(3, "ImageCount=0\n")},
      {"no sequence counts", WithoutLine(WithoutLine(BellSection(3), "ACWiseSeqCount=7\n"), "CWiseSeqCount=7\n")},
      {"period 0", BellSection(3, "Period=0\n")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteTower(3);
    WriteFile("control.txt", "[Base Image]\nWidth=640\nHeight=480\n\n" + BellSection(1) + BellSection(2) + c.thirdBell);
    tower_ = std::make_unique<Tower>("Test", *settings_);
    TowerWindow& engine = Open(3);
    // Idle with nothing to raise: the worker waits for the user.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_LT(engine.idlePasses(), 100);
    const std::size_t before = views_.blows().size();
    engine.SelectBell(0, 0);
    engine.SelectBell(1, 0);
    engine.Start();
    ASSERT_TRUE(WaitUntil([&] { return views_.blows().size() >= before + 4; }, 10));
    const auto blows = views_.blows();
    for (std::size_t b = before; b < blows.size(); ++b) EXPECT_NE(blows[b].bell, 2);
    engine.StandOrStop(true);
    ASSERT_TRUE(WaitForEvent(event::RingingEnded));
    // With the bell that cannot swing in play, nothing rings and the loop still waits.
    engine.SelectBell(2, 0);
    const long passes = engine.idlePasses();
    engine.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(engine.ringing());
    EXPECT_LT(engine.idlePasses() - passes, 100);
    engine_.reset();
    tower_.reset();
    settings_.reset();
    Ringing().Reset();
    events_.clear();
  }
}

// A composition that says nothing: enough to see whether the touch holds one.
class SilentComposition : public CompositionSource {
 public:
  const Method* NextMethod(bool) override { return nullptr; }
  char CallAt(const Row&, char, const CallTable&) override { return 0; }
  void SectionEnded(const Row&) override {}
  void Restart(const Method*, const Row&) override {}
  int KeepGoing() const override { return 0; }
  const std::string& DefaultCallMarkers() const override { return markers_; }
  bool ObservationFixed() const override { return false; }
  std::string SpecialCalls(const Method&) const override { return {}; }

 private:
  std::string markers_;
};

TEST_F(TowerWindowTest, StopNowBeforeTheRingingLoopClearsTheWholeRequest) {
  TowerWindow& engine = Open(6);
  SelectAll(6);
  Method plainBob{6, "Plain Bob", "|12|&-16-16-16,|14|1234"};
  SilentComposition composition;
  engine.RequestTouch(&plainBob, &composition);
  EXPECT_TRUE(engine.requestPending());
  engine.StandOrStop(true);
  EXPECT_FALSE(engine.requestPending());
  // The next start rings rounds with nothing attached.
  engine.Start();
  ASSERT_TRUE(WaitForBlows(12));
  const auto touch = engine.WithTouch([](ChangeGenerator* g) {
    return std::pair{g ? g->composition() : nullptr, g ? g->method() : nullptr};
  });
  EXPECT_EQ(touch.first, nullptr);
  EXPECT_EQ(touch.second, nullptr);
  engine.StandOrStop(true);
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

// The window clears the pending touch when it is told of a row of rounds; a
// row rung before the ringer's choice but drained after it must not lose it.
TEST_F(TowerWindowTest, ARoundsRowDrainedAfterAChoiceLeavesTheChoicePending) {
  TowerWindow& engine = Open(6);
  SelectAll(6);
  Method plainBob{6, "Plain Bob", "|12|&-16-16-16,|14|1234"};
  engine.RequestTouch(&plainBob, nullptr);
  engine.ClearPendingTouch();
  EXPECT_TRUE(engine.requestPending());
  engine.Start();
  ASSERT_TRUE(WaitUntil([&] {
    return engine.WithTouch([&](ChangeGenerator* g) { return g != nullptr && g->method() == &plainBob; });
  }));
  engine.StandOrStop(true);
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

TEST_F(TowerWindowTest, AStuckWorkerIsReportedAndNeverOutlivesItsEngine) {
  WriteTower(3);
  std::atomic<bool> letGo{false};
  views_.onSurfaces = [&](int bell) {
    if (bell == 1) WaitUntil([&] { return letGo.load(); });  // stuck until the closer has given up waiting
  };
  views_.onStuck = [&] { letGo = true; };
  EngineSetUp setUp = BasicSetUp();
  setUp.quitWaitMs = 20;
  auto engine = TowerWindow::Open(setUp);
  ASSERT_TRUE(WaitUntil([&] { return views_.surfaces().size() == 2; }));
  engine.reset();
  EXPECT_TRUE(views_.stuck);
  // The worker had finished with the views before the closer returned.
  EXPECT_TRUE(views_.released);
  EXPECT_EQ(TowerWindow::Current(), nullptr);
}

TEST_F(TowerWindowTest, AManualSelectRefusedByAFullMailboxLeavesTheWaitingOne) {
  TowerWindow& engine = Open(3);
  SelectAll(3);
  engine.Start();
  ASSERT_TRUE(WaitForBlows(3));
  engine.TogglePause();  // a paused loop leaves the mailbox as it is
  ASSERT_TRUE(WaitUntil([&] { return engine.paused(); }));
  engine.PostManualSelect(0);
  engine.PostManualSelect(2);  // refused: the select of bell 1 waits
  engine.TogglePause();
  ASSERT_TRUE(WaitUntil([&] { return engine.ownBell() >= 0; }));
  EXPECT_EQ(engine.ownBell(), 0);
  engine.StandOrStop(true);
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

// Blows of `views` from `first` on, sorted by time, in rows of `bells`.
std::vector<std::vector<RecordingViews::Blow>> RowsOfBlows(const std::vector<RecordingViews::Blow>& all,
                                                          std::size_t first, int bells) {
  std::vector<RecordingViews::Blow> blows(all.begin() + static_cast<long>(first), all.end());
  std::stable_sort(blows.begin(), blows.end(), [](const auto& a, const auto& b) { return a.time < b.time; });
  std::vector<std::vector<RecordingViews::Blow>> rows;
  for (std::size_t i = 0; i + static_cast<std::size_t>(bells) <= blows.size(); i += static_cast<std::size_t>(bells))
    rows.emplace_back(blows.begin() + static_cast<long>(i), blows.begin() + static_cast<long>(i) + bells);
  return rows;
}

TEST_F(TowerWindowTest, FiringStrikesEachRowAtOneInstantAndLeavingItBringsBackRounds) {
  constexpr int Bells = 5;
  constexpr std::size_t RowsJudged = 8;
  TowerWindow& engine = Open(Bells);
  SelectAll(Bells);
  engine.Start();
  ASSERT_TRUE(WaitForBlows(8 * Bells));
  const auto before = RowsOfBlows(views_.blows(), 0, Bells);
  const double spacing = before[3][1].time - before[3][0].time;

  Ringing().firing = true;
  ASSERT_TRUE(WaitUntil([] { return Ringing().firingStep == Bells; }));
  std::size_t from = views_.blows().size() + Bells;  // past the row in which the last bell joined
  from -= from % Bells;
  ASSERT_TRUE(WaitForBlows(from + RowsJudged * Bells));
  for (const auto& row : RowsOfBlows(views_.blows(), from, Bells))
    EXPECT_NEAR(row.back().time, row.front().time, 1e-6) << "a fired row spread out at " << row.front().time;

  Ringing().firing = false;
  ASSERT_TRUE(WaitUntil([] { return Ringing().firingStep == 0; }));
  from = views_.blows().size() + 2 * Bells;
  from -= from % Bells;
  ASSERT_TRUE(WaitForBlows(from + RowsJudged * Bells));
  for (const auto& row : RowsOfBlows(views_.blows(), from, Bells)) {
    for (int p = 0; p < Bells; ++p) {
      EXPECT_EQ(row[static_cast<std::size_t>(p)].bell, p) << "at " << row.front().time;
      if (p > 0) {
        EXPECT_NEAR(row[static_cast<std::size_t>(p)].time - row[static_cast<std::size_t>(p) - 1].time, spacing, 1e-6);
      }
    }
  }
  engine.StandOrStop(true);
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
}

// Each bell's place row by row, from its place in rounds and the timing
// class it took at each blow: its next place is its place + class - 1, less
// the open gap, which comes after a backstroke (before each handstroke).
std::vector<std::vector<int>> PlacesStruck(const std::vector<RecordingViews::Blow>& blows, int bells) {
  std::vector<std::vector<int>> places(static_cast<std::size_t>(bells));
  for (int b = 0; b < bells; ++b) places[static_cast<std::size_t>(b)].push_back(b);
  for (const auto& blow : blows) {
    auto& own = places[static_cast<std::size_t>(blow.bell)];
    own.push_back(own.back() + blow.nextTiming - 1 - (blow.side == 0 ? 1 : 0));
  }
  return places;
}

TEST_F(TowerWindowTest, StandAtAnyBlowOfARowNeverPutsTwoBellsInOnePlace) {
  constexpr int Bells = 6;
  Method plainBob{6, "Plain Bob", "|12|&-16-16-16,|14|1234"};
  for (std::size_t standAt = 61; standAt <= 66; ++standAt) {
    SCOPED_TRACE("Stand after blow " + std::to_string(standAt));
    views_.onBlow = [&, standAt](std::size_t count) {
      if (count == standAt) engine_->StandOrStop(false);
    };
    TowerWindow& engine = Open(Bells);
    SelectAll(Bells);
    engine.RequestTouch(&plainBob, nullptr);
    engine.Start();
    ASSERT_TRUE(WaitForEvent(event::RingingEnded));
    const auto places = PlacesStruck(views_.blows(), Bells);
    std::size_t rows = places[0].size();
    for (const auto& own : places) rows = std::min(rows, own.size());
    for (std::size_t row = 0; row < rows; ++row) {
      std::vector<int> held;
      for (const auto& own : places) held.push_back(own[row]);
      std::sort(held.begin(), held.end());
      EXPECT_EQ(held, (std::vector<int>{0, 1, 2, 3, 4, 5})) << "row " << row;
    }
    engine_.reset();
    views_.onBlow = nullptr;
    views_.ClearBlows();
    events_.clear();
  }
}

// The own bell's striking: the program's swing of the own bell tells where
// each blow belonged, stroke by stroke; a tap is taken at the clock's reading
// while the bells ring, and not while they are paused.
TEST_F(TowerWindowTest, TheOwnBellsBlowsAndTapsReachTheStrikingView) {
  struct Striking : EngineStrikingView {
    void touchStarted() override { started++; }
    void ownBlowDue(int bell, double time, bool handstroke) override {
      std::lock_guard lock(m);
      due.push_back({bell, time, handstroke});
    }
    void ownBlowStruck(int bell, double time) override {
      std::lock_guard lock(m);
      struck.push_back({bell, time, true});
    }
    struct Blow {
      int bell;
      double time;
      bool handstroke;
    };
    std::atomic<int> started{0};
    std::mutex m;
    std::vector<Blow> due, struck;
  } striking;
  WriteTower(3);
  EngineSetUp setUp = BasicSetUp();
  setUp.settings = settings_.get();
  setUp.views.striking = &striking;
  engine_ = TowerWindow::Open(setUp);
  ASSERT_TRUE(WaitUntil([&] { return !engine_->loading(); }));
  SelectAll(3);
  engine_->PostManualSelect(2);
  ASSERT_TRUE(WaitUntil([&] { return engine_->ownBell() == 2; }));
  engine_->NoteOwnTap();  // not ringing: no blow
  engine_->Start();
  ASSERT_TRUE(WaitForBlows(12));
  engine_->NoteOwnTap();
  engine_->TogglePause();
  ASSERT_TRUE(WaitUntil([&] { return engine_->paused(); }));
  engine_->NoteOwnTap();  // paused: no blow
  engine_->StandOrStop(true);
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));

  std::vector<double> bell3;
  for (const auto& b : views_.blows())
    if (b.bell == 2) bell3.push_back(b.time);
  std::lock_guard lock(striking.m);
  ASSERT_GE(striking.due.size(), 3u);
  for (std::size_t i = 0; i < striking.due.size(); ++i) {
    EXPECT_EQ(striking.due[i].bell, 2);
    EXPECT_DOUBLE_EQ(striking.due[i].time, bell3.at(i));
    EXPECT_EQ(striking.due[i].handstroke, i % 2 == 0) << "blow " << i;
  }
  EXPECT_EQ(striking.started, 1);
  ASSERT_EQ(striking.struck.size(), 1u);
  EXPECT_EQ(striking.struck[0].bell, 2);
  EXPECT_GT(striking.struck[0].time, striking.due.front().time);
}

}  // namespace
}  // namespace clangor::testing
