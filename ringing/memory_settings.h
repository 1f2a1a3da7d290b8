// Settings kept in memory, with the stored defaults of the settings the
// ringing reads: for the headless ringer and the tests, where no settings
// store is loaded.
#pragma once

#include <map>

#include "ringing/settings_source.h"

namespace clangor {

class MemorySettings : public SettingsSource {
 public:
  MemorySettings() {
    ints_[setting::ActionAtRounds] = 2;
    ints_[setting::CallUp] = 1;
    ints_[setting::MethodLimit] = 15;
    ints_[setting::CompositionLimit] = 15;
    ints_[setting::MaxTimeFactor] = 12;
    towerInts_[tower_setting::PealMins] = 180;
  }

  int GetInt(int index) const override { return Lookup(ints_, index); }
  void SetInt(int index, int value) override { ints_[index] = value; }
  int GetTowerInt(int index) const override { return Lookup(towerInts_, index); }
  void SetTowerInt(int index, int value) { towerInts_[index] = value; }

 private:
  static int Lookup(const std::map<int, int>& values, int index) {
    const auto at = values.find(index);
    return at == values.end() ? 0 : at->second;
  }

  std::map<int, int> ints_;
  std::map<int, int> towerInts_;
};

}  // namespace clangor
