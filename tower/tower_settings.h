// What a tower needs of the settings store: the data folder, the tower's own
// saved settings (loaded when it is made, saved when it goes) and the
// TowerName setting. The settings store implements it; tests use a small one
// in memory.
#pragma once

#include <string>

namespace clangor {

// The values a tower's "[Tower]" section gives its saved settings when the
// tower has none saved yet.
struct TowerSettingDefaults {
  std::string semitoneShift = "0";
  std::string soundsFile;
  int pealMins = 180;
  int halfMuffled = 0;                    // for Clappers
  int wholePullChanges = 0;
  int rememberMufflesAndWholePulls = 0;   // for Remember_CWPC
};

namespace tower_string {
inline constexpr int SemitoneShift = 0;
inline constexpr int SoundsFile = 1;
}  // namespace tower_string

class TowerSettingsStore {
 public:
  virtual ~TowerSettingsStore() = default;
  // The data folder followed by `subPath`, with "/" as separator; the folder
  // ends in "/". Empty when there is no data folder.
  virtual std::string AppDataPath(const std::string& subPath) const = 0;
  // Reads the tower's saved settings, or takes `defaults` when it has none.
  virtual void LoadTowerSettings(const std::string& towerName,
                                 const TowerSettingDefaults& defaults) = 0;
  virtual void SaveTowerSettings(const std::string& towerName) = 0;
  virtual std::string GetTowerString(int index) const = 0;
  virtual void SetString(const std::string& name, const std::string& text) = 0;
};

}  // namespace clangor
