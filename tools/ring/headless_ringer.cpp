#include "tools/ring/headless_ringer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <ostream>
#include <span>
#include <thread>

#include "engine/engine_event_queue.h"
#include "engine/engine_views.h"
#include "engine/ringing_control.h"
#include "engine/ringing_state.h"
#include "engine/tower_window.h"
#include "platform/ticks.h"
#include "shell/settings_store.h"
#include "tower/bell_faults.h"
#include "tower/tower.h"
#include "tools/ring/ringer_sound.h"

namespace clangor::ring {

namespace {

constexpr const char* DefaultTower = "Twelve Bells";

// The main window's part, headless: keeps every blow and row, and stands the
// bells when enough rows have been rung. Its callbacks run on the worker.
class HeadlessWindow final : public EngineTowerView, public EngineListener {
 public:
  HeadlessWindow(EngineEventQueue& queue, RingerSound* sound, const std::function<void(const std::string&)>& onRow)
      : queue_(queue), sound_(sound), onRow_(onRow) {}

  void loadBellSounds(int bell, std::span<Bell> bells) override {
    if (sound_) sound_->loadBell(bell, bells);
  }
  void bellStruck(int bell, double time) override {
    blows_.push_back({bell, time});
    if (sound_) sound_->blow(bell, time);
  }
  void eventsWaiting() override { Drain(); }

  // Main thread, before the ringing starts.
  void Watch(TowerWindow* engine, long standAfterRows) {
    engine_ = engine;
    standAfter_ = standAfterRows;
  }
  // Main thread: waits until the ringing has ended.
  void WaitForEnd() {
    std::unique_lock lock(lock_);
    while (!ended_) {
      lock.unlock();
      Drain();  // events queued while the clock was too fast to nudge us
      lock.lock();
      ending_.wait_for(lock, std::chrono::milliseconds(5));
    }
  }

  std::vector<std::string> rows;
  std::vector<StruckBlow> blows_;  // tower bells; written by the worker only

 private:
  void Drain() {
    std::lock_guard lock(lock_);
    for (EngineEvent& e : queue_.Drain()) {
      if (e.code == event::RowRung) {
        rows.push_back(e.text);
        if (onRow_) onRow_(e.text);
        if (standAfter_ > 0 && static_cast<long>(rows.size()) >= standAfter_ && engine_) engine_->StandOrStop(false);
      } else if (e.code == event::RingingEnded) {
        ended_ = true;
        ending_.notify_all();
      }
    }
  }

  EngineEventQueue& queue_;
  RingerSound* sound_;
  std::function<void(const std::string&)> onRow_;
  TowerWindow* engine_ = nullptr;
  long standAfter_ = 0;
  std::mutex lock_;
  std::condition_variable ending_;
  bool ended_ = false;
};

bool SelectBells(const RingPlan& plan, const Tower& tower, TowerWindow& engine, RingingControl& control,
                 std::ostream& err) {
  if (!plan.ring.empty()) {
    for (const auto* rings : {&tower.rings(), &tower.otherRings()})
      for (const RingEntry& entry : *rings)
        if (entry.first == plan.ring) {
          control.SelectRing(entry.second);
          return Ringing().bellsInPlay > 0;
        }
    err << "clangor-ring: the tower has no ring \"" << plan.ring << "\"\n";
    return false;
  }
  const int count = engine.bellCount();
  if (plan.bells > count) {
    err << "clangor-ring: the tower has " << count << " bells, not " << plan.bells << "\n";
    return false;
  }
  const int first = plan.bells > 0 ? count - plan.bells : 0;
  for (int bell = first; bell < count; ++bell) engine.SelectBell(bell, 0, bell + 1 < count);
  return true;
}

// The own bell must be one of the bells rung.
bool ChooseOwnBell(int bell, TowerWindow& engine, std::ostream& err) {
  if (!engine.IsBellInPlay(bell)) {
    err << "clangor-ring: bell " << bell + 1 << " is not among the bells rung\n";
    return false;
  }
  // A full mailbox refuses the choice: it is asked again until taken.
  while (engine.ownBell() != bell) {
    engine.PostManualSelect(bell);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace

RingResult RingHeadless(const RingPlan& plan, const std::function<void(const std::string&)>& onRow,
                        std::ostream& err) {
  RingResult result;
  // The simulator's preferences are borrowed, never written back: what the
  // ringer sets for itself below lives in memory only.
  SettingsStore settings(SettingsStore::Access::ReadOnly);
  settings.SetInt(setting::ActionAtRounds, plan.actionAtRounds);
  settings.SetInt(setting::KeepGoingCount, 0);
  Tower tower(plan.tower.empty() ? DefaultTower : plan.tower, settings);
  if (tower.bellCount() <= 0) {
    err << "clangor-ring: no tower \"" << tower.name() << "\" in the data folder\n";
    result.status = 1;
    return result;
  }
  const std::vector<BellFault> faults = FindBellFaults(tower);
  for (const BellFault& fault : faults) err << "clangor-ring: " << DescribeBellFault(tower.name(), fault) << "\n";
  std::vector<int> playIndex(static_cast<std::size_t>(tower.bellCount()), -1);
  if (plan.pealMinutes > 0) settings.SetTowerInt(tower_setting::PealMins, plan.pealMinutes);

  SimulatedTickSource fast(1000, 100);  // a 0.1 s sub-step for each 1 ms the loop sleeps
  SteadyTickSource steady;
  TickSource& ticks = plan.realTime ? static_cast<TickSource&>(steady) : fast;
  std::unique_ptr<RingerSound> sound;
  if (!plan.wavFile.empty() || plan.realTime) {
    const auto output = plan.wavFile.empty() ? RingerSound::Output::Device : RingerSound::Output::WaveFile;
    sound = std::make_unique<RingerSound>(settings, tower, output, plan.wavFile, err);
    if (sound->fileFailed()) {
      result.status = 1;
      return result;
    }
  }
  EngineEventQueue queue;
  HeadlessWindow window(queue, sound.get(), onRow);
  RingingUiState state;
  RingingControl control(settings, ticks, state);
  EngineSetUp setUp;
  setUp.tower = &tower;
  setUp.ticks = &ticks;
  setUp.events = &queue;
  setUp.settings = &settings;
  setUp.views.tower = &window;
  setUp.views.listener = &window;
  setUp.views.striking = plan.striking;
  {
    TowerWindowPtr engine = TowerWindow::Open(setUp);
    while (engine->loading()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    control.SetEngine(engine.get());
    control.SetTower(&tower);
    if (!SelectBells(plan, tower, *engine, control, err)) {
      result.status = 1;
      return result;
    }
    // The engine never starts with a bell in play that cannot swing.
    for (const BellFault& fault : faults) {
      if (engine->IsBellInPlay(fault.bell)) {
        err << "clangor-ring: the bells chosen cannot ring: bell " << fault.bell + 1 << " cannot swing\n";
        result.status = 1;
        return result;
      }
    }
    if (plan.ownBell >= 0 && !ChooseOwnBell(plan.ownBell, *engine, err)) {
      result.status = 1;
      return result;
    }
    result.bellsInPlay = Ringing().bellsInPlay;
    // The touch numbers the bells in play from the lowest of them.
    for (int bell = 0, k = 0; bell < engine->bellCount(); ++bell)
      playIndex[static_cast<std::size_t>(bell)] = engine->IsBellInPlay(bell) ? k++ : -1;
    window.Watch(engine.get(), plan.roundsRows > 0 ? plan.roundsRows : plan.maxRows);
    if (!plan.begin(control, result.bellsInPlay)) {
      result.status = 1;
      return result;
    }
    const auto began = std::chrono::steady_clock::now();
    const double clockAtStart = Ringing().clockReading;
    window.WaitForEnd();
    result.realSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    result.simulatedSeconds = Ringing().clockReading - clockAtStart;
    result.blowInterval = Ringing().blowInterval;
  }
  for (const StruckBlow& b : window.blows_) result.blows.push_back({playIndex[static_cast<std::size_t>(b.bell)], b.time});
  result.rows = std::move(window.rows);
  if (!plan.wavFile.empty() && !sound->finishWave(err)) result.status = 1;
  if (sound && plan.wavFile.empty()) sound->reportGaps(err);
  return result;
}

}  // namespace clangor::ring
