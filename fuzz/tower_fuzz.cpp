// A tower folder made from the input, loaded, and each of its bells read:
// the input's parts, split at zero bytes, are tower.txt, control.txt, the
// sound set's file and control.cld.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "fuzz/fuzz_input.h"
#include "shell/settings_store.h"
#include "tower/bell.h"
#include "tower/tower.h"

namespace {

const std::filesystem::path& TowerFolder() {
  static const std::filesystem::path folder = [] {
    const auto root = std::filesystem::temp_directory_path() / ("clangor_fuzz_tower_" + std::to_string(::getpid()));
    setenv("CLANGOR_COMMON_APPDATA", root.c_str(), 1);
    setenv("CLANGOR_REGISTRY_DIR", (root / "registry").c_str(), 1);
    const auto tower = root / "Orvanta" / "Clangor" / "Towers" / "XII" / "Fuzz";
    std::filesystem::create_directories(tower / "sounds");
    return tower;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = clangor::fuzz::Text(data, size);
  const char* files[] = {"tower.txt", "control.txt", "sounds/Set.txt", "control.cld"};
  std::size_t start = 0;
  for (std::size_t f = 0; f < std::size(files); ++f) {
    const std::size_t end = f + 1 < std::size(files) ? text.find('\0', start) : std::string::npos;
    const std::string part = start <= text.size() ? text.substr(start, end == std::string::npos ? end : end - start) : "";
    std::ofstream(TowerFolder() / files[f], std::ios::binary | std::ios::trunc) << part;
    start = end == std::string::npos ? text.size() + 1 : end + 1;
  }
  clangor::SettingsStore settings;
  clangor::Tower tower("Fuzz", settings);
  for (int i = 0; i < tower.bellCount(); ++i) {
    clangor::Bell bell(i, false);
    bell.load(tower);
  }
  return 0;
}
