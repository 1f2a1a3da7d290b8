// A soak: peals of Plain Bob Maximus back to back, headless on the default
// tower, each with its sound streamed into a WAV file (a temporary one,
// removed after each peal). After each peal: the resident memory (it must not
// grow past the first peal's), the striking error over the peal (it must not
// drift), and the time taken.
//
//   clangor-bench-soak [peals] [data folder]   (default: 10 peals, the build's folder)
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

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

constexpr long PealRows = 5040;

// The resident memory of this process, in MiB (VmRSS).
double ResidentMiB() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == "VmRSS:") {
      double kib = 0;
      status >> kib;
      return kib / 1024.0;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int peals = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const clangor::bench::BenchDataFolder data(argc > 2 ? argv[2] : nullptr);
  if (!data.usable()) return 1;
  const LibraryLookup library(data.path());
  const Method* method = library.FindMethod("Plain Bob", 12);
  if (method == nullptr) {
    std::printf("no Plain Bob Maximus in the compendium\n");
    return 1;
  }
  const std::filesystem::path wav =
      std::filesystem::temp_directory_path() / ("clangor_soak_" + std::to_string(::getpid()) + ".wav");
  std::printf("soak: %d peals of %ld changes of %s on the default tower, WAV streamed to %s\n", peals, PealRows,
              method->Title().c_str(), wav.c_str());
  std::printf("%4s %6s %7s %9s %8s %9s %9s %9s\n", "peal", "rows", "blows", "rss MiB", "rms ms", "worst ms", "real s",
              "wav MiB");
  double firstRss = 0, firstRms = 0, worstGrowth = 0, worstDrift = 0;
  for (int peal = 1; peal <= peals; ++peal) {
    RingPlan plan = bench::TouchPlan(method, PealRows);
    plan.wavFile = wav.string();
    Ringing().Reset();
    const RingResult result = RingHeadless(plan, nullptr, std::cerr);
    std::error_code error;
    const double wavMiB = static_cast<double>(std::filesystem::file_size(wav, error)) / (1024.0 * 1024.0);
    std::filesystem::remove(wav, error);
    if (result.status != 0 || result.rows.size() < 2) {
      std::printf("%4d did not ring\n", peal);
      return 1;
    }
    const std::vector<std::string> rows(result.rows.begin() + 1, result.rows.end());
    const StrikingReport report = MeasureStriking(rows, result.blows, result.bellsInPlay, result.blowInterval);
    const double rss = ResidentMiB();
    if (peal == 1) {
      firstRss = rss;
      firstRms = report.whole.rmsMs;
    }
    worstGrowth = std::max(worstGrowth, rss - firstRss);
    worstDrift = std::max(worstDrift, std::abs(report.whole.rmsMs - firstRms));
    std::printf("%4d %6zu %7d %9.1f %8.4f %9.4f %9.1f %9.1f\n", peal, rows.size(), report.whole.blows, rss,
                report.whole.rmsMs, report.whole.worstMs, result.realSeconds, wavMiB);
    std::fflush(stdout);
  }
  std::printf("resident growth past the first peal: %.1f MiB; striking rms drift: %.3f ms\n", worstGrowth, worstDrift);
  return 0;
}
