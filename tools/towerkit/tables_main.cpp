// clangor-towerkit-tables: solves the towers' striking-control tables.
//
//   clangor-towerkit-tables <source data folder> <tables folder>
//
// writes each tower's files and its solved control.cld under
// "<tables folder>/Orvanta/Clangor/Towers/XII/", for clangor-towerkit to take.
// The build runs it only when a definition or the swing it solves on
// changes, so that drawing the pictures again does not solve again.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "tools/towerkit/kit_clock.h"
#include "tools/towerkit/solve_towers.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  using namespace clangor::towerkit;
  if (argc < 3) {
    std::fprintf(stderr, "usage: clangor-towerkit-tables <source data folder> <tables folder>\n");
    return 2;
  }
  try {
    const KitClock clock;
    const fs::path root = fs::absolute(argv[2]);
    const fs::path registry = fs::temp_directory_path() / ("clangor-towerkit-tables-" + std::to_string(getpid()));
    setenv("CLANGOR_COMMON_APPDATA", root.c_str(), 1);
    setenv("CLANGOR_REGISTRY_DIR", registry.c_str(), 1);
    SolveTowers(ReadTowerDefinitions(fs::absolute(argv[1])), root / "Orvanta" / "Clangor", registry);
    fs::remove_all(registry);
    clock.Print("control tables solved");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "clangor-towerkit-tables: %s\n", e.what());
    return 1;
  }
  return 0;
}
