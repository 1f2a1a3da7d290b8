// The ropes window's reading of the engine: on the worker thread, inside the
// engine's calls, while the user-interface thread chooses the own rope and
// reads the score (run under ThreadSanitizer with the engine's tests).
#include <gtest/gtest.h>

#include <mutex>

#include "tests/engine/engine_fixture.h"
#include "views/ropes_snapshot.h"
#include "views/ropesight.h"

namespace clangor::testing {
namespace {

using TowerWindowTest = EngineTest;

// Ropesight practice as the ropes window keeps it, with the pointer held on
// one rope: every note from the engine reads it afresh and draws a "frame"
// (the flash of every rope).
class PracticeRopes final : public EngineRopesView {
 public:
  PracticeRopes(TickSource& ticks, int bells) : ticks_(ticks), ropesight_(bells) {}
  void SetEngine(TowerWindow* engine) { engine_ = engine; }

  void noteStruck(int bell) override {
    TowerWindow* engine = engine_;
    if (engine == nullptr) return;
    const RingingSnapshot now = ReadRingingSnapshot(*engine);
    std::lock_guard lock(lock_);
    snapshot_ = now;
    ropesight_.OnBlow(bell, now, 3);
    ropesight_.CheckAboveBelow(now);
    for (int b = 0; b < static_cast<int>(now.bells.size()); ++b) {
      const int state = ropesight_.FlashState(b, ticks_.Ticks(), now.bells[static_cast<std::size_t>(b)].time, pointer);
      if (state != 0) flashesSeen.push_back({b, state});
    }
  }
  void reset() override {
    TowerWindow* engine = engine_;
    if (engine == nullptr) return;
    const RingingSnapshot now = ReadRingingSnapshot(*engine);
    std::lock_guard lock(lock_);
    ropesight_.ResetRows();
    ropesight_.RefreshOwnRopeId(now);
  }

  // User-interface thread.
  int SetOwnRope(int bell) {
    std::lock_guard lock(lock_);
    return ropesight_.SetOwnRope(bell, snapshot_);
  }
  RopesightScores Scores() const {
    std::lock_guard lock(lock_);
    return ropesight_.scores();
  }
  RingingSnapshot Snapshot() const {
    std::lock_guard lock(lock_);
    return snapshot_;
  }
  struct Seen {
    int bell, state;
  };
  std::vector<Seen> Flashes() const {
    std::lock_guard lock(lock_);
    return flashesSeen;
  }

  int pointer = -1;

 private:
  TickSource& ticks_;
  std::atomic<TowerWindow*> engine_{nullptr};
  mutable std::mutex lock_;
  Ropesight ropesight_;
  RingingSnapshot snapshot_;
  std::vector<Seen> flashesSeen;
};

TEST_F(TowerWindowTest, RopesFollowTheRingingAndScoreTheFlashOfTheBellToFollow) {
  WriteTower(6);
  PracticeRopes ropes(ticks_, 6);
  ropes.pointer = 1;  // the second's rope: the third follows it in rounds
  EngineSetUp setUp = BasicSetUp();
  setUp.settings = settings_.get();
  setUp.views.ropes = &ropes;
  engine_ = TowerWindow::Open(setUp);
  // The ropes outlive the engine's worker, whatever the test's outcome.
  struct StopFirst {
    TowerWindowPtr& engine;
    ~StopFirst() { engine.reset(); }
  } stopFirst{engine_};
  ropes.SetEngine(engine_.get());
  ASSERT_TRUE(WaitUntil([&] { return !engine_->loading(); }));
  SelectAll(6);
  // The bells being raised tell the ropes: the window has seen the tower.
  ASSERT_TRUE(WaitUntil([&] { return ropes.Snapshot().bells.size() == 6u; }));
  EXPECT_EQ(ropes.SetOwnRope(2), 2);
  engine_->Start();
  // The user interface reads while the worker rings.
  ASSERT_TRUE(WaitUntil([&] {
    const RopesightScores scores = ropes.Scores();
    return scores.Total() >= 6 && views_.blows().size() >= 6 * 12;
  }));
  const RingingSnapshot seen = ropes.Snapshot();
  ASSERT_EQ(seen.bells.size(), 6u);
  EXPECT_EQ(seen.rowBells, 6);
  EXPECT_EQ(seen.row, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  for (int b = 0; b < 6; ++b) {
    EXPECT_TRUE(seen.bells[static_cast<std::size_t>(b)].inPlay);
    EXPECT_EQ(seen.bells[static_cast<std::size_t>(b)].id, b);
    EXPECT_TRUE(seen.bells[static_cast<std::size_t>(b)].up);
  }
  engine_->StandOrStop(true);
  ASSERT_TRUE(WaitUntil([&] { return !engine_->ringing(); }));

  // Rounds: the own bell makes its place every blow, so every flash is of
  // the second's rope, "Places and Down", and a hit.
  const RopesightScores scores = ropes.Scores();
  EXPECT_EQ(scores.upTotal, 0);
  EXPECT_GE(scores.placesDownTotal, 6);
  EXPECT_EQ(scores.placesDownMisses, 0);
  const auto flashes = ropes.Flashes();
  ASSERT_FALSE(flashes.empty());
  for (const auto& f : flashes) {
    EXPECT_EQ(f.bell, 1);
    EXPECT_EQ(f.state, Ropesight::FlashPlace);
  }
}

}  // namespace
}  // namespace clangor::testing
