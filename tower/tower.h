// A loaded tower: its settings, its rings, its base picture geometry, its
// striking-control table and every bell's properties, read from the tower's
// folder under "Towers/XII/". Exactly one exists at a time, reached through
// Tower::Current() while it exists.
#pragma once

#include <array>
#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "tower/bell_properties.h"
#include "tower/control_table.h"

namespace clangor {

class SettingsStore;
class TowerTextReader;
struct TowerDefaults;

using RingEntry = std::pair<std::string, std::string>;  // menu text, pattern ("U" rings)

class Tower {
 public:
  // More rings than a menu can hold are not read.
  static constexpr std::size_t MaxRings = 100;

  // Loads the tower `name`: tower.txt, control.cld, control.txt, the tower's
  // saved settings, the current sound set, the list of sound sets. Data paths
  // come from the store's AppDataPath. UI thread; `settings` must outlive the
  // tower.
  Tower(const std::string& name, SettingsStore& settings);
  // Saves TowerName and the tower's own settings.
  ~Tower();
  Tower(const Tower&) = delete;
  Tower& operator=(const Tower&) = delete;

  // The tower now loaded, or nullptr.
  static Tower* Current() { return current_.load(); }

  // The names of the tower folders, or "Twelve Bells" when there are none.
  static std::vector<std::string> listTowers();

  // The property of bell `bellIndex` (0-based); empty outside 0..bellCount-1,
  // for an empty key or an absent one.
  std::string bellProperty(int bellIndex, const std::string& key) const;
  // Entry `index` of the rings (fromRings) or the other rings; two empty
  // texts outside the list.
  RingEntry ring(int index, bool fromRings) const;
  // Entry `index` of the sound sets (with ".txt"); empty outside the list.
  std::string soundSet(int index) const;
  // Forgets the sound keys and reads the current sound set again.
  void reloadSoundSet();

  const std::string& name() const { return name_; }
  const std::string& imagesTower() const { return imagesTower_; }
  int ram() const { return ram_; }
  const std::vector<std::string>& soundSets() const { return soundSets_; }
  const std::string& recordingSource() const { return recordingSource_; }
  int pealMins() const { return pealMins_; }
  const std::string& semitoneShift() const { return semitoneShift_; }
  const std::string& soundsFile() const { return soundsFile_; }
  int halfMuffled() const { return halfMuffled_; }
  int wholePullChanges() const { return wholePullChanges_; }
  int rememberMufflesAndWholePulls() const { return rememberMufflesAndWholePulls_; }
  bool hasMuffledSounds() const { return hasMuffledSounds_; }
  // A bell without its own muffled recording clears this (bell loading).
  void clearMuffledSounds() { hasMuffledSounds_ = false; }
  int bellCount() const { return control_.bellCount; }
  int controlVersion() const { return control_.controlVersion; }
  const ControlTable& controlTable() const { return control_; }
  const std::string& tenorKey() const { return tenorKey_; }
  const std::vector<RingEntry>& rings() const { return rings_; }
  const std::vector<RingEntry>& otherRings() const { return otherRings_; }
  int baseWidth() const { return baseWidth_; }
  int baseHeight() const { return baseHeight_; }
  int minWidth() const { return minWidth_; }
  int minHeight() const { return minHeight_; }
  int surpriseX() const { return surpriseX_; }
  int surpriseY() const { return surpriseY_; }
  int surpriseW() const { return surpriseW_; }
  int surpriseH() const { return surpriseH_; }
  const BellProperties& bell(int index) const { return bells_.at(static_cast<std::size_t>(index)); }

  // The tower's folder and the paths of its files, from the data folder.
  std::string towerPath(const std::string& file) const;

 private:
  void readTowerText();
  void readTowerSection(TowerTextReader& in);
  void readRings(TowerTextReader& in, const char* header, std::vector<RingEntry>& rings);
  void readNumberedProperty(TowerTextReader& in, const char* header, const char* key);
  void readControlText();
  void readSoundSet();
  std::string soundSetPath(const std::string& set) const;
  void listSoundSets();
  TowerDefaults ownSettings() const;

  static std::atomic<Tower*> current_;

  SettingsStore& settings_;
  std::string name_;
  std::string imagesTower_;
  int ram_ = 0;
  std::vector<std::string> soundSets_;
  std::string recordingSource_;
  int pealMins_ = 180;
  std::string semitoneShift_ = "0";
  std::string soundsFile_;
  int halfMuffled_ = 0;
  int wholePullChanges_ = 0;
  int rememberMufflesAndWholePulls_ = 0;
  bool hasMuffledSounds_ = false;
  ControlTable control_;
  std::string tenorKey_;
  std::vector<RingEntry> rings_;
  std::vector<RingEntry> otherRings_;
  int baseWidth_ = 0, baseHeight_ = 0, minWidth_ = 0, minHeight_ = 0;
  int surpriseX_ = 0, surpriseY_ = 0, surpriseW_ = 0, surpriseH_ = 0;
  std::array<BellProperties, MaxTowerBells> bells_;
};

}  // namespace clangor
