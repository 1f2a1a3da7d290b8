// Where each bell sits in the picture of the ringing chamber, how large it
// is drawn, and the swing angles its pictures show. The tower's control.txt
// and the pictures are both made from this one layout, so they agree.
#pragma once

#include <vector>

#include "tools/towerkit/tower_definition.h"

namespace clangor::towerkit {

// The bell's own size, from its weight (the mouth grows with the cube root).
struct BellShape {
  double mouthDiameter = 0;  // metres
  double height = 0;         // metres, crown to lip
  double crownDrop = 0;      // metres from the gudgeons down to the crown
  double reach = 0;          // metres from the gudgeons to the lip
};
BellShape ShapeOf(const BellDefinition& bell);

struct Box {
  int x = 0, y = 0, w = 0, h = 0;
};

struct TowerLayout {
  double pixelsPerMetre = 0;
  int width = 0, height = 0;        // the base picture
  int minWidth = 0, minHeight = 0;  // the part the view always shows
  Box surprise;
  std::vector<Box> bells;           // each bell's picture, on the base picture
  // The bell (number, from 1) whose pictures each bell shows: bells of one
  // size in one tier share a picture set, drawn from the heaviest of them.
  std::vector<int> sourceBell;
  std::vector<int> tierOf;          // the frame's row each bell hangs in
  std::vector<int> gudgeonY;        // per tier: the line of the gudgeons
  std::vector<int> beamY;           // per tier: the top of the frame's front ground sill
  int beamHeight = 0;
  int floorY = 0;                   // the top of the chamber's floor
};

// The pictures are drawn at the size a full-screen view shows them: the part
// of the base picture the view always shows is at least this wide.
inline constexpr int ShownWidth = 1600;

TowerLayout LayoutTower(const TowerDefinition& tower);

// The swing angles the pictures show, in picture order and increasing angle:
// the bell on its stay on the set side, every 5 degrees from one balance to
// the other, and on its stay on the other side.
std::vector<int> PictureAngles(const TowerDefinition& tower);

}  // namespace clangor::towerkit
