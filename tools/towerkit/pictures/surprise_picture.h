// The surprise picture: a peal board hung on the chamber wall, shown while a
// surprise method is rung, and its mask.
#pragma once

#include <QImage>

namespace clangor::towerkit {

QImage SurpriseBoard(int w, int h);
// Black where the board is, white round it.
QImage SurpriseBoardMask(int w, int h);

}  // namespace clangor::towerkit
