#include "tools/towerkit/bell_layout.h"

#include <algorithm>
#include <cmath>

namespace clangor::towerkit {

namespace {

constexpr double PixelsPerMetre = 72.0;
constexpr double Margin = 0.06;  // metres of picture round the bell's reach
constexpr int Gap = 14;          // pixels between pits
constexpr int Border = 40;       // pixels of chamber wall round the frame

int Pixels(double metres) { return static_cast<int>(std::lround(metres * PixelsPerMetre)); }

}  // namespace

BellShape ShapeOf(const BellDefinition& bell) {
  BellShape shape;
  // A 30 cwt bell is about 1.3 m across the mouth.
  shape.mouthDiameter = 1.3 * std::cbrt(std::max(bell.weight, 0.5) / 30.0);
  shape.height = 0.78 * shape.mouthDiameter;
  shape.crownDrop = 0.16 * shape.mouthDiameter;
  shape.reach = shape.crownDrop + shape.height;
  return shape;
}

TowerLayout LayoutTower(const TowerDefinition& tower) {
  TowerLayout layout;
  layout.pixelsPerMetre = PixelsPerMetre;
  const int count = static_cast<int>(tower.bells.size());
  const int tiers = std::clamp(tower.tiers, 1, count);
  const int perTier = (count + tiers - 1) / tiers;
  layout.bells.resize(static_cast<std::size_t>(count));
  layout.tierOf.resize(static_cast<std::size_t>(count));

  // Each bell's square picture holds its whole swing: the wheel and the bell
  // turning about the gudgeons at the centre.
  std::vector<int> side(static_cast<std::size_t>(count));
  for (int b = 0; b < count; ++b) {
    const BellDefinition& bell = tower.bells[static_cast<std::size_t>(b)];
    const double radius = std::max(bell.wheelRadius, ShapeOf(bell).reach) + Margin;
    side[static_cast<std::size_t>(b)] = 2 * Pixels(radius);
  }
  // Lighter bells above, heavier below, round the frame like the ropes in
  // the ringing circle: the upper tier from the treble at the left, the tier
  // beneath it back from the right, so that each tier's first bell hangs
  // under the last bell of the tier above. Tiers end at one right edge.
  std::vector<int> tierWidth(static_cast<std::size_t>(tiers), 0);
  for (int b = 0; b < count; ++b) tierWidth[static_cast<std::size_t>(b / perTier)] += side[static_cast<std::size_t>(b)] + Gap;
  const int widest = *std::max_element(tierWidth.begin(), tierWidth.end()) - Gap;
  const int right = Border + widest;
  int y = Border;
  for (int t = 0; t < tiers; ++t) {
    const int first = t * perTier;
    const int last = std::min(count, first + perTier);
    int tallest = 0;
    for (int b = first; b < last; ++b) tallest = std::max(tallest, side[static_cast<std::size_t>(b)]);
    const bool rightwards = t % 2 == 0;
    int x = rightwards ? right - (tierWidth[static_cast<std::size_t>(t)] - Gap) : right;
    for (int b = first; b < last; ++b) {
      const int s = side[static_cast<std::size_t>(b)];
      if (!rightwards) x -= s;
      // Every pit in a tier has its gudgeons on one line (the frame's top).
      layout.bells[static_cast<std::size_t>(b)] = Box{x, y + (tallest - s) / 2, s, s};
      layout.tierOf[static_cast<std::size_t>(b)] = t;
      x = rightwards ? x + s + Gap : x - Gap;
    }
    layout.beamY.push_back(y + tallest / 2 + tallest / 8);
    y += tallest;
  }
  // The first bell of a lower tier's picture begins where the picture of the
  // bell above it ends.
  for (int t = 1; t < tiers; ++t) {
    const int above = t * perTier - 1;
    const int below = t * perTier;
    if (below >= count) break;
    const Box& top = layout.bells[static_cast<std::size_t>(above)];
    const int shift = top.y + top.h - layout.bells[static_cast<std::size_t>(below)].y;
    for (int b = below; b < count; ++b) layout.bells[static_cast<std::size_t>(b)].y += shift;
    for (std::size_t u = static_cast<std::size_t>(t); u < layout.beamY.size(); ++u) layout.beamY[u] += shift;
    y += shift;
  }
  const int width = right + Border;
  layout.beamHeight = Pixels(0.22);
  layout.width = width;
  layout.height = y + Border;
  // The view may crop the chamber's walls but always shows every bell.
  layout.minWidth = layout.width - Border;
  layout.minHeight = layout.height - Border;
  // The surprise picture hangs over the middle of the upper tier.
  const int sw = std::min(320, layout.width / 2);
  const int sh = sw * 5 / 16;
  layout.surprise = Box{(layout.width - sw) / 2, Border / 4, sw, sh};
  return layout;
}

std::vector<int> PictureAngles(const TowerDefinition& tower) {
  std::vector<int> angles;
  angles.push_back(-tower.stay);
  for (int a = -18000; a <= 18000; a += 1000) angles.push_back(a);
  angles.push_back(tower.stay);
  return angles;
}

}  // namespace clangor::towerkit
