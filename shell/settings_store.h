// The settings store: every preference, window position and list-column
// width of the simulator, and the per-tower settings of the loaded tower,
// kept in memory and in the current user's registry under
// "Software\Orvanta\Clangor" (and "...\XII\<tower name>" per tower).
//
// Constructed first at start-up (it reads everything then) and destroyed
// last at exit (it writes everything back then, unless a registry failure
// disabled writing). Everything between acts on memory only.
//
// Threads: the integer settings (GetInt, SetInt, GetTowerInt, SetTowerInt)
// may be read and set from any thread, since the ringing loop polls some of
// them while the user changes them; everything else belongs to the
// user-interface thread.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <string_view>

#include "ringing/settings_source.h"
#include "shell/framework/registry_exception.h"
#include "shell/framework/registry_key.h"
#include "shell/settings_table.h"

namespace clangor {

// What the store needs of a tower: its name (the last part of its key) and
// the values its own definition gives for its per-tower settings, taken when
// the tower is loaded for the first time.
struct TowerDefaults {
  std::string name;
  int PealMins = 180;
  std::string SemitoneShift = "0";
  std::string SoundsFile;
  int HalfMuffled = 0;                   // becomes Clappers
  int WholePullChanges = 0;
  int RememberMufflesAndWholePulls = 0;  // becomes Remember_CWPC
};

class SettingsStore final : public SettingsSource {
 public:
  // ReadOnly: the registry is read and never written, not even a missing key
  // made (a headless ringer borrowing the simulator's preferences).
  enum class Access { ReadWrite, ReadOnly };

  // Sets every default, then reads the settings from the registry (creating
  // their key on first start). Becomes the process-wide store.
  explicit SettingsStore(Access access = Access::ReadWrite);
  // Writes every string and integer setting back unless writing is disabled.
  ~SettingsStore() override;
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // The store while one exists, else null.
  static SettingsStore* Current();

  // String settings by name; an unknown name reads empty and is not kept.
  std::string GetString(std::string_view name) const;
  void SetString(std::string_view name, std::string text);
  // Integer settings by index (setting::...); an index out of range reads 0
  // and is not kept.
  int GetInt(int index) const override;
  void SetInt(int index, int value) override;
  // Per-tower settings of the loaded tower, by index (tower_string::...,
  // tower_setting::...).
  std::string GetTowerString(int index) const;
  void SetTowerString(int index, std::string text);
  int GetTowerInt(int index) const override;
  void SetTowerInt(int index, int value);

  // Reads the tower's per-tower settings from its key; when the key is new,
  // or a value is missing from it, the tower's own values stand.
  void LoadTowerSettings(const TowerDefaults& tower);
  // Writes the six per-tower settings under the tower's key.
  void SaveTowerSettings(const TowerDefaults& tower);

  // The common application-data folder, then "Orvanta/Clangor/", then
  // `subPath` when it is not empty; empty when the folder is unknown.
  static std::string AppDataPath(std::string_view subPath = {});

  // Set when any registry operation of the store failed; then nothing is
  // written at exit.
  bool writeDisabled() const { return writeDisabled_; }
  bool readOnly() const { return readOnly_; }
  const std::optional<OvLibrary::RegistryException>& lastError() const { return lastError_; }

  // The registry key of the settings, and of one tower's settings.
  static std::string SettingsKeyPath();
  static std::string TowerKeyPath(std::string_view towerName);

 private:
  void ReadAll();
  void WriteAll();
  void Failed(const OvLibrary::RegistryException& failure);
  void TakeTowerValues(const TowerDefaults& tower);
  void KeepTowerValuesInRange(const TowerDefaults& own);
  // Opens an existing key; false when there is none.
  bool OpenExisting(OvLibrary::RegistryKey& key);

  std::string towerName_;
  std::atomic<int> ints_[IntSettingCount];
  std::string towerStrings_[TowerStringCount];
  std::atomic<int> towerInts_[TowerIntCount];
  bool writeDisabled_ = false;
  bool readOnly_ = false;
  std::optional<OvLibrary::RegistryException> lastError_;
};

}  // namespace clangor
