// Striking through the whole engine: the tower window and ringing control on
// simulated time, as the headless ringer rings, for Plain Bob and Cambridge
// Surprise on the two made towers (Major on Eight Bells, Maximus on Twelve
// Bells) at peal speeds of 150, 180 and 240 minutes. The bells ring on at
// rounds, course after course, until 5000 changes have been rung, then stand.
// Each case is judged by the ringer's own striking report over all the rows,
// and over the first and the last 500 rows on their own: the striking must
// not wear as the peal goes on.
// Each case starts from the ringing state of a fresh process, with the ringing
// clock near 0. The simulator's clock starts at the machine's uptime (its first
// reading takes the whole tick count as elapsed), up to 2^32 ms (49.7 days):
// the Twelve Bells cases are rung again from there, where the bells' times
// carry fewer fractional digits.
//
//   clangor-bench-engine-striking [data folder]   (default: the build's)
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "bench/engine/bench_data_folder.h"
#include "bench/engine/touch_plan.h"
#include "engine/ringing_control.h"
#include "engine/ringing_state.h"
#include "tools/ring/headless_ringer.h"
#include "tools/ring/library_lookup.h"
#include "tools/ring/striking_report.h"

namespace {

using namespace clangor;
using namespace clangor::ring;

constexpr long PealRows = 5000;
constexpr int WindowRows = 500;  // even: a window starts at a handstroke row as the touch does
constexpr double MaxRmsMs = 1.0;
constexpr double MaxWorstMs = 3.0;
constexpr double MaxDriftMs = 0.5;

constexpr double LongUptimeSeconds = 4294967.295;

struct Case {
  const char* tower;
  int bells;
  const char* method;
  int speed;
  double clockStart;  // the ringing clock's reading before the tower opens
};

// The rows from `first` on (at most `count` of them) and the blows that
// belong to them: a bell's n-th blow belongs to the n-th row struck.
StrikingReport MeasureWindow(const std::vector<std::string>& rows, const std::vector<StruckBlow>& blows, int bells,
                             double interval, std::size_t first, std::size_t count) {
  const std::size_t end = std::min(rows.size(), first + count);
  const std::vector<std::string> window(rows.begin() + static_cast<long>(first), rows.begin() + static_cast<long>(end));
  std::vector<std::size_t> struck(static_cast<std::size_t>(bells), 0);
  std::vector<StruckBlow> inWindow;
  for (const StruckBlow& b : blows) {
    if (b.bell < 0 || b.bell >= bells) continue;
    const std::size_t row = struck[static_cast<std::size_t>(b.bell)]++;
    if (row >= first && row < end) inWindow.push_back(b);
  }
  return MeasureStriking(window, inWindow, bells, interval);
}

void RingCase(const Case& c, const LibraryLookup& library) {
  const Method* method = library.FindMethod(c.method, c.bells);
  if (method == nullptr) {
    std::printf("%-12s %-19s %3d  no such method for %d bells in the compendium\n", c.tower, c.method, c.speed,
                c.bells);
    return;
  }
  RingPlan plan = bench::TouchPlan(method, PealRows);
  plan.tower = c.tower;
  plan.bells = c.bells;
  plan.pealMinutes = c.speed;
  Ringing().Reset();
  Ringing().clockReading = c.clockStart;
  const RingResult result = RingHeadless(plan, nullptr, std::cerr);
  if (result.status != 0 || result.rows.size() < 2) {
    std::printf("%-12s %-19s %3d  did not ring\n", c.tower, c.method, c.speed);
    return;
  }
  const std::vector<std::string> rows(result.rows.begin() + 1, result.rows.end());
  const int bells = result.bellsInPlay;
  const double interval = result.blowInterval;
  const StrikingReport whole = MeasureStriking(rows, result.blows, bells, interval);
  const StrikingReport first = MeasureWindow(rows, result.blows, bells, interval, 0, WindowRows);
  const std::size_t lastStart = rows.size() > WindowRows ? (rows.size() - WindowRows) & ~std::size_t{1} : 0;
  const StrikingReport last = MeasureWindow(rows, result.blows, bells, interval, lastStart, WindowRows);
  const double drift = last.whole.rmsMs - first.whole.rmsMs;
  const bool pass = whole.whole.rmsMs < MaxRmsMs && whole.whole.worstMs < MaxWorstMs && drift < MaxDriftMs;
  std::printf("%-12s %-28s %3d %6zu %7d %7.3f %8.3f %9.3f %8.3f %9.0f  %s\n", c.tower, method->Title().c_str(),
              c.speed, rows.size(), whole.whole.blows, whole.whole.rmsMs, whole.whole.worstMs, first.whole.rmsMs,
              last.whole.rmsMs, result.simulatedSeconds / result.realSeconds, pass ? "PASS" : "FAIL");
}

}  // namespace

int main(int argc, char** argv) {
  const clangor::bench::BenchDataFolder data(argc > 1 ? argv[1] : nullptr);
  if (!data.usable()) return 1;
  const LibraryLookup library(data.path());
  std::printf("striking through the engine, ringing on at rounds for %ld changes, then stand (%s)\n", PealRows,
              data.path().c_str());
  std::printf("pass: rms < %.1f ms, worst < %.1f ms, last %d rows' rms - first %d rows' rms < %.1f ms\n", MaxRmsMs,
              MaxWorstMs, WindowRows, WindowRows, MaxDriftMs);
  std::printf("%-12s %-28s %3s %6s %7s %7s %8s %9s %8s %9s\n", "tower", "method", "min", "rows", "blows", "rms ms",
              "worst ms", "first rms", "last rms", "sim/real");
  const auto ringTower = [&](const char* tower, int bells, double clockStart) {
    for (const char* method : {"Plain Bob", "Cambridge Surprise"})
      for (const int speed : {150, 180, 240}) RingCase({tower, bells, method, speed, clockStart}, library);
  };
  ringTower("Eight Bells", 8, 0);
  ringTower("Twelve Bells", 12, 0);
  std::printf("the ringing clock started at %.0f s, as on a machine up 49.7 days:\n", LongUptimeSeconds);
  ringTower("Twelve Bells", 12, LongUptimeSeconds);
  return 0;
}
