// Swing speed: how many simulated seconds of twelve swinging bells one real
// second computes, advancing every bell in sub-steps of 0.1 s as the ringing
// loop does, with the change generator ringing rounds.
//
// The tower is the benchmarks' steady tower, written into a temporary data
// folder.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/steady_tower/steady_tower.h"
#include "engine/ringing_clock.h"
#include "engine/ringing_state.h"
#include "ringing/change_generator.h"
#include "shell/settings_store.h"
#include "tower/bell.h"
#include "tower/tower.h"

namespace {

using namespace clangor;

constexpr int Bells = bench::SteadyTowerBells;

}  // namespace

int main() {
  const auto root = std::filesystem::temp_directory_path() / "clangor_bench_swing";
  std::filesystem::remove_all(root);
  setenv("CLANGOR_COMMON_APPDATA", root.c_str(), 1);
  setenv("CLANGOR_REGISTRY_DIR", (root / "registry").c_str(), 1);
  bench::WriteSteadyTower(root / "Orvanta" / "Clangor" / "Towers" / "XII" / "Bench");

  double simulated = 0;
  double real = 0;
  long blows = 0;
  {
    SettingsStore settings;
    Tower tower("Bench", settings);
    std::vector<std::unique_ptr<Bell>> bells;
    Ringing().Reset();
    Ringing().bellsInPlay = Bells;
    SetPealSpeed(180);
    ChangeGenerator rounds(Bells, nullptr, nullptr);
    Ringing().currentTouch = &rounds;
    for (int b = 0; b < Bells; ++b) {
      bells.push_back(std::make_unique<Bell>(b, false));
      bells.back()->load(tower);
      bells.back()->start(b);
      bells.back()->state().time = b * Ringing().blowInterval;
    }

    constexpr double Duration = 3600.0;  // one simulated hour
    const auto began = std::chrono::steady_clock::now();
    for (double t = 0.1; t <= Duration; t += 0.1) {
      for (auto& bell : bells) {
        if (bell->state().stood) continue;
        while (bell->state().time < t && !bell->state().stood) {
          if (bell->advanceTo(t) & Bell::Struck) ++blows;
        }
      }
    }
    real = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    simulated = Duration;
    int standing = 0;
    for (auto& bell : bells) standing += bell->state().stood ? 1 : 0;
    Ringing().currentTouch = nullptr;
    std::printf("swing: %d bells, %.0f simulated s in %.3f real s, %ld blows, %d stood\n", Bells, simulated,
                real, blows, standing);
  }
  std::printf("swing: %.0f simulated seconds per real second\n", simulated / real);
  std::filesystem::remove_all(root);
  return 0;
}
