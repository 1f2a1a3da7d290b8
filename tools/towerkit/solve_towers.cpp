#include "tools/towerkit/solve_towers.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <utility>

#include "tools/towerkit/build_tower.h"

namespace clangor::towerkit {

namespace {

namespace fs = std::filesystem;

void PrintReport(const std::string& name, const SolveReport& report, double seconds) {
  std::printf("towerkit: %s: %d swing times solved in %.1f s; worst time error %.2g s, worst arrival error %.2g m/s\n",
              name.c_str(), report.swingsSolved, seconds, report.worstTimeError, report.worstArrivalError);
  // Where the bells cannot make the time, or make it only by arriving at
  // the next blow faster or slower than the next swing starts: how many
  // swings, and for the heaviest bell by number in play and speeds.
  // In detail for the heaviest bell; the lighter ones are counted.
  int heaviest = 0;
  int beyond = 0, uneven = 0;
  for (const Shortfall& s : report.shortfalls) {
    heaviest = std::max(heaviest, s.bell);
    (s.timeMet ? uneven : beyond) += 1;
  }
  std::printf("towerkit: %s: %d swings beyond the bells' reach, %d on time only with an uneven arrival\n",
              name.c_str(), beyond, uneven);
  for (const bool timeMet : {false, true}) {
    std::map<std::pair<int, int>, std::tuple<int, int, int>> gaps;
    for (const Shortfall& s : report.shortfalls) {
      if (s.timeMet != timeMet || s.bell != heaviest) continue;
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

// Solves one tower in a process of its own, so that the towers are solved
// side by side on the machine's cores (a bell's swing step shares the
// process-wide ringing state, so one process solves one tower). Each child
// prints its report whole when it is done.
void SolveSideBySide(const std::vector<TowerDefinition>& towers, const fs::path& data, const fs::path& registry) {
  const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
  std::vector<pid_t> running;
  bool failed = false;
  const auto reap = [&] {
    int status = 0;
    const pid_t pid = wait(&status);
    if (pid < 0) return;
    running.erase(std::remove(running.begin(), running.end(), pid), running.end());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) failed = true;
  };
  // The largest towers first: the small ones then fill the cores as the
  // large ones finish, and the last table is done soonest.
  std::vector<std::size_t> order(towers.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return towers[a].bells.size() > towers[b].bells.size(); });
  for (const std::size_t i : order) {
    while (running.size() >= cores) reap();
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("cannot start a process to solve a tower");
    if (pid == 0) {
      int code = 0;
      try {
        setenv("CLANGOR_REGISTRY_DIR", (registry / std::to_string(i)).c_str(), 1);
        const auto began = std::chrono::steady_clock::now();
        const SolveReport report = SolveTower(towers[i], data);
        PrintReport(towers[i].name, report,
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
      } catch (const std::exception& e) {
        std::fprintf(stderr, "clangor-towerkit: %s: %s\n", towers[i].name.c_str(), e.what());
        code = 1;
      }
      std::fflush(stdout);
      std::_Exit(code);
    }
    running.push_back(pid);
  }
  while (!running.empty()) reap();
  if (failed) throw std::runtime_error("a tower's control table could not be solved");
}

}  // namespace

std::vector<TowerDefinition> ReadTowerDefinitions(const fs::path& source) {
  std::vector<fs::path> folders;
  for (const auto& entry : fs::directory_iterator(source / "towers")) {
    if (entry.is_directory()) folders.push_back(entry.path());
  }
  std::sort(folders.begin(), folders.end());
  std::vector<TowerDefinition> towers;
  for (const fs::path& folder : folders) {
    towers.push_back(ReadTowerDefinition((folder / "tower.def").string(), folder.filename().string()));
  }
  return towers;
}

void SolveTowers(const std::vector<TowerDefinition>& towers, const fs::path& data, const fs::path& registry) {
  for (const TowerDefinition& tower : towers) WriteTowerFiles(tower, data);
  const auto began = std::chrono::steady_clock::now();
  SolveSideBySide(towers, data, registry);
  std::printf("towerkit: every control table solved in %.1f s\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
}

}  // namespace clangor::towerkit
