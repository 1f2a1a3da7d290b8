// A tower folder written by the test in a temporary data folder, with the
// registry hives of the settings store beside it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <cstdlib>

#include "shell/settings_store.h"

namespace clangor::testing {

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
    root_ = std::filesystem::temp_directory_path() /
            (std::string("clangor_tower_") + info->test_suite_name() + "_" + info->name());
    data_ = root_ / "Orvanta" / "Clangor";
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(data_);
    setenv("CLANGOR_COMMON_APPDATA", root_.c_str(), 1);
    setenv("CLANGOR_REGISTRY_DIR", (root_ / "registry").c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

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

  std::filesystem::path root_;  // the common application-data folder
  std::filesystem::path data_;  // the data folder under it
};

}  // namespace clangor::testing
