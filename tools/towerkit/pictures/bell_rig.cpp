#include "tools/towerkit/pictures/bell_rig.h"

#include <algorithm>
#include <cmath>

namespace clangor::towerkit {

BellRig RigOf(const BellDefinition& bell, const Box& box, int sillY, double pixelsPerMetre) {
  BellRig rig;
  rig.shape = ShapeOf(bell);
  rig.wheel = bell.wheelRadius;
  rig.halfWidth = box.w / 2.0 / pixelsPerMetre;
  rig.halfHeight = box.h / 2.0 / pixelsPerMetre;
  rig.sillTop = (sillY - box.y - box.h / 2.0) / pixelsPerMetre;
  // The stay's end passes just above the slider when the bell is up.
  rig.stay = std::min(0.74 * rig.shape.reach, rig.sillTop - 0.14);
  // The ground pulley stands on the sill under the wheel's edge, where the
  // rope drops off the wheel, and guides it down through the floor.
  rig.pulleyRadius = 0.06 + 0.03 * rig.wheel;
  rig.pulleyX = -std::min(rig.wheel + 0.3 * rig.pulleyRadius, rig.halfWidth - rig.pulleyRadius - 0.02);
  rig.pulleyY = rig.sillTop - rig.pulleyRadius - 0.015;
  rig.ropeX = rig.pulleyX - rig.pulleyRadius;
  return rig;
}

}  // namespace clangor::towerkit
