#include "views/rope_geometry.h"

#include <algorithm>
#include <cmath>

namespace clangor {

namespace {
// Metres to sally lengths.
constexpr double SalliesPerMetre = 1.0 / SallyMetres;
// The tenor's greatest travel is its wheel radius times this, in sallies:
// (1 + 22500 hundredths of a degree of wheel arc - (sqrt 2 - 1)) / 0.762.
constexpr double TravelSalliesPerRadius = 5.922279527559055;
// Below 45 degrees from rest the rope leaves the wheel at a slant; the
// length from the garter hole to the pulley grows as sqrt(3 - 2 sqrt 2 cos d).
constexpr double SlantLimit = 4500;
constexpr double TwoRootTwo = 2.828427;
constexpr double RadiansPerHundredth = 0.00017453291666666667;
constexpr double TurnsPerHundredth = 2.777777777777778e-5;  // 1 / 36000
constexpr double TwoPi = 6.283185;
constexpr double RestLength = 0.41421356237309503;           // sqrt 2 - 1: the slant length at rest
constexpr double SallyPictureAspect = 1.3;                   // a drawn sally is 1.3 times as wide as loaded
}  // namespace

double ViewHeightInSallies(double tenorWheelRadius) { return tenorWheelRadius * TravelSalliesPerRadius + 1.0; }

RopesScale ScaleFor(int clientHeight, double viewHeightInSallies, int imageWidth, int imageHeight) {
  RopesScale scale;
  if (viewHeightInSallies <= 0.0) return scale;
  scale.sallyHeight = static_cast<int>(clientHeight / viewHeightInSallies);
  const double width = imageHeight > 0 ? imageWidth * static_cast<double>(scale.sallyHeight) * SallyPictureAspect / imageHeight : 0.0;
  scale.ropeWidth = std::max(static_cast<int>(width), MinimumRopeWidth);
  return scale;
}

double RopeTravel(int angle, double wheelRadius) {
  const double d = std::abs(angle + 9000.0);
  double travel;
  if (d <= SlantLimit) travel = wheelRadius * std::sqrt(3.0 - std::cos(d * RadiansPerHundredth) * TwoRootTwo);
  else travel = wheelRadius + (d - SlantLimit) * TurnsPerHundredth * (wheelRadius * TwoPi);
  travel -= RestLength * wheelRadius;
  return travel > 0.0 ? travel : 0.0;  // also a NaN
}

int RopeTop(double travel, int sallyHeight, double viewHeightInSallies) {
  return static_cast<int>(sallyHeight * viewHeightInSallies) - static_cast<int>(travel * SalliesPerMetre * sallyHeight) -
         sallyHeight;
}

int ColumnSpacing(int clientWidth, bool hitBar, int columns) {
  if (columns <= 0) return 0;
  return (clientWidth - (hitBar ? HitBarWidth : 0)) / columns;
}

int ColumnAt(int x, bool hitBar, int spacing) {
  if (hitBar) x -= HitBarWidth;
  if (x < 0 || spacing <= 0) return -1;
  return x / spacing;
}

bool ContentSizeAllowed(int width, int height, int ropes, double viewHeightInSallies, int imageWidth, int imageHeight) {
  if (height < MinimumContentHeight) return false;
  return width >= ropes * ScaleFor(height, viewHeightInSallies, imageWidth, imageHeight).ropeWidth;
}

}  // namespace clangor
