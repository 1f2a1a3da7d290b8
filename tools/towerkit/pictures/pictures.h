// The kit's pictures, drawn with Qt's painter and saved as Windows bitmaps:
// each tower's ringing chamber, swing pictures, masks and surprise picture,
// and the program's own pictures. The only part of the kit that uses Qt; its
// interface has no Qt types.
#pragma once

#include <filesystem>
#include <memory>

#include "tools/towerkit/tower_definition.h"

namespace clangor::towerkit {

// Qt's application object for drawing, on the offscreen platform (no
// display); one must live while pictures are drawn.
class PictureSession {
 public:
  PictureSession(int& argc, char** argv);
  ~PictureSession();
  PictureSession(const PictureSession&) = delete;
  PictureSession& operator=(const PictureSession&) = delete;

 private:
  struct Application;
  std::unique_ptr<Application> application_;
};

// Towers/XII/<name>/images/: base.bmp, surprise.bmp, surprise_mask.bmp, and
// for each bell <n>/<n>-<kkk>.bmp and <n>-mask.bmp.
void DrawTowerPictures(const TowerDefinition& tower, const std::filesystem::path& dataFolder);

// Program Stuff/: digits, sallies, tool bar strips, arrows and the tick.
void DrawProgramPictures(const std::filesystem::path& programStuff);

}  // namespace clangor::towerkit
