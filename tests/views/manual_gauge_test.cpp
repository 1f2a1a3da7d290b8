// The pull the ringer's pointer gives in each zone of the manual control
// window, and where the gauge puts the swing marker.
#include <gtest/gtest.h>

#include "views/manual_gauge.h"

namespace clangor {
namespace {

// 100 x 300: midY 200, zones 20 wide, the range of a pull 100 pixels.
// The bell swings to 18500 either side.
constexpr int Amplitude = 18500;
constexpr int Limit = 9000;  // the bell's lowest pulling angle on the handstroke side

TEST(ManualGauge, PullStrengthByZoneAndPointer) {
  const ManualGauge g = ManualGauge::ForSize(100, 300);
  ASSERT_EQ(g.midY(), 200);
  ASSERT_EQ(g.zone(), 20);
  struct Case {
    const char* what;
    int angle, lowerLimit, x, y;
    double pull;
  };
  // At 17000 the marker's top is at 200 - 17000 x 200 / 18500 = 17.
  const Case cases[] = {
      {"right: pointer above the marker", 17000, Limit, 80, 10, 0.0},
      {"right: pointer on the marker", 17000, Limit, 80, 17, 0.0},
      {"right: one pixel below", 17000, Limit, 80, 18, 0.01},
      {"right: half the range below", 17000, Limit, 80, 67, 0.5},
      {"right: a third of the height below", 17000, Limit, 80, 117, 1.0},
      {"right: at the bottom", 17000, Limit, 80, 299, 1.0},
      {"right zone starts at three fifths", 17000, Limit, 60, 117, 1.0},
      {"fourth fifth's left edge less one", 17000, Limit, 59, 117, 0.0},
      {"middle fifth never pulls", 17000, Limit, 50, 299, 0.0},
      {"middle fifth, back side", -17000, Limit, 50, 299, 0.0},
      {"left: the handstroke side does not pull there", 17000, Limit, 10, 117, 0.0},
      {"left: back side half the range below", -17000, Limit, 10, 67, 0.5},
      {"left zone ends at two fifths", -17000, Limit, 40, 117, 1.0},
      {"just past two fifths", -17000, Limit, 41, 117, 0.0},
      {"left: back side below -9000 only", -8000, Limit, 10, 299, 0.0},
      {"right: back side does not pull there", -17000, Limit, 80, 299, 0.0},
      {"right: below the lowest pulling angle", 8000, Limit, 80, 299, 0.0},
      // A bell pulled on through the bottom of its swing: the marker is read
      // as going on down, 200 + 3000 x 200 / 18500 = 232.
      {"right: past the bottom, pointer below", -3000, -4500, 80, 260, 0.28},
      {"right: past the bottom, pointer above", -3000, -4500, 80, 220, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_NEAR(g.PullStrength(c.angle, c.lowerLimit, g.MarkerY(c.angle, Amplitude), c.x, c.y), c.pull, 1e-9);
  }
}

TEST(ManualGauge, AWindowWithNoRoomForAPullNeverPulls) {
  const ManualGauge g = ManualGauge::ForSize(0, 0);
  EXPECT_EQ(g.PullStrength(17000, Limit, 0, 0, 0), 0.0);
  EXPECT_EQ(g.PullStrength(17000, Limit, g.MarkerY(17000, 0), 10, 10), 0.0);
}

// The marker: its height is the bell's height in its swing; it lies in the
// second fifth on the back side, the fourth on the handstroke side, across
// the middle fifth with the bell hanging down.
TEST(ManualGauge, TheMarkerShowsTheBellsSideAndHeight) {
  const ManualGauge g = ManualGauge::ForSize(100, 300);
  const struct {
    int angle;
    GaugeSpan marker;
  } cases[] = {
      {-17000, {21, 17, 41, 18}},
      {0, {41, 200, 61, 201}},
      {18500, {61, 0, 81, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.angle);
    const GaugeSpan m = g.Picture(c.angle, Amplitude, Limit, false).marker;
    EXPECT_EQ(m.left, c.marker.left);
    EXPECT_EQ(m.top, c.marker.top);
    EXPECT_EQ(m.right, c.marker.right);
    EXPECT_EQ(m.bottom, c.marker.bottom);
  }
  // The bands mark the pulling parts of the swing, from the balance down.
  const GaugePicture p = g.Picture(0, Amplitude, Limit, true);
  EXPECT_EQ(p.leftBand.top, 6);    // just below the balance: (18500 - 18000) x 200 / 18500 + 1
  EXPECT_EQ(p.leftBand.bottom, 6 + 9000 * 200 / Amplitude);
  EXPECT_EQ(p.rightBand.left, 81);
  EXPECT_FALSE(p.leftZoneLine.Empty());
  EXPECT_TRUE(g.Picture(0, Amplitude, Limit, false).leftZoneLine.Empty());
}

}  // namespace
}  // namespace clangor
