// Ringing on the real clock: twelve bells of Twelve Bells ring Plain Bob
// Maximus on at rounds, first at normal speed (clock step 0), then at the top
// clock speed (Shift with the faster key: the MaxTimeFactor step), with a
// tower view that sounds every blow through the tower's sound on the sound
// device (SDL's dummy driver when there is no card; silent when nothing opens).
// It reports whether the overload guard had to lower the clock factor, the
// ringing time rung per real second, and for each blow
//  - how late the ringing loop sounded it: the real time of the soundBlow call
//    less the real time the blow's instant on the ringing clock stands for
//    (at normal speed, the delay the ringer hears from the engine). A bell is
//    stepped 0.2 degrees at a time until it reaches the clock's reading, so a
//    blow may fall in a step that ends past the reading and be sounded up to
//    one step (a few ms of ringing time) ahead of its instant: negative;
//  - the time from soundBlow to the render that mixes its first sample, to
//    which one device period is added for the card to play it.
//
//   clangor-bench-realtime [top-speed seconds (20)] [normal-speed seconds (10)] [data folder]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "bench/engine/bench_data_folder.h"
#include "engine/engine_event_queue.h"
#include "engine/engine_views.h"
#include "engine/ringing_clock.h"
#include "engine/ringing_control.h"
#include "engine/ringing_state.h"
#include "engine/tower_window.h"
#include "platform/ticks.h"
#include "ringing/engine_event.h"
#include "shell/settings_store.h"
#include "sound/sdl_sound_device.h"
#include "sound/tower_sound.h"
#include "tools/ring/library_lookup.h"
#include "tower/bell.h"
#include "tower/tower.h"

namespace {

using namespace clangor;
using Clock = std::chrono::steady_clock;

constexpr const char* TowerName = "Twelve Bells";
constexpr int Bells = 12;
constexpr double TickWrap = 4294967296.0;
constexpr auto PollEvery = std::chrono::microseconds(200);

std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// How late, in real ms, a blow struck at `strikeTime` on the ringing clock is
// sounded at `nowNs`. The clock's last reading was taken at a whole tick of
// the real tick source (steady-clock milliseconds, wrapping at 2^32); the
// blow's instant lies back from it by its distance on the clock over the
// clock factor.
double LateMs(double strikeTime, std::int64_t nowNs) {
  RingingState& r = Ringing();
  double readAt;
  double reading;
  double wraps;
  {
    std::lock_guard lock(r.clockLock);
    readAt = r.lastRealTime;
    reading = r.clockReading;
    wraps = r.tickWraps;
  }
  const double struckAt = readAt - (reading - strikeTime) / r.clockFactor;
  const double now = (std::fmod(static_cast<double>(nowNs) / 1e6, TickWrap) + wraps * TickWrap) / 1000.0;
  return (now - struckAt) * 1000.0;
}

struct BlowRecord {
  int clockStep;
  double lateMs;
  std::int64_t soundedNs;
  std::uint64_t framesAfter;  // frames the mixer had rendered just after the blow was sounded
};

// The tower view and main window's listener: sounds each blow and keeps its
// figures. Worker thread; the records are read once the ringing has ended.
class SoundingView final : public EngineTowerView, public EngineListener {
 public:
  explicit SoundingView(TowerSound& sound) : sound_(sound) { blows.reserve(1 << 20); }

  void loadBellSounds(int bell, std::span<Bell> bells) override {
    sound_.setBells(bells);
    sound_.loadBellSounds(bell);
  }
  void soundBlow(int bell, bool forced) override {
    soundedNs_ = NowNs();
    sound_.soundBlow(bell, forced);
    framesAfter_ = sound_.mixer().framesRendered();
  }
  // Called straight after soundBlow for the same blow.
  void bellStruck(int, double time) override {
    if (blows.size() < blows.capacity())
      blows.push_back({Ringing().clockStep, LateMs(time, soundedNs_), soundedNs_, framesAfter_});
  }

  std::vector<BlowRecord> blows;

 private:
  TowerSound& sound_;
  std::int64_t soundedNs_ = 0;
  std::uint64_t framesAfter_ = 0;
};

// Watches from its own thread, every 200 us: each render of the mixer (when
// its count of frames moved on) and every fall of the clock factor, which
// only the overload guard makes while the clock step stays put.
class Monitor {
 public:
  explicit Monitor(const Mixer& mixer) : mixer_(mixer), thread_([this] { Watch(); }) {}
  ~Monitor() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

  struct Render {
    std::uint64_t frames;
    std::int64_t seenNs;
  };
  std::vector<Render> renders;  // read after Stop
  std::atomic<int> guardFalls{0};
  std::atomic<double> lowestFactorAtTop{1e9};

 private:
  void Watch() {
    RingingState& r = Ringing();
    double lastFactor = r.clockFactor;
    std::uint64_t lastFrames = mixer_.framesRendered();
    while (!stop_) {
      const std::uint64_t frames = mixer_.framesRendered();
      if (frames != lastFrames) renders.push_back({lastFrames = frames, NowNs()});
      const double factor = r.clockFactor;
      const double top = r.maxClockFactor;
      if (factor < lastFactor && top == lastTop_) ++guardFalls;
      if (top != lastTop_) reachedTop_ = false;
      if (top > 1.0 && (factor == top || reachedTop_)) {
        reachedTop_ = true;
        lowestFactorAtTop = std::min(lowestFactorAtTop.load(), factor);
      }
      lastFactor = factor;
      lastTop_ = top;
      std::this_thread::sleep_for(PollEvery);
    }
  }

  const Mixer& mixer_;
  std::atomic<bool> stop_{false};
  double lastTop_ = 1.0;
  bool reachedTop_ = false;
  std::thread thread_;
};

void PrintSpread(const char* what, std::vector<double> ms) {
  if (ms.empty()) {
    std::printf("  %-40s no blows\n", what);
    return;
  }
  std::sort(ms.begin(), ms.end());
  std::printf("  %-40s min %6.2f  median %6.2f  p99 %6.2f  worst %6.2f ms\n", what, ms.front(), ms[ms.size() / 2],
              ms[ms.size() * 99 / 100], ms.back());
}

// For the blows rung at `step`: how late the loop sounded them, and from the
// sounding to the first render seen after it, plus one period.
void PrintLatencies(const SoundingView& view, const Monitor& monitor, int step, double periodMs) {
  std::vector<double> late;
  std::vector<double> toRender;
  std::vector<double> total;
  for (const BlowRecord& b : view.blows) {
    if (b.clockStep != step) continue;
    late.push_back(b.lateMs);
    const auto next = std::upper_bound(monitor.renders.begin(), monitor.renders.end(), b.framesAfter,
                                       [](std::uint64_t f, const Monitor::Render& r) { return f < r.frames; });
    if (periodMs <= 0 || next == monitor.renders.end()) continue;
    toRender.push_back((next->seenNs - b.soundedNs) / 1e6 + periodMs);
    total.push_back(b.lateMs + toRender.back());
  }
  std::printf("  %zu blows (negative: sounded ahead of the blow's instant)\n", late.size());
  PrintSpread("loop late (soundBlow - blow's instant)", late);
  if (periodMs <= 0) return;
  PrintSpread("soundBlow to mixing render + one period", toRender);
  PrintSpread("blow's instant to its sound (the sum)", total);
}

// Rings on for `seconds` of real time, draining the engine's events as the
// main window does; returns the ringing time rung.
double RingFor(double seconds, EngineEventQueue& queue, long& rows) {
  const double clockAtStart = Ringing().clockReading;
  const auto until = Clock::now() + std::chrono::duration<double>(seconds);
  while (Clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    for (const EngineEvent& e : queue.Drain()) rows += e.code == event::RowRung ? 1 : 0;
  }
  return Ringing().clockReading - clockAtStart;
}

bool WaitForEnd(EngineEventQueue& queue) {
  const auto until = Clock::now() + std::chrono::seconds(60);
  while (Clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    for (const EngineEvent& e : queue.Drain())
      if (e.code == event::RingingEnded) return true;
  }
  return false;
}

// The sound card, else SDL's dummy driver, which pulls periods at the same pace.
bool OpenSound(TowerSound& sound) {
  if (sound.openSound() == 0 && sound.isOpen()) return true;
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  return sound.openSound() == 0 && sound.isOpen();
}

}  // namespace

int main(int argc, char** argv) {
  const double topSeconds = argc > 1 ? std::atof(argv[1]) : 20.0;
  const double normalSeconds = argc > 2 ? std::atof(argv[2]) : 10.0;
  const clangor::bench::BenchDataFolder data(argc > 3 ? argv[3] : nullptr);
  if (!data.usable()) return 1;
  const ring::LibraryLookup library(data.path());
  const Method* method = library.FindMethod("Plain Bob", Bells);
  SettingsStore settings;
  settings.SetInt(setting::ActionAtRounds, 0);  // ring on at rounds
  settings.SetInt(setting::KeepGoingCount, 0);
  Tower tower(TowerName, settings);
  if (method == nullptr || tower.bellCount() < Bells) {
    std::printf("realtime: no %d-bell tower \"%s\" or no Plain Bob for it in %s\n", Bells, TowerName,
                data.path().c_str());
    return 1;
  }

  TowerSound sound(settings, tower, OpenSdlSoundDevice);
  const bool sounding = OpenSound(sound);
  const double periodMs = sounding ? sound.device()->framesPerPeriod() * 1000.0 / sound.device()->sampleRate() : 0;

  SteadyTickSource ticks;
  EngineEventQueue queue;
  SoundingView view(sound);
  RingingUiState state;
  EngineSetUp setUp{&tower, &ticks, &queue, &settings, nullptr, EngineViews{&view, nullptr, nullptr, nullptr, &view}};
  TowerWindowPtr engine = TowerWindow::Open(setUp);
  while (engine->loading()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  RingingControl control(settings, ticks, state);
  control.SetEngine(engine.get());
  control.SetTower(&tower);
  const int count = engine->bellCount();
  for (int b = count - Bells; b < count; ++b) engine->SelectBell(b, 0, b + 1 < count);

  Monitor monitor(sound.mixer());
  long rows = 0;
  control.RingTouch(method);
  const double normalRung = RingFor(normalSeconds, queue, rows);
  const int normalStep = Ringing().clockStep;
  control.ClockSpeed(true, true);  // Shift with the faster key: the top clock speed
  const int topStep = Ringing().clockStep;
  const double topRung = RingFor(topSeconds, queue, rows);
  const int stepAtEnd = Ringing().clockStep;
  control.Stand();
  const bool stood = WaitForEnd(queue);
  monitor.Stop();
  engine.reset();

  std::printf("real-time ringing: %s, %s, %d bells at %d minutes (blow interval %.1f ms of ringing time), %ld rows%s\n",
              TowerName, method->Title().c_str(), Bells, Ringing().pealSpeedInUse.load(),
              Ringing().blowInterval * 1000.0, rows, stood ? "" : ", DID NOT STAND within 60 s");
  if (sounding)
    std::printf("sound: %s, %d frames a period at %u Hz (%.2f ms)\n", sound.device()->name().c_str(),
                sound.device()->framesPerPeriod(), sound.device()->sampleRate(), periodMs);
  else
    std::printf("sound: no device opened; rung silently, soundBlow to render not measured\n");
  std::printf("normal speed (clock step %d, factor %.3g): %.1f s of ringing in %.1f real s\n", normalStep,
              ClockFactorForStep(normalStep), normalRung, normalSeconds);
  PrintLatencies(view, monitor, normalStep, periodMs);
  std::printf("top speed (clock step %d, factor %.3g): %.1f s of ringing in %.1f real s: %.2f ringing s per real s\n",
              topStep, ClockFactorForStep(topStep), topRung, topSeconds, topRung / topSeconds);
  PrintLatencies(view, monitor, topStep, periodMs);
  std::printf("overload guard: lowered the clock factor %d times (lowest factor at the top %.2f of %.2f); "
              "clock step %d at the end\n",
              monitor.guardFalls.load(), monitor.lowestFactorAtTop.load(), ClockFactorForStep(topStep), stepAtEnd);
  return 0;
}
