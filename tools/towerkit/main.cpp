// clangor-towerkit: makes the simulator's data folder.
//
//   clangor-towerkit <source data folder> <common application data folder>
//
// reads the tower definitions, the default library and the help pages from
// the source (the repository's data/) and writes "Orvanta/Clangor/" under the
// second folder: every tower with its solved control table, pictures and
// recordings, the program's pictures and sounds, the library and the help.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <tuple>
#include <utility>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "tools/towerkit/build_tower.h"
#include "tools/towerkit/data_files.h"
#include "tools/towerkit/pictures/pictures.h"
#include "tools/towerkit/program_sounds.h"

namespace {

namespace fs = std::filesystem;
using namespace clangor::towerkit;

void PrintReport(const std::string& name, const SolveReport& report, double seconds) {
  std::printf("towerkit: %s: %d swing times solved in %.1f s; worst time error %.2g s, worst arrival error %.2g m/s\n",
              name.c_str(), report.swingsSolved, seconds, report.worstTimeError, report.worstArrivalError);
  // Where the bells cannot make the time, or make it only by arriving at
  // the next blow faster or slower than the next swing starts: for each bell
  // and number in play, how many swings and over which speeds.
  for (const bool timeMet : {false, true}) {
    std::map<std::pair<int, int>, std::tuple<int, int, int>> gaps;
    for (const Shortfall& s : report.shortfalls) {
      if (s.timeMet != timeMet) continue;
      auto [it, fresh] = gaps.try_emplace({s.bell, s.bellsInPlay}, 0, s.pealSpeed, s.pealSpeed);
      auto& [n, low, high] = it->second;
      ++n;
      low = std::min(low, s.pealSpeed);
      high = std::max(high, s.pealSpeed);
    }
    for (const auto& [key, value] : gaps) {
      std::printf("towerkit: %s: bell %d, %d in play: %d swings %s, at %d to %d min\n", name.c_str(), key.first,
                  key.second, std::get<0>(value),
                  timeMet ? "on time only with an uneven arrival" : "beyond its reach", std::get<1>(value),
                  std::get<2>(value));
    }
  }
  std::printf("towerkit: %s: Stand: worst time of the last blow %.2f ms from its place\n", name.c_str(),
              report.worstSettingError * 1000);
  for (const int bell : report.settingShortfalls) {
    std::printf("towerkit: %s: bell %d does not always come to rest on its stay when set\n", name.c_str(), bell);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: clangor-towerkit <source data folder> <common application data folder>\n");
    return 2;
  }
  try {
    const fs::path source = fs::absolute(argv[1]);
    const fs::path root = fs::absolute(argv[2]);
    const fs::path data = root / "Orvanta" / "Clangor";
    // The tower loader finds the data folder through the common application
    // data folder; its settings go to a registry of the kit's own, thrown
    // away afterwards.
    const fs::path registry = fs::temp_directory_path() / ("clangor-towerkit-" + std::to_string(getpid()));
    setenv("CLANGOR_COMMON_APPDATA", root.c_str(), 1);
    setenv("CLANGOR_REGISTRY_DIR", registry.c_str(), 1);
    PictureSession pictures(argc, argv);

    std::vector<fs::path> towers;
    for (const auto& entry : fs::directory_iterator(source / "towers")) {
      if (entry.is_directory()) towers.push_back(entry.path());
    }
    std::sort(towers.begin(), towers.end());
    for (const fs::path& folder : towers) {
      const TowerDefinition tower = ReadTowerDefinition((folder / "tower.def").string(), folder.filename().string());
      WriteTowerFiles(tower, data);
      const auto began = std::chrono::steady_clock::now();
      const SolveReport report = SolveTower(tower, data);
      PrintReport(tower.name, report,
                  std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
      WriteRecordings(tower, data);
      DrawTowerPictures(tower, data);
    }
    WriteProgramSounds(data / "Program Stuff");
    DrawProgramPictures(data / "Program Stuff");
    CopyLibraryAndHelp(source, data);
    fs::remove_all(registry);
    std::printf("towerkit: data folder written to %s\n", data.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "clangor-towerkit: %s\n", e.what());
    return 1;
  }
  return 0;
}
