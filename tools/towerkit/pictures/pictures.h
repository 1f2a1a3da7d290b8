// The kit's pictures, drawn with Qt's painter and saved as Windows bitmaps:
// each tower's ringing chamber, swing pictures, masks and surprise picture,
// and the program's own pictures. The only part of the kit that uses Qt; its
// interface has no Qt types.
#pragma once

#include <filesystem>

#include "tools/towerkit/tower_definition.h"

namespace clangor::towerkit {

// Call once before drawing (sets up Qt's offscreen platform, no display).
void StartPictures(int argc, char** argv);

// Towers/XII/<name>/images/: base.bmp, surprise.bmp, surprise_mask.bmp, and
// for each bell <n>/<n>-<kkk>.bmp and <n>-mask.bmp.
void DrawTowerPictures(const TowerDefinition& tower, const std::filesystem::path& dataFolder);

// Program Stuff/: digits, sallies, tool bar strips, arrows and the tick.
void DrawProgramPictures(const std::filesystem::path& programStuff);

}  // namespace clangor::towerkit
