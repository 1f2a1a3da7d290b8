// Engine speed: how many times faster than real time the whole engine rings
// twelve bells with everything fed (the tower view drawing and sounding every
// blow, the ropes, moving-numbers and manual windows, the event queue drained
// as the main window drains it), on simulated time that moves one 0.1 s
// sub-step for each pass of the ringing loop. It rings a peal of Plain Bob
// Maximus (5000 changes and more) at 180 minutes.
//
// The tower is written into a temporary data folder: twelve bells of periods
// from 1.6 s (treble) to 2.6 s (tenor), each swing carried to just short of
// the balance by its control row (a steady table, not a solved one: the
// figure is the engine's speed, not its striking).
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

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

constexpr int Bells = 12;
constexpr long PealRows = 5000;
const int PictureAngles[] = {-18500, -17000, -9000, 0, 9000, 17000, 18500};

double Period(int bell) { return 1.6 + bell / 11.0; }

double SpeedToTurnAt(double period, double turnDegrees) {
  const double length = period * period * 0.24849;
  const double strike = 15000 / 100.0 * std::numbers::pi / 180.0;
  const double turn = turnDegrees * std::numbers::pi / 180.0;
  return std::sqrt(2 * 9.81 * length * (std::cos(strike) - std::cos(turn)));
}

void WriteTower(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "tower.txt") << "[Tower]\nRAM=32\nPealMins=180\n";
  std::string control = "[Base Image]\nWidth=800\nHeight=600\n\n";
  for (int b = 0; b < Bells; ++b) {
    control += "[" + std::to_string(b + 1) + "]\nPeriod=" + std::to_string(Period(b)) +
               "\nHandStrike=15000\nBackStrike=-15000\nMaxPull=90\nImageCount=7\n";
    for (int k = 0; k < 7; ++k) control += "p" + std::to_string(k) + "=" + std::to_string(PictureAngles[k]) + "\n";
    control += "ACWiseSeqCount=7\nACWiseSeq=0-6\nCWiseSeqCount=7\nCWiseSeq=6-0\n";
  }
  std::ofstream(folder / "control.txt") << control;
  std::vector<double> values(static_cast<std::size_t>(Bells) * Bells * 5460, 0.0);
  for (int b = 0; b < Bells; ++b) {
    const double speed = SpeedToTurnAt(Period(b), 178.5);
    const std::size_t first = static_cast<std::size_t>(Bells) * b * 5460;
    for (std::size_t row = first; row < first + static_cast<std::size_t>(Bells) * 5460; row += 60) {
      for (int i = 0; i <= 51; i += 3) values[row + i] = speed;
      values[row + 55] = 2.0;
    }
  }
  std::ofstream table(folder / "control.cld", std::ios::binary);
  const std::int32_t header[2] = {Bells, 1};
  table.write(reinterpret_cast<const char*>(header), sizeof header);
  table.write(reinterpret_cast<const char*>(values.data()), static_cast<std::streamsize>(values.size() * sizeof(double)));
}

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
  WriteTower(root / "Orvanta" / "Clangor" / "Towers" / "XII" / "Bench");

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
