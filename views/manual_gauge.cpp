#include "views/manual_gauge.h"

#include <algorithm>
#include <cstdlib>

namespace clangor {

namespace {
constexpr int Balance = 18000;
constexpr int BackPullLimit = -9000;  // the back-side pull runs from the balance to here
}  // namespace

ManualGauge ManualGauge::ForSize(int width, int height) {
  ManualGauge g;
  g.width_ = std::max(width, 0);
  g.height_ = std::max(height, 0);
  g.midY_ = 2 * g.height_ / 3;
  g.zone_ = g.width_ / 5;
  g.rightStart_ = g.width_ - 4 * g.zone_;
  return g;
}

int ManualGauge::MarkerY(int a, int amplitude) const {
  if (amplitude <= 0) return midY_;
  return midY_ - std::abs(a) * midY_ / amplitude;
}

GaugePicture ManualGauge::Picture(int a, int amplitude, int lowerLimit, bool showZones) const {
  GaugePicture p;
  if (amplitude <= 0) return p;
  const int y0 = (amplitude - Balance) * midY_ / amplitude;
  p.leftBand = {0, y0 + 1, zone_, std::min(y0 + 1 + (Balance / 2) * midY_ / amplitude, height_)};
  p.rightBand = {rightStart_ + 3 * zone_ + 1, y0 + 1, width_,
                 std::min(y0 + 1 + (Balance - lowerLimit) * midY_ / amplitude, height_)};
  p.midLine = {0, midY_, width_, midY_ + 1};
  if (showZones) {
    p.leftZoneLine = {2 * zone_ + 1, 0, 2 * zone_ + 2, height_};
    p.rightZoneLine = {width_ - 2 * zone_, 0, width_ - 2 * zone_ + 1, height_};
  }
  const int y = MarkerY(a, amplitude);
  int left;
  int span = zone_;
  if (a < 0) {
    left = zone_ + 1;
  } else if (a == 0) {
    left = 2 * zone_ + 1;
    span = rightStart_;
  } else {
    left = rightStart_ + 2 * zone_ + 1;
  }
  p.marker = {left, y, left + span, y + 1};
  return p;
}

double ManualGauge::PullStrength(int a, int lowerLimit, int markerY, int pointerX, int pointerY) const {
  // Past the bottom of the swing on the back side the handstroke pull goes
  // on: the marker is read as if it went on down below the middle line.
  int d = (a < 0 && a >= lowerLimit) ? markerY - 2 * midY_ + pointerY : pointerY - markerY;
  const int range = height_ - midY_;
  d = std::min(d, range);
  if (d < 1 || range < 1) return 0;
  const bool handstrokeSide = a >= lowerLimit && pointerX >= rightStart_ + 2 * zone_;
  const bool backSide = a <= BackPullLimit && pointerX <= 2 * zone_;
  if (!handstrokeSide && !backSide) return 0;
  return static_cast<double>(d) / range;
}

}  // namespace clangor
