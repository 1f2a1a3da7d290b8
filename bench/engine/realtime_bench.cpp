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
//  - the time from the blow's instant to its first sample, as the device
//    reckons it: each blow is placed at the sample its instant falls on a
//    constant latency later, and starts later only when it reached the mixer
//    after that sample's period was asked for (a late start). Min, median,
//    p99, worst and the spread (worst less min).
//
//   clangor-bench-realtime [top-speed seconds (20)] [normal-speed seconds (10)] [data folder]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
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
  Mixer::BufferId buffer;
  std::uint64_t frame;      // the frame the blow was placed at (0: at once)
  std::uint64_t startedAt;  // the frame it started at, filled in afterwards
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
  void soundStruckBlow(int bell, std::int64_t instantNs) override {
    soundedNs_ = NowNs();
    blow_ = sound_.soundBlowAt(bell, instantNs);
    // The buffer's previous blow has long started: note where.
    const auto previous = lastOf_.find(blow_.buffer);
    if (previous != lastOf_.end()) blows[previous->second].startedAt = sound_.mixer().lastStartFrame(blow_.buffer);
  }
  // Called straight after soundStruckBlow for the same blow.
  void bellStruck(int, double time) override {
    if (blows.size() >= blows.capacity() || blow_.buffer == Mixer::NoBuffer) return;
    lastOf_[blow_.buffer] = blows.size();
    blows.push_back({Ringing().clockStep, LateMs(time, soundedNs_), blow_.buffer, blow_.frame, 0});
  }
  // After the ringing: where the last blow of each buffer started.
  void finish() {
    for (const auto& [buffer, index] : lastOf_) blows[index].startedAt = sound_.mixer().lastStartFrame(buffer);
  }

  std::vector<BlowRecord> blows;

 private:
  TowerSound& sound_;
  std::int64_t soundedNs_ = 0;
  TowerSound::ScheduledBlow blow_;
  std::map<Mixer::BufferId, std::size_t> lastOf_;
};

// Watches from its own thread, every 200 us, every fall of the clock factor,
// which only the overload guard makes while the clock step stays put.
class Monitor {
 public:
  Monitor() : thread_([this] { Watch(); }) {}
  ~Monitor() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

  std::atomic<int> guardFalls{0};
  std::atomic<double> lowestFactorAtTop{1e9};

 private:
  void Watch() {
    RingingState& r = Ringing();
    double lastFactor = r.clockFactor;
    while (!stop_) {
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

// For the blows rung at `step`: how late the loop sounded them, and from
// each blow's instant to its first sample.
void PrintLatencies(const SoundingView& view, int step, double latencyMs) {
  std::vector<double> late;
  std::vector<double> delay;
  int unplaced = 0;
  for (const BlowRecord& b : view.blows) {
    if (b.clockStep != step) continue;
    late.push_back(b.lateMs);
    if (b.frame == 0 || b.startedAt == 0) {
      ++unplaced;
      continue;
    }
    const double behind = static_cast<double>(b.startedAt) - static_cast<double>(b.frame);
    delay.push_back(latencyMs + behind * 1000.0 / Mixer::OutputRate);
  }
  std::printf("  %zu blows (negative: sounded ahead of the blow's instant)\n", late.size());
  PrintSpread("loop late (hand-over - blow's instant)", late);
  if (latencyMs <= 0) return;
  PrintSpread("blow's instant to its first sample", delay);
  if (!delay.empty())
    std::printf("  %-40s %.3f ms (worst less min)%s\n", "spread",
                *std::max_element(delay.begin(), delay.end()) - *std::min_element(delay.begin(), delay.end()),
                unplaced ? " (blows before the device clock settled left out)" : "");
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
  const double latencyMs = sounding ? sound.device()->latencyMs() : 0;

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

  Monitor monitor;
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
  view.finish();

  std::printf("real-time ringing: %s, %s, %d bells at %d minutes (blow interval %.1f ms of ringing time), %ld rows%s\n",
              TowerName, method->Title().c_str(), Bells, Ringing().pealSpeedInUse.load(),
              Ringing().blowInterval * 1000.0, rows, stood ? "" : ", DID NOT STAND within 60 s");
  if (sounding)
    std::printf("sound: %s; %llu late starts, %llu gaps\n", sound.device()->description().c_str(),
                static_cast<unsigned long long>(sound.mixer().lateStarts()),
                static_cast<unsigned long long>(sound.device()->underruns()));
  else
    std::printf("sound: no device opened; rung silently, instant to sound not measured\n");
  std::printf("normal speed (clock step %d, factor %.3g): %.1f s of ringing in %.1f real s\n", normalStep,
              ClockFactorForStep(normalStep), normalRung, normalSeconds);
  PrintLatencies(view, normalStep, latencyMs);
  std::printf("top speed (clock step %d, factor %.3g): %.1f s of ringing in %.1f real s: %.2f ringing s per real s\n",
              topStep, ClockFactorForStep(topStep), topRung, topSeconds, topRung / topSeconds);
  PrintLatencies(view, topStep, latencyMs);
  std::printf("overload guard: lowered the clock factor %d times (lowest factor at the top %.2f of %.2f); "
              "clock step %d at the end\n",
              monitor.guardFalls.load(), monitor.lowestFactorAtTop.load(), ClockFactorForStep(topStep), stepAtEnd);
  return 0;
}
