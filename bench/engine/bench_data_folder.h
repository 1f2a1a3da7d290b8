// The data folder the engine benchmarks ring from: a made one (a towers and
// compendium folder named ".../Orvanta/Clangor"), by default the build's. The
// settings store finds it through the common application data folder; a folder
// under another name is reached through a link in a scratch folder, which also
// holds the run's own registry so that no setting outlives the run.
#pragma once

#include <filesystem>

namespace clangor::bench {

class BenchDataFolder {
 public:
  // `argument`: the data folder given on the command line, or null for the build's.
  explicit BenchDataFolder(const char* argument);
  ~BenchDataFolder();
  BenchDataFolder(const BenchDataFolder&) = delete;
  BenchDataFolder& operator=(const BenchDataFolder&) = delete;

  const std::filesystem::path& path() const { return data_; }
  // False (with the reason printed) when the folder holds no towers.
  bool usable() const { return usable_; }

 private:
  std::filesystem::path data_;
  std::filesystem::path scratch_;
  bool usable_ = false;
};

}  // namespace clangor::bench
