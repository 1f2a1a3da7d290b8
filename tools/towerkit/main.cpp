// clangor-towerkit: makes the simulator's data folder.
//
//   clangor-towerkit <source data folder> <common application data folder> [<tables folder>]
//
// reads the tower definitions, the default library and the help pages from
// the source (the repository's data/) and writes "Orvanta/Clangor/" under the
// second folder: every tower with its solved control table, pictures and
// recordings, the program's pictures and sounds, the library and the help.
// With a tables folder (made by clangor-towerkit-tables from the same
// definitions) the control tables are taken from it instead of being solved
// again.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "tools/towerkit/build_tower.h"
#include "tools/towerkit/data_files.h"
#include "tools/towerkit/kit_clock.h"
#include "tools/towerkit/pictures/pictures.h"
#include "tools/towerkit/program_sounds.h"
#include "tools/towerkit/solve_towers.h"

namespace {

namespace fs = std::filesystem;
using namespace clangor::towerkit;

// Each tower's table from a folder that clangor-towerkit-tables solved.
void CopyTables(const std::vector<TowerDefinition>& towers, const fs::path& tables, const fs::path& data) {
  for (const TowerDefinition& tower : towers) {
    WriteTowerFiles(tower, data);
    const fs::path from = TowerFolder(tables / "Orvanta" / "Clangor", tower.name) / "control.cld";
    if (!fs::exists(from)) throw std::runtime_error("no solved table " + from.string());
    fs::copy_file(from, TowerFolder(data, tower.name) / "control.cld", fs::copy_options::overwrite_existing);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: clangor-towerkit <source data folder> <common application data folder> [<tables folder>]\n");
    return 2;
  }
  try {
    const KitClock clock;
    const fs::path source = fs::absolute(argv[1]);
    const fs::path root = fs::absolute(argv[2]);
    const fs::path data = root / "Orvanta" / "Clangor";
    // The tower loader finds the data folder through the common application
    // data folder; its settings go to a registry of the kit's own, thrown
    // away afterwards.
    const fs::path registry = fs::temp_directory_path() / ("clangor-towerkit-" + std::to_string(getpid()));
    setenv("CLANGOR_COMMON_APPDATA", root.c_str(), 1);
    setenv("CLANGOR_REGISTRY_DIR", registry.c_str(), 1);

    const std::vector<TowerDefinition> towers = ReadTowerDefinitions(source);
    if (argc > 3) {
      CopyTables(towers, fs::absolute(argv[3]), data);
    } else {
      SolveTowers(towers, data, registry);
    }
    {
      const KitClock drawing;
      PictureSession pictures(argc, argv);
      for (const TowerDefinition& tower : towers) {
        WriteRecordings(tower, data);
        DrawTowerPictures(tower, data);
      }
      DrawProgramPictures(data / "Program Stuff");
      drawing.Print("pictures and recordings made");
    }
    WriteProgramSounds(data / "Program Stuff");
    CopyLibraryAndHelp(source, data);
    fs::remove_all(registry);
    std::printf("towerkit: data folder written to %s\n", data.c_str());
    clock.Print("data folder made");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "clangor-towerkit: %s\n", e.what());
    return 1;
  }
  return 0;
}
