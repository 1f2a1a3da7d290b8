#include "tools/towerkit/bell_layout.h"

#include <algorithm>
#include <cmath>

namespace clangor::towerkit {

namespace {

// Lengths in the chamber, in metres.
constexpr double Margin = 0.05;       // round the bell's reach or its wheel
constexpr double Gap = 0.2;           // between pits
constexpr double Border = 0.5;        // of chamber wall round the frame
constexpr double SillDepth = 0.16;    // the frame's ground sill
constexpr double LipClearance = 0.04; // from the lowest lip to the ground sill
// The chamber is at least this tall for its width: wall above the frame for
// the windows.
constexpr double Proportion = 0.45;
// Bells of one tier whose pictures differ in size by no more than this share
// one picture set, drawn at the heaviest one's size.
constexpr double ShareWithin = 0.07;

struct Scale {
  double pixelsPerMetre;
  int Pixels(double metres) const { return static_cast<int>(std::lround(metres * pixelsPerMetre)); }
};

// Half the width of the bell's picture: its whole swing, the wheel and the
// bell's lip turning about the gudgeons at the centre.
double HalfWidth(const BellDefinition& bell) {
  const BellShape shape = ShapeOf(bell);
  return std::max(bell.wheelRadius + 0.05, std::hypot(shape.reach, 0.51 * shape.mouthDiameter)) + Margin;
}

TowerLayout LayoutAt(const TowerDefinition& tower, Scale scale) {
  TowerLayout layout;
  layout.pixelsPerMetre = scale.pixelsPerMetre;
  const int count = static_cast<int>(tower.bells.size());
  const int tiers = std::clamp(tower.tiers, 1, count);
  const int perTier = (count + tiers - 1) / tiers;
  const auto at = [](int b) { return static_cast<std::size_t>(b); };
  layout.bells.resize(at(count));
  layout.tierOf.resize(at(count));
  layout.sourceBell.resize(at(count));
  const int gap = scale.Pixels(Gap), border = scale.Pixels(Border);

  // Bells of nearly one size in a tier take the size, and the pictures, of
  // the heaviest of them.
  std::vector<int> side(at(count)), height(at(count));
  for (int b = 0; b < count; ++b) side[at(b)] = 2 * scale.Pixels(HalfWidth(tower.bells[at(b)]));
  for (int first = 0; first < count;) {
    int last = first;
    while (last + 1 < count && (last + 1) / perTier == first / perTier &&
           side[at(last + 1)] <= side[at(first)] * (1.0 + ShareWithin)) {
      ++last;
    }
    for (int b = first; b <= last; ++b) {
      side[at(b)] = side[at(last)];
      layout.sourceBell[at(b)] = last + 1;
    }
    first = last + 1;
  }
  // Each tier's ground sill lies just below the lowest lip of its bells, and
  // every picture of the tier reaches down past it.
  std::vector<double> sillDrop(at(tiers), 0.0);
  for (int b = 0; b < count; ++b) {
    double& drop = sillDrop[at(b / perTier)];
    drop = std::max(drop, ShapeOf(tower.bells[at(b)]).reach + LipClearance);
  }
  for (int b = 0; b < count; ++b) {
    height[at(b)] = std::max(side[at(b)], 2 * scale.Pixels(sillDrop[at(b / perTier)] + SillDepth + 0.03));
  }

  // Lighter bells above, heavier below, round the frame like the ropes in
  // the ringing circle: the upper tier from the treble at the left, the tier
  // beneath it back from the right, so that each tier's first bell hangs
  // under the last bell of the tier above. Tiers end at one right edge.
  std::vector<int> tierWidth(at(tiers), 0);
  for (int b = 0; b < count; ++b) tierWidth[at(b / perTier)] += side[at(b)] + gap;
  const int widest = *std::max_element(tierWidth.begin(), tierWidth.end()) - gap;
  const int right = border + widest;
  // Wall above the frame, for the windows, when the frame alone would make
  // a chamber too low for its width.
  int frameHeight = 0;
  for (int t = 0; t < tiers; ++t) {
    int tallest = 0;
    for (int b = t * perTier; b < std::min(count, (t + 1) * perTier); ++b) tallest = std::max(tallest, height[at(b)]);
    frameHeight += tallest;
  }
  const int width = right + border;
  int y = border + std::max(0, static_cast<int>(Proportion * width) - frameHeight - 2 * border);
  for (int t = 0; t < tiers; ++t) {
    const int first = t * perTier;
    const int last = std::min(count, first + perTier);
    int tallest = 0;
    for (int b = first; b < last; ++b) tallest = std::max(tallest, height[at(b)]);
    const bool rightwards = t % 2 == 0;
    int x = rightwards ? right - (tierWidth[at(t)] - gap) : right;
    for (int b = first; b < last; ++b) {
      const int s = side[at(b)];
      if (!rightwards) x -= s;
      // Every pit in a tier has its gudgeons on one line (the frame's top).
      layout.bells[at(b)] = Box{x, y + (tallest - height[at(b)]) / 2, s, height[at(b)]};
      layout.tierOf[at(b)] = t;
      x = rightwards ? x + s + gap : x - gap;
    }
    layout.gudgeonY.push_back(y + tallest / 2);
    y += tallest;
  }
  // The first bell of a lower tier's picture begins where the picture of the
  // bell above it ends.
  for (int t = 1; t < tiers; ++t) {
    const int above = t * perTier - 1;
    const int below = t * perTier;
    if (below >= count) break;
    const Box& top = layout.bells[at(above)];
    const int shift = top.y + top.h - layout.bells[at(below)].y;
    for (int b = below; b < count; ++b) layout.bells[at(b)].y += shift;
    for (std::size_t u = at(t); u < layout.gudgeonY.size(); ++u) layout.gudgeonY[u] += shift;
    y += shift;
  }
  // The ground sill of each tier's frame passes in front of every bell of
  // the tier.
  layout.beamHeight = scale.Pixels(SillDepth);
  for (int t = 0; t < tiers; ++t) layout.beamY.push_back(layout.gudgeonY[at(t)] + scale.Pixels(sillDrop[at(t)]));
  layout.width = width;
  layout.floorY = y + border / 3;
  layout.height = y + border;
  // The view may crop the chamber's walls but always shows every bell.
  layout.minWidth = layout.width - border;
  layout.minHeight = layout.height - border;
  // The surprise picture hangs on the wall over the middle of the upper tier.
  const int sw = layout.width * 2 / 7;
  const int sh = sw * 9 / 20;
  layout.surprise = Box{(layout.width - sw) / 2, std::max(border / 5, layout.gudgeonY.front() - layout.bells.front().h / 2 - sh - border / 4), sw, sh};
  return layout;
}

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
  // Laid out once at a trial scale, then at the scale that shows the chamber
  // at its full-screen width.
  constexpr double Trial = 100.0;
  const TowerLayout trial = LayoutAt(tower, Scale{Trial});
  return LayoutAt(tower, Scale{Trial * (ShownWidth + 8) / trial.minWidth});
}

std::vector<int> PictureAngles(const TowerDefinition& tower) {
  std::vector<int> angles;
  angles.push_back(-tower.stay);
  for (int a = -18000; a <= 18000; a += 500) angles.push_back(a);
  angles.push_back(tower.stay);
  return angles;
}

}  // namespace clangor::towerkit
