// Pictures of 256 colours: the colour key kept exactly as index 0 and the
// rest of the picture's colours brought to 255 by median cut.
#pragma once

#include <QImage>

#include "tools/towerkit/pictures/rle8_bitmap.h"

namespace clangor::towerkit {

IndexedPicture ToIndexed(const QImage& image);

}  // namespace clangor::towerkit
