#include "tools/towerkit/pictures/pictures.h"

namespace clangor::towerkit {
void StartPictures(int, char**) {}
void DrawTowerPictures(const TowerDefinition&, const std::filesystem::path&) {}
void DrawProgramPictures(const std::filesystem::path&) {}
}  // namespace clangor::towerkit
