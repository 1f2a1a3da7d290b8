// Prints what the moving numbers and the manual control window cost on the
// made data folder (the build's by default):
//  - the time to draw the moving-numbers strip of twelve bells mid-slide,
//    highlighted, at its default size and at a full screen width;
//  - the delay from a move of the mouse in the manual control window to the
//    bell's swing taking the pull on the engine's worker thread, with the
//    real engine ringing rounds on "Twelve Bells" on the real clock, beside
//    the length of one pass of the ringing loop.
//   clangor-bench-ringing-windows [data folder]
#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "bench/engine/bench_data_folder.h"
#include "engine/engine_event_queue.h"
#include "engine/ringing_state.h"
#include "engine/tower_window.h"
#include "platform/ticks.h"
#include "shell/settings_store.h"
#include "tower/bell.h"
#include "tower/tower.h"
#include "views/manual_control.h"
#include "views/numbers_window.h"
#include "views/picture_keys.h"

namespace {

using namespace clangor;
using Clock = std::chrono::steady_clock;

double UsBetween(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::micro>(b - a).count();
}

void StripFigures(const std::filesystem::path& data) {
  const QImage picture = LoadBitmap(QString::fromStdString((data / "Program Stuff/digits.bmp").string()));
  if (picture.isNull()) {
    std::printf("numbers: no digits picture in %s\n", data.c_str());
    return;
  }
  std::vector<QImage> digits;
  for (int i = 0; i < 19; ++i) digits.push_back(KeyedToAlpha(picture.copy(151 * i, 0, 150, 170), PictureKey));
  // 214365870E9T: every bell crossing, halfway across.
  NumbersFrame frame;
  frame.fromRow.fill(-1);
  frame.toRow.fill(-1);
  for (int i = 0; i < 12; ++i) {
    frame.fromRow[static_cast<std::size_t>(i)] = i;
    frame.toRow[static_cast<std::size_t>(i)] = i ^ 1;
  }
  frame.highlight = true;
  frame.fraction = 0.5;
  const NumbersSizing sizing = NumbersSizing::From(12, 150, 170);
  for (const int height : {32, 96, sizing.HeightFor(1920)}) {
    QImage window(sizing.WidthFor(height), height, QImage::Format_RGB32);
    const auto scaleStart = Clock::now();
    const std::vector<QImage> scaled = NumbersWindow::ScaledDigits(digits, QSize(window.width() / 12, height));
    const double scaling = UsBetween(scaleStart, Clock::now());
    for (const int style : {0, 2, 5}) {
      constexpr int Draws = 200;
      const auto start = Clock::now();
      for (int i = 0; i < Draws; ++i) {
        QPainter painter(&window);
        NumbersWindow::DrawStrip(painter, window.size(), frame, scaled, style, 12, 12);
      }
      std::printf("numbers: strip of twelve at %d x %d, style %d: %.1f us a drawing (digits scaled once, %.0f us)\n",
                  window.width(), height, style, UsBetween(start, Clock::now()) / Draws, scaling);
    }
  }
}

// The manual control as the engine sees it, noting when a pull is first
// seen after the mouse moved and when the swing has taken it.
class TimedManual final : public EngineManualView {
 public:
  explicit TimedManual(ManualControl& control) : control_(control) {}
  void setOwnBell(int bell) override { control_.setOwnBell(bell); }
  void setPulling(bool pulling) override { control_.setPulling(pulling); }
  double pullStrength(const Bell& record) override {
    const auto now = Clock::now();
    if (lastCall_ != Clock::time_point{}) passes_.push_back(UsBetween(lastCall_, now));
    lastCall_ = now;
    const double pull = control_.pullStrength(record);
    if (pull > 0 && armed && !pullSeen_) pullSeen_ = true;
    return pull;
  }
  void update(const Bell& record) override {
    control_.update(record);
    if (pullSeen_ && armed) {
      swungAt = Clock::now();
      armed = false;
      pullSeen_ = false;
    }
  }
  // Worker only, read after the engine has ended.
  const std::vector<double>& passes() const { return passes_; }

  std::atomic<bool> armed{false};
  std::atomic<Clock::time_point> swungAt{};

 private:
  ManualControl& control_;
  Clock::time_point lastCall_{};
  std::vector<double> passes_;
  bool pullSeen_ = false;
};

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

template <class Done>
bool WaitFor(Done done, int seconds = 20) {
  const auto until = Clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (Clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  return true;
}

void MouseToSwingFigures() {
  SettingsStore settings;
  settings.SetInt(setting::ActionAtRounds, 0);
  Tower tower("Twelve Bells", settings);
  SteadyTickSource ticks;
  EngineEventQueue queue;
  std::atomic<int> bellsTold{0};  // the engine told the window of its own bell
  ManualControl control({[&](int) { ++bellsTold; }, {}});
  TimedManual timed(control);
  EngineSetUp setUp{&tower, &ticks, &queue, &settings, nullptr, EngineViews{nullptr, nullptr, nullptr, &timed, nullptr}};
  TowerWindowPtr engine = TowerWindow::Open(setUp);
  if (!WaitFor([&] { return !engine->loading(); }, 120)) return;
  control.SetEngine(engine.get());
  control.SetSize(100, 400);
  control.SetPointer(90, 0);  // in the right two fifths, above the marker: no pull
  const int bells = tower.bellCount();
  for (int b = 0; b < bells; ++b) engine->SelectBell(b, 0, b + 1 < bells);
  engine->PostManualSelect(0);
  WaitFor([&] { return engine->ownBell() == 0; });
  engine->Start();
  WaitFor([&] { return engine->ringing() && Ringing().bellsSwinging > 0; }, 60);
  std::this_thread::sleep_for(std::chrono::seconds(3));

  std::vector<double> delays;
  int missed = 0;  // the pull came too late to count in the zone
  constexpr int Samples = 40;
  for (int i = 0; i < Samples; ++i) {
    // Take hold of the rope as the program rings the bell: the own bell
    // takes up its swing from there.
    engine->PostManualPull(true);
    if (!WaitFor([&] { return control.pulling(); })) break;
    // The moment the pull counts: the bell on its handstroke side, up in its swing.
    if (!WaitFor([&] { return control.angle() >= 12000 && control.angle() <= 17000; })) {
      std::printf("manual: the own bell no longer swings into its pulling zone (at %d)\n", control.angle());
      break;
    }
    timed.armed = true;
    const auto moved = Clock::now();
    // A light pull, a little below the marker, so that the bell swings on
    // much as it did (a full pull each time would soon throw it over).
    control.SetPointer(90, control.markerY() + 20);
    if (!WaitFor([&] { return !timed.armed; }, 2)) {
      ++missed;
      timed.armed = false;
      control.SetPointer(90, 0);
      continue;
    }
    control.SetPointer(90, 0);
    delays.push_back(UsBetween(moved, timed.swungAt.load()));
    // Let go and hand the bell back to the program, to ring on in its place.
    engine->PostManualPull(false);
    WaitFor([&] { return !control.pulling(); });
    const int told = bellsTold;
    engine->PostManualSelect(0);
    WaitFor([&] { return bellsTold > told; });
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  }
  engine->StandOrStop(true);
  WaitFor([&] { return !engine->ringing(); });
  engine.reset();
  const auto& passes = timed.passes();
  std::printf("manual: ringing-loop pass on the real clock: median %.0f us, 99th percentile %.0f us (%zu passes)\n",
              Percentile(passes, 0.5), Percentile(passes, 0.99), passes.size());
  std::printf("manual: mouse move to the swing taking the pull: median %.0f us, 90th percentile %.0f us, worst %.0f us "
              "(%zu of %d moves; %d missed)\n",
              Percentile(delays, 0.5), Percentile(delays, 0.9), Percentile(delays, 1.0), delays.size(), Samples, missed);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  bench::BenchDataFolder data(argc > 1 ? argv[1] : nullptr);
  if (!data.usable()) return 1;
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  StripFigures(data.path());
  MouseToSwingFigures();
  return 0;
}
