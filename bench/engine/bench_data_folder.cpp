#include "bench/engine/bench_data_folder.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace clangor::bench {

namespace fs = std::filesystem;

BenchDataFolder::BenchDataFolder(const char* argument)
    : data_(argument ? fs::path(argument) : fs::path(CLANGOR_BUILD_SHARE) / "Orvanta" / "Clangor"),
      scratch_(fs::temp_directory_path() / ("clangor_bench_" + std::to_string(::getpid()))) {
  std::error_code error;
  data_ = fs::weakly_canonical(data_, error);
  if (!fs::is_directory(data_ / "Towers")) {
    std::printf("no Towers folder in the data folder %s (build the target clangor_data)\n", data_.c_str());
    return;
  }
  fs::create_directories(scratch_);
  setenv("CLANGOR_REGISTRY_DIR", (scratch_ / "registry").c_str(), 1);
  fs::path common = data_.parent_path().parent_path();
  if (data_.filename() != "Clangor" || data_.parent_path().filename() != "Orvanta") {
    common = scratch_ / "data";
    fs::create_directories(common / "Orvanta");
    fs::create_directory_symlink(data_, common / "Orvanta" / "Clangor");
  }
  setenv("CLANGOR_COMMON_APPDATA", common.c_str(), 1);
  usable_ = true;
}

BenchDataFolder::~BenchDataFolder() {
  std::error_code ignored;
  fs::remove_all(scratch_, ignored);
}

}  // namespace clangor::bench
