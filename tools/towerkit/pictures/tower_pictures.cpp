// A tower's pictures: the bell chamber, each picture set at every angle its
// pictures show, the masks of the ground sills in front of the bells, and
// the surprise picture. Bells that share a picture set (the same size in
// one tier) are drawn once, from the heaviest of them.
#include <cstdio>
#include <string>

#include "tools/towerkit/bell_layout.h"
#include "tools/towerkit/pictures/bell_rig.h"
#include "tools/towerkit/pictures/chamber_picture.h"
#include "tools/towerkit/pictures/picture_kit.h"
#include "tools/towerkit/pictures/pictures.h"
#include "tools/towerkit/pictures/surprise_picture.h"
#include "tools/towerkit/pictures/swing_picture.h"

namespace clangor::towerkit {

void DrawTowerPictures(const TowerDefinition& tower, const std::filesystem::path& dataFolder) {
  const TowerLayout layout = LayoutTower(tower);
  const auto images = dataFolder / "Towers" / "XII" / tower.name / "images";
  SaveBitmap(ChamberPicture(tower, layout), images / "base.bmp");
  SaveBitmap(SurpriseBoard(layout.surprise.w, layout.surprise.h), images / "surprise.bmp");
  SaveBitmap(SurpriseBoardMask(layout.surprise.w, layout.surprise.h), images / "surprise_mask.bmp");
  const std::vector<int> angles = PictureAngles(tower);
  for (std::size_t b = 0; b < tower.bells.size(); ++b) {
    const BellDefinition& bell = tower.bells[b];
    if (layout.sourceBell[b] != bell.number) continue;
    const Box& box = layout.bells[b];
    const int sill = layout.beamY[static_cast<std::size_t>(layout.tierOf[b])];
    const BellRig rig = RigOf(bell, box, sill, layout.pixelsPerMetre);
    const std::string number = std::to_string(bell.number);
    for (std::size_t k = 0; k < angles.size(); ++k) {
      char name[32];
      std::snprintf(name, sizeof name, "%s-%03zu.bmp", number.c_str(), k);
      SavePaletteBitmap(SwingPicture(rig, box.w, box.h, layout.pixelsPerMetre, angles[k]), images / number / name);
    }
    SavePaletteBitmap(SillMask(box, sill, layout.beamHeight), images / (number + "-mask.bmp"));
  }
}

}  // namespace clangor::towerkit
