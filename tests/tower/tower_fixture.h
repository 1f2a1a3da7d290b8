// A tower folder written by the test in a temporary data folder, and a
// settings store in memory.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tower/tower_settings.h"

namespace clangor::testing {

class MemorySettings : public TowerSettingsStore {
 public:
  explicit MemorySettings(std::filesystem::path dataFolder) : dataFolder_(std::move(dataFolder)) {}

  std::string AppDataPath(const std::string& subPath) const override {
    return dataFolder_.string() + "/" + subPath;
  }
  void LoadTowerSettings(const std::string& towerName, const TowerSettingDefaults& defaults) override {
    loadedTower = towerName;
    loadedDefaults = defaults;
    if (!saved.count(towerName)) {
      towerStrings[0] = defaults.semitoneShift;
      towerStrings[1] = defaults.soundsFile;
    } else {
      towerStrings = saved[towerName];
    }
  }
  void SaveTowerSettings(const std::string& towerName) override { saved[towerName] = towerStrings; }
  std::string GetTowerString(int index) const override { return towerStrings.at(index); }
  void SetString(const std::string& name, const std::string& text) override { strings[name] = text; }

  std::filesystem::path dataFolder_;
  std::string loadedTower;
  TowerSettingDefaults loadedDefaults;
  std::map<int, std::string> towerStrings{{0, ""}, {1, ""}};
  std::map<std::string, std::map<int, std::string>> saved;
  std::map<std::string, std::string> strings;
};

// The control table file: the two header words, then `values`.
inline void WriteControlTable(const std::filesystem::path& path, std::int32_t count,
                              std::int32_t version, const std::vector<double>& values) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&count), 4);
  out.write(reinterpret_cast<const char*>(&version), 4);
  out.write(reinterpret_cast<const char*>(values.data()),
            static_cast<std::streamsize>(values.size() * sizeof(double)));
}

class TowerFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    data_ = std::filesystem::temp_directory_path() /
            (std::string("clangor_tower_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(data_);
    std::filesystem::create_directories(data_);
  }
  void TearDown() override { std::filesystem::remove_all(data_); }

  std::filesystem::path TowerFolder(const std::string& tower = "Test") const {
    return data_ / "Towers" / "XII" / tower;
  }
  void WriteFile(const std::string& relative, const std::string& text,
                 const std::string& tower = "Test") const {
    const auto path = TowerFolder(tower) / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  void WriteTable(std::int32_t count, std::int32_t version, const std::vector<double>& values,
                  const std::string& tower = "Test") const {
    std::filesystem::create_directories(TowerFolder(tower));
    WriteControlTable(TowerFolder(tower) / "control.cld", count, version, values);
  }

  std::filesystem::path data_;
};

}  // namespace clangor::testing
