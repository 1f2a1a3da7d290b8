// The tower's base picture and the masks that put the frame in front of the
// bells, drawn with Qt's painter.
#pragma once

#include <QImage>

#include "tools/towerkit/bell_layout.h"
#include "tools/towerkit/tower_definition.h"

namespace clangor::towerkit {

QImage ChamberPicture(const TowerDefinition& tower, const TowerLayout& layout);

// A bell's mask: white, with the colour key where its tier's ground sill
// (`sillY`, `sillHeight` pixels deep, on the base picture) passes in front.
QImage SillMask(const Box& box, int sillY, int sillHeight);

}  // namespace clangor::towerkit
