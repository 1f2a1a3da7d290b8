// Engine speed: how many times faster than real time the whole engine rings
// twelve bells with everything fed (the tower view drawing and sounding every
// blow, the ropes, moving-numbers and manual windows, the event queue drained
// as the main window drains it), on simulated time that moves one 0.1 s
// sub-step for each pass of the ringing loop. It rings a peal of Plain Bob
// Maximus (5000 changes and more) at 180 minutes.
//
// The tower is the benchmarks' steady tower, written into a temporary data
// folder (a steady table, not a solved one: the figure is the engine's speed,
// not its striking).
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/steady_tower/steady_tower.h"
#include "engine/engine_event_queue.h"
#include "engine/engine_views.h"
#include "engine/ringing_control.h"
#include "engine/ringing_state.h"
#include "engine/tower_window.h"
#include "platform/ticks.h"
#include "ringing/method.h"
#include "shell/settings_store.h"
#include "tower/tower.h"

namespace {

using namespace clangor;

constexpr int Bells = bench::SteadyTowerBells;
constexpr long PealRows = 5000;

// Every view the engine feeds, counting what it is given.
struct CountingViews final : EngineTowerView, EngineRopesView, EngineNumbersView, EngineManualView, EngineListener {
  void drawBell(int, int) override { ++draws; }
  void soundBlow(int, bool) override { ++sounds; }
  void noteStruck(int) override { ++ropes; }
  void advanceTo(double, int) override { ++numbers; }
  void update(const Bell&) override { ++manual; }
  std::atomic<long> draws{0}, sounds{0}, ropes{0}, numbers{0}, manual{0};
};

}  // namespace

int main() {
  const auto root = std::filesystem::temp_directory_path() / "clangor_bench_engine";
  std::filesystem::remove_all(root);
  setenv("CLANGOR_COMMON_APPDATA", root.c_str(), 1);
  setenv("CLANGOR_REGISTRY_DIR", (root / "registry").c_str(), 1);
  bench::WriteSteadyTower(root / "Orvanta" / "Clangor" / "Towers" / "XII" / "Bench");

  const Method maximus{12, "Plain Bob", "|12|&-1T-1T-1T-1T-1T-1T,|14|1234"};
  {
    SettingsStore settings;
    settings.SetInt(setting::ActionAtRounds, 0);  // ring on at rounds
    Tower tower("Bench", settings);
    SimulatedTickSource ticks(1000, 100);  // a 0.1 s sub-step for each 1 ms the loop sleeps
    EngineEventQueue queue;
    CountingViews views;
    RingingUiState state;
    EngineSetUp setUp{&tower, &ticks, &queue, &settings, nullptr,
                      EngineViews{&views, &views, &views, &views, &views}};
    TowerWindowPtr engine = TowerWindow::Open(setUp);
    while (engine->loading()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    RingingControl control(settings, ticks, state);
    control.SetEngine(engine.get());
    for (int b = 0; b < Bells; ++b) engine->SelectBell(b, 0, b + 1 < Bells);
    engine->PostManualSelect(11);  // the tenor is the own bell: the manual window is fed too
    while (engine->ownBell() != 11) std::this_thread::sleep_for(std::chrono::milliseconds(1));

    const auto began = std::chrono::steady_clock::now();
    const double clockAtStart = Ringing().clockReading;
    control.RingTouch(&maximus);
    long rows = 0;
    bool ended = false;
    bool standing = false;
    while (!ended) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));  // the main window's drain
      for (const EngineEvent& e : queue.Drain()) {
        if (e.code == event::RowRung && ++rows >= PealRows && !standing) {
          control.Stand();
          standing = true;
        }
        ended = ended || e.code == event::RingingEnded;
      }
    }
    const double real = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    const double simulated = Ringing().clockReading - clockAtStart;
    std::printf("engine: %d bells, %ld rows, %.0f simulated s (%.2f h) in %.3f real s\n", Bells, rows, simulated,
                simulated / 3600.0, real);
    std::printf("engine: %.0f times faster than real time\n", simulated / real);
    std::printf("engine: fed %ld drawings, %ld blows sounded, %ld rope notes, %ld moving-number steps, %ld manual updates\n",
                views.draws.load(), views.sounds.load(), views.ropes.load(), views.numbers.load(),
                views.manual.load());
    std::printf("engine: no sound here: clangor-bench-realtime measures the delay from a blow to its sound\n");
  }
  std::filesystem::remove_all(root);
  return 0;
}
