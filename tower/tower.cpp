#include "tower/tower.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "shell/settings_store.h"
#include "tower/tower_text.h"

namespace clangor {

namespace {

constexpr const char* TowersFolder = "Towers/XII/";
// The keys a sound set gives each bell; a new sound set replaces them all.
constexpr const char* SoundKeys[] = {"OpenFile", "MuffledFile", "OpenSemitoneShift",
                                     "MuffledSemitoneShift", "StrikingCorrection"};

bool EndsWithTxt(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".txt";
}

}  // namespace

std::atomic<Tower*> Tower::current_{nullptr};

Tower::Tower(const std::string& name, SettingsStore& settings)
    : settings_(settings), name_(name), imagesTower_(name) {
  readTowerText();
  control_ = ReadControlTable(towerPath("control.cld"));
  readControlText();
  settings_.LoadTowerSettings(ownSettings());
  readSoundSet();
  listSoundSets();
  current_ = this;
}

Tower::~Tower() {
  settings_.SetString(TowerNameSetting, name_);
  settings_.SaveTowerSettings(ownSettings());
  Tower* self = this;
  current_.compare_exchange_strong(self, nullptr);
}

// The values of "[Tower]" that stand for the tower's saved settings until it
// has some of its own.
TowerDefaults Tower::ownSettings() const {
  TowerDefaults own;
  own.name = name_;
  own.PealMins = pealMins_;
  own.SemitoneShift = semitoneShift_;
  own.SoundsFile = soundsFile_;
  own.HalfMuffled = halfMuffled_;
  own.WholePullChanges = wholePullChanges_;
  own.RememberMufflesAndWholePulls = rememberMufflesAndWholePulls_;
  return own;
}

std::string Tower::towerPath(const std::string& file) const {
  return SettingsStore::AppDataPath(TowersFolder + name_ + "/" + file);
}

// --- tower.txt ---

void Tower::readTowerText() {
  TowerTextReader in(towerPath("tower.txt"));
  if (!in.FindSection("[Tower]")) return;
  readTowerSection(in);
  // A tower.txt without RAM holds nothing further that is read.
  if (ram_ == 0) return;
  readRings(in, "[Rings]", rings_);
  readRings(in, "[Other Rings]", otherRings_);
  readNumberedProperty(in, "[Bell Names]", "Name");
  readNumberedProperty(in, "[Set Delays]", "SetDelay");
}

void Tower::readTowerSection(TowerTextReader& in) {
  std::string line;
  while (in.NextBodyLine(line)) {
    const auto kv = SplitKeyValue(line);
    if (!kv || kv->value.empty()) continue;
    const std::string& key = kv->key;
    const std::string& value = kv->value;
    if (key == "ImagesTower") imagesTower_ = value;
    else if (key == "SoundsFile") soundsFile_ = value;
    else if (key == "TenorKey") tenorKey_ = value;
    else if (key == "SemitoneShift") semitoneShift_ = value;
    else if (key == "RAM") ram_ = ReadInt(value);
    else if (key == "PealMins") pealMins_ = ReadInt(value);
    else if (key == "HalfMuffled") halfMuffled_ = ReadInt(value);
    else if (key == "WholePullChanges") wholePullChanges_ = ReadInt(value);
    else if (key == "RememberMufflesAndWholePulls") rememberMufflesAndWholePulls_ = ReadInt(value);
  }
}

void Tower::readRings(TowerTextReader& in, const char* header, std::vector<RingEntry>& rings) {
  if (!in.FindSection(header)) return;
  std::string line;
  while (in.NextBodyLine(line)) {
    const auto kv = SplitKeyValue(line);
    if (kv && rings.size() < MaxRings) rings.emplace_back(kv->key, kv->value);
  }
}

// "[Bell Names]" and "[Set Delays]": a bell number from 1, "=", a value.
void Tower::readNumberedProperty(TowerTextReader& in, const char* header, const char* key) {
  if (!in.FindSection(header)) return;
  std::string line;
  while (in.NextBodyLine(line)) {
    const auto kv = SplitKeyValue(line);
    if (!kv) continue;
    const int bell = ReadInt(kv->rawKey);
    if (bell >= 1 && bell <= MaxTowerBells) bells_[bell - 1].Set(key, kv->value);
  }
}

// --- control.txt ---

void Tower::readControlText() {
  TowerTextReader in(towerPath("control.txt"));
  if (!in.FindSection("[Base Image]")) return;
  std::string line;
  while (in.NextBodyLine(line)) {
    const auto kv = SplitKeyValue(line);
    if (!kv) continue;
    const int value = ReadInt(kv->value);
    if (kv->key == "Width") baseWidth_ = value;
    else if (kv->key == "Height") baseHeight_ = value;
    else if (kv->key == "MinWidth") minWidth_ = value;
    else if (kv->key == "MinHeight") minHeight_ = value;
    else if (kv->key == "SurpriseX") surpriseX_ = value;
    else if (kv->key == "SurpriseY") surpriseY_ = value;
    else if (kv->key == "SurpriseW") surpriseW_ = value;
    else if (kv->key == "SurpriseH") surpriseH_ = value;
  }
  // Every further line: "[n]" selects bell n, key=value lines fill it.
  int bell = 0;
  while (in.NextLine(line)) {
    if (!line.empty() && line[0] == '[') {
      bell = ReadInt(std::string_view(line).substr(1));
      continue;
    }
    const auto kv = SplitKeyValue(line);
    if (!kv || bell < 1 || bell > bellCount() || kv->key.empty() || kv->value.empty()) continue;
    bells_[bell - 1].Set(kv->key, kv->value);
  }
}

// --- sound sets ---

void Tower::readSoundSet() {
  std::string set = settings_.GetTowerString(tower_string::SoundsFile);
  if (set.empty()) set = soundsFile_;
  hasMuffledSounds_ = true;
  TowerTextReader in(soundSetPath(set));
  if (!in.FindSection("[Recordings]")) return;
  std::string line;
  while (in.NextBodyLine(line)) {
    const auto kv = SplitKeyValue(line);
    if (kv && kv->key == "Source" && !kv->value.empty()) recordingSource_ = kv->value;
  }
  // Then "[1]", "[2]", ... in order; a section out of turn ends the file.
  for (int bell = 1; bell <= bellCount(); ++bell) {
    if (!in.NextHeader(line) || ReadInt(std::string_view(line).substr(1)) != bell) return;
    while (in.NextBodyLine(line)) {
      if (const auto kv = SplitKeyValue(line)) bells_[bell - 1].Set(kv->key, kv->value);
    }
  }
}

// The sound set's file: "<set>.txt", or a file listed with another case of
// ".txt" (the list takes any case, and the folder may tell cases apart).
std::string Tower::soundSetPath(const std::string& set) const {
  const std::string exact = towerPath("sounds/" + set + ".txt");
  std::error_code error;
  if (std::filesystem::exists(exact, error)) return exact;
  std::filesystem::directory_iterator it(towerPath("sounds"), error);
  if (error) return exact;
  for (const auto& entry : it) {
    const std::string file = entry.path().filename().string();
    if (EndsWithTxt(file) && file.size() == set.size() + 4 && file.compare(0, set.size(), set) == 0) {
      return entry.path().string();
    }
  }
  return exact;
}

void Tower::reloadSoundSet() {
  recordingSource_.clear();
  for (auto& bell : bells_) {
    for (const char* key : SoundKeys) bell.Erase(key);
  }
  readSoundSet();
}

void Tower::listSoundSets() {
  std::error_code error;
  std::filesystem::directory_iterator it(towerPath("sounds"), error);
  if (error) return;
  for (const auto& entry : it) {
    if (entry.is_directory(error)) continue;
    const std::string file = entry.path().filename().string();
    if (EndsWithTxt(file)) soundSets_.push_back(file);
  }
  // The folder's own order is not defined; the menu lists the sets by name.
  std::sort(soundSets_.begin(), soundSets_.end());
}

std::vector<std::string> Tower::listTowers() {
  std::vector<std::string> towers;
  std::error_code error;
  std::filesystem::directory_iterator it(SettingsStore::AppDataPath("Towers/XII"), error);
  if (!error) {
    for (const auto& entry : it) {
      if (entry.is_directory(error)) towers.push_back(entry.path().filename().string());
    }
  }
  std::sort(towers.begin(), towers.end());
  if (towers.empty()) towers.emplace_back(DefaultTowerName);
  return towers;
}

// --- look-ups ---

std::string Tower::bellProperty(int bellIndex, const std::string& key) const {
  if (bellIndex < 0 || bellIndex >= bellCount() || key.empty()) return {};
  return bells_[static_cast<std::size_t>(bellIndex)].Get(key);
}

RingEntry Tower::ring(int index, bool fromRings) const {
  const auto& list = fromRings ? rings_ : otherRings_;
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return {};
  return list[static_cast<std::size_t>(index)];
}

std::string Tower::soundSet(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= soundSets_.size()) return {};
  return soundSets_[static_cast<std::size_t>(index)];
}

}  // namespace clangor
