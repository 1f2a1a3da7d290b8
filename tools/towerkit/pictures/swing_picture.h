// The swing pictures of a bell, drawn with Qt's painter.
#pragma once

#include <QImage>

#include "tools/towerkit/pictures/bell_rig.h"

namespace clangor::towerkit {

// The bell of `rig` at `angle` (hundredths of a degree, 0 mouth down) in a
// picture of `w` x `h` pixels, the gudgeons at its centre, on the colour key.
QImage SwingPicture(const BellRig& rig, int w, int h, double pixelsPerMetre, int angle);

}  // namespace clangor::towerkit
