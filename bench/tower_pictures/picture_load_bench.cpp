// Prints what it costs to load every picture of the default tower as the
// window does: the base picture, the surprise and the small pictures, then
// each bell's mask and swing pictures read, colour-keyed, scaled to the
// bell's size and masked. Figures: the time, the bytes read from files and
// the memory the process holds afterwards beyond what it held before.
//   clangor-bench-tower-pictures [data folder] [tower name]
#include <QGuiApplication>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/engine/bench_data_folder.h"
#include "platform/sysinfo.h"
#include "shell/settings_store.h"
#include "tower/tower.h"
#include "views/tower_view.h"

namespace {

using Clock = std::chrono::steady_clock;

// One figure from a /proc/self file of "name: value" lines, or 0.
std::uint64_t ProcFigure(const char* file, const std::string& name) {
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, name.size(), name) == 0) return std::strtoull(line.c_str() + name.size(), nullptr, 10);
  }
  return 0;
}

std::uint64_t BytesRead() { return ProcFigure("/proc/self/io", "rchar:"); }
std::uint64_t ResidentBytes() { return ProcFigure("/proc/self/status", "VmRSS:") * 1024; }

double MiB(std::uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  clangor::bench::BenchDataFolder data(argc > 1 ? argv[1] : nullptr);
  if (!data.usable()) return 1;
  const std::string towerName = argc > 2 ? argv[2] : "Twelve Bells";
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);

  clangor::SettingsStore settings;
  clangor::Tower tower(towerName, settings);
  clangor::TowerView view(tower, settings, clangor::SettingsStore::AppDataPath(), clangor::TotalPhysicalMemory(), {},
                          {});
  const std::uint64_t residentBefore = ResidentBytes();
  const std::uint64_t readBefore = BytesRead();
  const auto start = Clock::now();
  if (view.openDisplay() != 0) {
    std::printf("the tower view could not be set up\n");
    return 1;
  }
  int pictures = 0;
  std::uint64_t pictureBytes = 0;
  for (int b = 0; b < view.bellCount(); ++b) {
    view.makeBellSurfaces(b);
    const int count = std::atoi(tower.bellProperty(b, "ImageCount").c_str());
    for (int k = 0; k < count; ++k, ++pictures) {
      view.loadBellPicture(b, k);
      pictureBytes += static_cast<std::uint64_t>(view.bellPicture(b, k).sizeInBytes());
    }
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const std::uint64_t read = BytesRead() - readBefore;
  const std::uint64_t resident = ResidentBytes() - residentBefore;

  std::printf("%s: %d bell pictures and the tower's own, loaded in %.3f s (memory scale %.3f)\n", towerName.c_str(),
              pictures, seconds, view.memoryScale());
  std::printf("bytes read: %.1f MiB\n", MiB(read));
  std::printf("memory held: %.1f MiB resident more than before (bell pictures alone %.1f MiB)\n", MiB(resident),
              MiB(pictureBytes));
  return 0;
}
