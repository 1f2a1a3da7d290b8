#include "shell/settings_store.h"

#include <atomic>
#include <charconv>

#include "platform/registry.h"
#include "platform/shellfolders.h"
#include "shell/framework/registry_key.h"

namespace clangor {

namespace {

constexpr std::string_view Company = "Orvanta";
constexpr std::string_view Product = "Clangor";
constexpr std::string_view Edition = "XII";  // the folder of the per-tower keys

std::atomic<SettingsStore*> currentStore{nullptr};

registry::Key CurrentUser() { return registry::Key::Root(registry::HiveId::CurrentUser); }

// A semitone shift is kept as text: a whole number of semitones within the
// limit, with nothing after it.
bool SemitoneShiftInRange(const std::string& text) {
  int value = 0;
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') ++begin;
  const auto [stop, error] = std::from_chars(begin, end, value);
  return error == std::errc() && stop == end && value >= -SemitoneShiftLimit && value <= SemitoneShiftLimit;
}

// Reads an integer value into a setting, which keeps what it holds when the
// value is missing.
void ReadInt(OvLibrary::RegistryKey& key, std::string_view name, std::atomic<int>& setting) {
  std::int32_t value = setting;
  key.ReadInt(name, value);
  setting = value;
}

// Makes the writes through `key` reach the hive file together, in one
// writing of the file rather than one per value.
template <typename Writes>
void WriteTogether(OvLibrary::RegistryKey& key, Writes&& writes) {
  registry::HiveBatch batch(key.handle());
  writes();
  if (registry::Status s = batch.Commit(); s != registry::error::Success)
    throw OvLibrary::RegistryException(OvLibrary::RegistryException::SetValueFailed, s, key.name());
}

}  // namespace

SettingsStore::SettingsStore(Access access)
    : towerName_(DefaultTowerName), readOnly_(access == Access::ReadOnly) {
  for (int i = 0; i < IntSettingCount; ++i) ints_[i] = IntSettings[i].defaultValue;
  TakeTowerValues(TowerDefaults{});
  currentStore = this;
  ReadAll();
}

SettingsStore::~SettingsStore() {
  if (!writeDisabled_ && !readOnly_) WriteAll();
  SettingsStore* self = this;
  currentStore.compare_exchange_strong(self, nullptr);
}

SettingsStore* SettingsStore::Current() { return currentStore; }

std::string SettingsStore::SettingsKeyPath() {
  return "Software\\" + std::string(Company) + "\\" + std::string(Product);
}

std::string SettingsStore::TowerKeyPath(std::string_view towerName) {
  return SettingsKeyPath() + "\\" + std::string(Edition) + "\\" + std::string(towerName);
}

void SettingsStore::Failed(const OvLibrary::RegistryException& failure) {
  lastError_ = failure;
  writeDisabled_ = true;
}

// Reads every setting in table order; the first failure stops the reading,
// so the settings after it keep their defaults.
void SettingsStore::ReadAll() {
  try {
    OvLibrary::RegistryKey key(SettingsKeyPath());
    if (readOnly_ && !OpenExisting(key)) return;
    if (!readOnly_) key.Open(CurrentUser(), true);
    if (!key.created()) {
      key.ReadString(TowerNameSetting, towerName_);
      for (int i = 0; i < IntSettingCount; ++i) {
        ReadInt(key, IntSettings[i].name, ints_[i]);
        ints_[i] = IntSettings[i].InRange(ints_[i]);
      }
    }
    key.Close();
  } catch (const OvLibrary::RegistryException& failure) {
    Failed(failure);
  }
}

void SettingsStore::WriteAll() {
  try {
    OvLibrary::RegistryKey key(SettingsKeyPath());
    key.Open(CurrentUser(), true);
    WriteTogether(key, [&] {
      key.WriteString(TowerNameSetting, towerName_);
      for (int i = 0; i < IntSettingCount; ++i) key.WriteInt(IntSettings[i].name, ints_[i]);
    });
    key.Close();
  } catch (const OvLibrary::RegistryException& failure) {
    Failed(failure);
  }
}

std::string SettingsStore::GetString(std::string_view name) const {
  return name == TowerNameSetting ? towerName_ : std::string();
}

void SettingsStore::SetString(std::string_view name, std::string text) {
  if (name == TowerNameSetting) towerName_ = std::move(text);
}

int SettingsStore::GetInt(int index) const {
  return index >= 0 && index < IntSettingCount ? ints_[index].load(std::memory_order_relaxed) : 0;
}

void SettingsStore::SetInt(int index, int value) {
  if (index >= 0 && index < IntSettingCount) ints_[index].store(value, std::memory_order_relaxed);
}

std::string SettingsStore::GetTowerString(int index) const {
  return index >= 0 && index < TowerStringCount ? towerStrings_[index] : std::string();
}

void SettingsStore::SetTowerString(int index, std::string text) {
  if (index >= 0 && index < TowerStringCount) towerStrings_[index] = std::move(text);
}

int SettingsStore::GetTowerInt(int index) const {
  return index >= 0 && index < TowerIntCount ? towerInts_[index].load(std::memory_order_relaxed) : 0;
}

void SettingsStore::SetTowerInt(int index, int value) {
  if (index >= 0 && index < TowerIntCount) towerInts_[index].store(value, std::memory_order_relaxed);
}

void SettingsStore::TakeTowerValues(const TowerDefaults& tower) {
  towerStrings_[tower_string::SemitoneShift] = tower.SemitoneShift;
  towerStrings_[tower_string::SoundsFile] = tower.SoundsFile;
  towerInts_[tower_setting::PealMins] = tower.PealMins;
  towerInts_[tower_setting::Clappers] = tower.HalfMuffled;
  towerInts_[tower_setting::WholePullChanges] = tower.WholePullChanges;
  towerInts_[tower_setting::Remember_CWPC] = tower.RememberMufflesAndWholePulls;
  KeepTowerValuesInRange(TowerDefaults{});
}

// A value out of its range gives way to the tower's own (from its own
// definition), and that, when it is out of range too, to the default: a
// peal speed the clock would refuse is never kept, to be written back.
void SettingsStore::KeepTowerValuesInRange(const TowerDefaults& own) {
  const int ownInts[TowerIntCount] = {own.PealMins, own.HalfMuffled, own.WholePullChanges,
                                      own.RememberMufflesAndWholePulls};
  for (int i = 0; i < TowerIntCount; ++i) {
    const IntSetting& range = TowerIntRanges[i];
    if (!range.Holds(towerInts_[i])) towerInts_[i] = range.InRange(ownInts[i]);
  }
  std::string& shift = towerStrings_[tower_string::SemitoneShift];
  if (!SemitoneShiftInRange(shift)) shift = SemitoneShiftInRange(own.SemitoneShift) ? own.SemitoneShift : "0";
}

void SettingsStore::LoadTowerSettings(const TowerDefaults& tower) {
  // The tower's own values first: they stand for a new key, and for any value
  // missing from an old one (rather than the previous tower's values).
  TakeTowerValues(tower);
  try {
    OvLibrary::RegistryKey key(TowerKeyPath(tower.name));
    // Once writing is disabled the registry is only read: a tower seen for
    // the first time keeps its own values without its key being made.
    if ((writeDisabled_ || readOnly_) && !OpenExisting(key)) return;
    if (!readOnly_) key.Open(CurrentUser(), true);
    if (!key.created()) {
      key.ReadString(TowerStringNames[tower_string::SemitoneShift], towerStrings_[tower_string::SemitoneShift]);
      for (int i = 0; i < TowerIntCount; ++i) ReadInt(key, TowerIntNames[i], towerInts_[i]);
      key.ReadString(TowerStringNames[tower_string::SoundsFile], towerStrings_[tower_string::SoundsFile]);
    }
    key.Close();
  } catch (const OvLibrary::RegistryException& failure) {
    Failed(failure);
  }
  KeepTowerValuesInRange(tower);
}

bool SettingsStore::OpenExisting(OvLibrary::RegistryKey& key) {
  try {
    key.Open(CurrentUser(), false);
  } catch (const OvLibrary::RegistryException& failure) {
    if (failure.Code() != registry::error::FileNotFound) throw;
    return false;
  }
  return true;
}

void SettingsStore::SaveTowerSettings(const TowerDefaults& tower) {
  // After a failed reading some values may be defaults standing in for what
  // the user has stored: they must not be written over it.
  if (writeDisabled_ || readOnly_) return;
  try {
    OvLibrary::RegistryKey key(TowerKeyPath(tower.name));
    key.Open(CurrentUser(), true);
    WriteTogether(key, [&] {
      for (int i = 0; i < TowerStringCount; ++i) key.WriteString(TowerStringNames[i], towerStrings_[i]);
      for (int i = 0; i < TowerIntCount; ++i) key.WriteInt(TowerIntNames[i], towerInts_[i]);
    });
    key.Close();
  } catch (const OvLibrary::RegistryException& failure) {
    Failed(failure);
  }
}

std::string SettingsStore::AppDataPath(std::string_view subPath) {
  std::string common = ShellFolderPath(ShellFolder::CommonAppData);
  if (common.empty()) return "";
  std::string path = PathAppend(common, std::string(Company) + "/" + std::string(Product) + "/");
  return PathAppend(path, subPath);
}

}  // namespace clangor
