// Prints what drawing costs on the default tower: composing a whole frame at
// 1920 x 1080, drawing one bell and presenting its rectangle, and the time
// from starting the program to the tower being ready (pictures and sounds
// loaded). Runs offscreen with SDL's dummy sound driver unless told otherwise.
//   clangor-bench-window [data folder]
#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench/engine/bench_data_folder.h"
#include "shell/main_window.h"
#include "shell/settings_store.h"
#include "tower/tower.h"
#include "views/tower_view.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Composes frames and draws bells on a tower view loaded by hand (no worker).
void FrameFigures() {
  clangor::SettingsStore settings;
  clangor::Tower tower("Twelve Bells", settings);
  clangor::TowerView view(tower, settings, clangor::SettingsStore::AppDataPath(), 0, {}, {});
  const auto loadStart = Clock::now();
  if (view.openDisplay() != 0) {
    std::printf("the tower view could not be set up\n");
    return;
  }
  int pictures = 0;
  for (int b = 0; b < view.bellCount(); ++b) {
    view.makeBellSurfaces(b);
    const int count = std::atoi(tower.bellProperty(b, "ImageCount").c_str());
    for (int k = 0; k < count; ++k, ++pictures) view.loadBellPicture(b, k);
  }
  std::printf("pictures: %d loaded in %.1f ms (memory scale %.3f)\n", pictures, MsSince(loadStart), view.memoryScale());

  view.setClientSize(1920, 1080);
  const auto layoutStart = Clock::now();
  view.redraw();  // lays out: scales the base picture to the window
  std::printf("first frame at 1920 x 1080 (with the layout): %.2f ms\n", MsSince(layoutStart));
  constexpr int Frames = 50;
  const auto frameStart = Clock::now();
  for (int i = 0; i < Frames; ++i) view.redraw();
  std::printf("full frame compose at 1920 x 1080, twelve bells: %.3f ms\n", MsSince(frameStart) / Frames);

  // One bell at each of its pictures in turn, its rectangle then copied to a
  // screen image as the window's paint does. The first round scales each
  // picture to its drawn size once; the rounds after only copy.
  QImage screen(1920, 1080, QImage::Format_RGB32);
  const int swingPictures = std::atoi(tower.bellProperty(0, "ImageCount").c_str());
  const auto drawRound = [&] {
    for (int picture = 0; picture < swingPictures; ++picture)
      for (int bell = 0; bell < view.bellCount(); ++bell) {
        view.drawBell(bell, picture);
        const clangor::ViewRect& r = view.layout().bells[static_cast<std::size_t>(bell)];
        QPainter p(&screen);
        p.drawImage(QRect(r.x, r.y, r.w, r.h), view.composition(), QRect(r.x, r.y, r.w, r.h));
      }
  };
  const int perRound = swingPictures * view.bellCount();
  const auto firstStart = Clock::now();
  drawRound();
  std::printf("one bell draw + present, first time at each picture: %.1f us\n", MsSince(firstStart) * 1000.0 / perRound);
  constexpr int Rounds = 5;
  const auto drawStart = Clock::now();
  for (int i = 0; i < Rounds; ++i) drawRound();
  std::printf("one bell draw + present at 1920 x 1080: %.1f us\n", MsSince(drawStart) * 1000.0 / (Rounds * perRound));
}

// The program from its start to the tower being ready, on the real clock.
void StartUpFigure() {
  const auto start = Clock::now();
  clangor::MainWindow window;
  window.resize(1280, 720);
  window.show();
  while (!window.towerReady()) QApplication::processEvents(QEventLoop::AllEvents, 5);
  std::printf("start to ready (Twelve Bells, pictures and sounds): %.0f ms\n", MsSince(start));
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  clangor::bench::BenchDataFolder data(argc > 1 ? argv[1] : nullptr);
  if (!data.usable()) return 1;
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  FrameFigures();
  StartUpFigure();
  return 0;
}
