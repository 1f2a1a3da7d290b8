// Prints what drawing the ropes window costs on the default tower: twelve
// ropes ringing at 1920 x 400, with the own rope, tinted columns, a flash
// and the hit bar, drawn whole and copied to a screen image as a paint
// does; and one blow's update as the engine's worker makes it.
//   clangor-bench-ropes [data folder]
#include <QApplication>
#include <QPainter>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench/engine/bench_data_folder.h"
#include "platform/ticks.h"
#include "shell/settings_store.h"
#include "tower/tower.h"
#include "views/ropes_content.h"
#include "views/tower_view.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Twelve bells ringing rounds, each at its own point of the swing.
clangor::RingingSnapshot Ringing(int bells, double wheelRadius, int frame) {
  clangor::RingingSnapshot s;
  for (int b = 0; b < bells; ++b) {
    clangor::RopeBellState bell;
    bell.exists = bell.inPlay = bell.up = true;
    bell.id = b;
    bell.angle = -18000 + (b * 3000 + frame * 97) % 36000;
    bell.time = 100.0 + frame;  // from the second frame the flash is due
    bell.wheelRadius = wheelRadius;
    s.bells.push_back(bell);
    s.row.push_back(b);
  }
  s.rowBells = bells;
  s.rowBlows = 3;
  s.blowInterval = 0.2;
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  clangor::bench::BenchDataFolder data(argc > 1 ? argv[1] : nullptr);
  if (!data.usable()) return 1;
  int qtArgc = 1;
  QApplication app(qtArgc, argv);

  clangor::SettingsStore settings;
  clangor::Tower tower("Twelve Bells", settings);
  clangor::TowerView view(tower, settings, clangor::SettingsStore::AppDataPath(), 0, {}, {});
  if (view.openDisplay() != 0) {
    std::printf("the tower view could not be set up\n");
    return 1;
  }
  const int bells = tower.bellCount();
  const double radius = std::atof(tower.bellProperty(bells - 1, "WheelRadius").c_str());
  clangor::SimulatedTickSource ticks(1000);
  clangor::RopesContent ropes(ticks, bells);
  ropes.SetPictures({view.sally(), view.ownSally(), view.downSally()});
  clangor::RopesSettings s;
  s.mode = 3;  // flashes and tinted columns
  ropes.SetSettings(s);
  ropes.SetupScale(radius);
  ropes.resize(1920, 400);
  ropes.Show(true);
  ropes.SetOwnRope(5);
  ropes.UpdateOnBlow(5, true, Ringing(bells, radius, 0));  // the sixth's blow: the fifth's rope to flash
  ropes.SetMouseX(300);

  constexpr int Frames = 200;
  QImage screen(1920, 400, QImage::Format_RGB32);
  const auto drawStart = Clock::now();
  for (int i = 0; i < Frames; ++i) {
    ropes.UpdateOnBlow(-1, true, Ringing(bells, radius, i));
    QPainter p(&screen);
    p.drawImage(0, 0, ropes.Frame());
  }
  const double perFrame = MsSince(drawStart) / Frames;
  const clangor::RopesightScores scores = ropes.Scores();
  std::printf("ropes window, %d ropes at 1920 x 400 (own rope, tints, flash, hit bar %d/%d): %.3f ms a frame\n", bells,
              scores.Total() - scores.upMisses - scores.placesDownMisses, scores.Total(), perFrame);
  const auto blowStart = Clock::now();
  for (int i = 0; i < Frames; ++i) ropes.UpdateOnBlow(i % bells, false, Ringing(bells, radius, i));
  std::printf("one blow's update from the worker (read, score, draw): %.3f ms\n", MsSince(blowStart) / Frames);
  return 0;
}
