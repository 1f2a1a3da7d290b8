// Where the fittings of a hung bell are, in metres from its gudgeons (y
// down, the bell mouth down): what the swing pictures draw and what the base
// picture must meet (the rope leaving the ground pulley for the floor).
#pragma once

#include "tools/towerkit/bell_layout.h"
#include "tools/towerkit/tower_definition.h"

namespace clangor::towerkit {

struct BellRig {
  BellShape shape;
  double wheel = 0;       // radius of the wheel's sole
  double halfWidth = 0, halfHeight = 0;  // of the picture
  double stay = 0;        // from the gudgeons to the stay's end
  double sillTop = 0;     // the top of the frame's ground sill
  double pulleyX = 0, pulleyY = 0, pulleyRadius = 0;
  double ropeX = 0;       // where the rope drops from the pulley to the floor
};

// `box` is the bell's picture on the base picture and `sillY` the top of its
// tier's ground sill, in base-picture pixels.
BellRig RigOf(const BellDefinition& bell, const Box& box, int sillY, double pixelsPerMetre);

}  // namespace clangor::towerkit
