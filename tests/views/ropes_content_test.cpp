// The ropes window's drawing surface on a clock of the test's own: when it
// draws, what it keeps while hidden, and the rope under the pointer.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/ticks.h"
#include "views/ropes_content.h"

namespace clangor {
namespace {

constexpr double Radius = 0.5;

// Four bells, the first three ringing with the first at `angle`.
RingingSnapshot Ringing(int angle) {
  RingingSnapshot s;
  for (int b = 0; b < 4; ++b) {
    RopeBellState bell;
    bell.exists = bell.up = true;
    bell.inPlay = b < 3;
    bell.id = b < 3 ? b : -1;
    bell.angle = b == 0 ? angle : -9000;
    bell.wheelRadius = Radius;
    s.bells.push_back(bell);
  }
  s.rowBells = 3;
  s.row = {0, 1, 2};
  s.rowBlows = 2;
  s.blowInterval = 0.2;
  return s;
}

class RopesContentTest : public ::testing::Test {
 protected:
  RopesContentTest() {
    content.SetupScale(Radius);
    content.resize(410, 400);
    content.Show(true);
  }
  SimulatedTickSource ticks{5000};
  RopesContent content{ticks, 4};
};

TEST_F(RopesContentTest, AnimationStepsDrawAtMostEveryFortyMilliseconds) {
  const int rest = content.RopeY(0);
  ticks.Advance(RopesContent::RedrawMs);
  content.UpdateOnBlow(-1, false, Ringing(18000));
  const int high = content.RopeY(0);
  EXPECT_LT(high, rest);
  // Within 40 ms a plain step is kept but not drawn; a blow, or a forced
  // update, draws at once.
  ticks.Advance(RopesContent::RedrawMs - 1);
  content.UpdateOnBlow(-1, false, Ringing(-9000));
  EXPECT_EQ(content.RopeY(0), high);
  content.UpdateOnBlow(2, false, Ringing(-9000));
  EXPECT_EQ(content.RopeY(0), rest);
  content.UpdateOnBlow(-1, false, Ringing(18000));
  EXPECT_EQ(content.RopeY(0), rest);
  content.UpdateOnBlow(-1, true, Ringing(18000));
  EXPECT_EQ(content.RopeY(0), high);
  // What a skipped step brought is drawn by the window's timer.
  content.UpdateOnBlow(-1, false, Ringing(-9000));
  EXPECT_EQ(content.RopeY(0), high);
  content.DrawIfStale();
  EXPECT_EQ(content.RopeY(0), rest);
}

TEST_F(RopesContentTest, HiddenItKeepsTheBellsAndShowsThemWhenOpened) {
  content.Show(false);
  ticks.Advance(1000);
  content.UpdateOnBlow(0, false, Ringing(18000));
  EXPECT_EQ(content.Frame().isNull(), false);  // the frame drawn while shown
  const int before = content.RopeY(0);
  content.Show(true);
  EXPECT_LT(content.RopeY(0), before);
}

TEST_F(RopesContentTest, RingingColumnsAndTheRopeUnderThePointer) {
  content.UpdateOnBlow(-1, true, Ringing(0));
  // Three bells ringing, the fourth down and not shown: 400 / 3 each
  // right of the hit bar.
  EXPECT_EQ(content.Spacing(), 133);
  const struct {
    int x;
    int bell;
  } cases[] = {{5, -1}, {10, 0}, {142, 0}, {143, 1}, {408, 2}, {409, -1}};  // the last pixel: past the columns
  for (const auto& c : cases) EXPECT_EQ(content.RopeAt(c.x, true), c.bell) << c.x;
  EXPECT_EQ(content.ColumnRect(3), QRect());
  EXPECT_EQ(content.ColumnRect(1), QRect(143, 0, 133, 400));
  // With the down ropes shown every bell has its column.
  RopesSettings s;
  s.showDownRopes = true;
  content.SetSettings(s);
  EXPECT_EQ(content.Spacing(), 100);
  EXPECT_EQ(content.RopeAt(315, true), 3);
}

}  // namespace
}  // namespace clangor
