// The moving numbers and the manual control fed by the real engine while a
// touch rings on the simulated clock, with the user-interface side (showing
// the strip, moving the pointer, reading what to draw) on this thread at the
// same time. Run under ThreadSanitizer: the two threads share only the
// views' lock and atomics.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "ringing/bells.h"
#include "ringing/method.h"
#include "tests/engine/engine_fixture.h"
#include "tower/bell.h"
#include "views/manual_control.h"
#include "views/numbers_content.h"

namespace clangor::testing {
namespace {

using RingingViewsTest = EngineTest;

// The manual control as the engine sees it, remembering the last pull it gave.
class WatchedManual final : public EngineManualView {
 public:
  explicit WatchedManual(ManualControl& control) : control_(control) {}
  void setOwnBell(int bell) override { control_.setOwnBell(bell); }
  void setPulling(bool pulling) override { control_.setPulling(pulling); }
  void update(const Bell& record) override { control_.update(record); }
  double pullStrength(const Bell& record) override {
    const double pull = control_.pullStrength(record);
    lastPull = pull;
    return pull;
  }
  std::atomic<double> lastPull{-1.0};

 private:
  ManualControl& control_;
};

std::string Text(const std::array<int, MaxBells>& row, int bells) {
  std::string text;
  for (int i = 0; i < bells; ++i) text += BellChar(row[static_cast<std::size_t>(i)]);
  return text;
}

TEST_F(RingingViewsTest, ATouchFeedsTheMovingNumbersAndTheManualControl) {
  constexpr int Bells = 6;
  WriteTower(Bells);
  std::atomic<int> gaugeRepaints{0}, bellChanges{0};
  // What the strip would draw at each repaint it asks for (on the worker,
  // after the numbers' lock is let go, as the window's paint would read it).
  std::vector<NumbersFrame> drawn;
  NumbersContent* content = nullptr;
  NumbersContent numbers(ticks_, [&] { drawn.push_back(content->frame()); });
  content = &numbers;
  ManualControl manual({[&](int) { ++bellChanges; }, [&] { ++gaugeRepaints; }});
  WatchedManual watched(manual);
  EngineSetUp setUp = BasicSetUp();
  setUp.settings = settings_.get();
  setUp.views.numbers = &numbers;
  setUp.views.manual = &watched;
  engine_ = TowerWindow::Open(setUp);
  ASSERT_TRUE(WaitUntil([&] { return !engine_->loading(); }));
  numbers.SetEngine(engine_.get());
  manual.SetEngine(engine_.get());
  manual.SetSize(100, 300);
  numbers.Show(true);
  EXPECT_EQ(Text(numbers.frame().toRow, Bells), "123456");  // nothing rung: the bells in order

  SelectAll(Bells);
  engine_->PostManualSelect(2);
  ASSERT_TRUE(WaitUntil([&] { return manual.ownBell() == 2; }));
  Method plainBob{6, "Plain Bob", "|12|&-16-16-16,|14|1234"};
  engine_->RequestTouch(&plainBob, nullptr);
  engine_->Start();

  // Meanwhile this thread reads the strip and moves the pointer as the
  // user-interface thread does.
  int y = 0;
  ASSERT_TRUE(WaitUntil([&] {
    const NumbersFrame frame = numbers.frame();
    EXPECT_GE(frame.fraction, 0.0);
    EXPECT_LE(frame.fraction, 1.0);
    manual.SetPointer(50, y++ % 300);  // the middle fifth: never a pull
    return Count(event::RowRung) >= 12;
  }));
  // The gauge follows the own bell's swing from its record.
  EXPECT_GT(gaugeRepaints, 0);
  EXPECT_GT(manual.amplitude(), 18000);

  // Taking hold of the own rope: each sub-step reads the pull from the
  // pointer, a full pull low in the right two fifths, none above the marker.
  engine_->PostManualPull(true);
  ASSERT_TRUE(WaitUntil([&] { return manual.pulling(); }));
  manual.SetPointer(90, 299);
  ASSERT_TRUE(WaitUntil([&] { return watched.lastPull == 1.0; }));
  manual.SetPointer(90, 0);
  ASSERT_TRUE(WaitUntil([&] { return manual.angle() >= 9000 && watched.lastPull == 0.0; }));
  engine_->PostManualPull(false);
  ASSERT_TRUE(WaitUntil([&] { return !manual.pulling(); }));

  engine_->StandOrStop(true);
  ASSERT_TRUE(WaitForEvent(event::RingingEnded));
  engine_.reset();  // the worker ends before the views go
  EXPECT_GE(bellChanges, 1);

  // The strip highlighted the changes and slid through them, and every row
  // it moved on from was a row the touch rang.
  std::set<std::string> rung{"123456"}, shownRows;
  for (const auto& e : events_)
    if (e.code == event::RowRung) rung.insert(e.text);
  bool highlighted = false, slidHalfway = false;
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    highlighted = highlighted || drawn[i].highlight;
    slidHalfway = slidHalfway || (drawn[i].fraction > 0.25 && drawn[i].fraction < 0.75);
    if (i > 0 && drawn[i].toRow != drawn[i - 1].toRow) shownRows.insert(Text(drawn[i - 1].toRow, Bells));
  }
  EXPECT_TRUE(highlighted);
  EXPECT_TRUE(slidHalfway);
  EXPECT_GE(shownRows.size(), 4u);
  for (const auto& row : shownRows) EXPECT_TRUE(rung.count(row)) << row;
}

}  // namespace
}  // namespace clangor::testing
