// clangor-ring ring: loads a tower, selects its bells, starts, and rings a
// method, a composition, a call-change sequence or rounds with the real
// engine, printing the rows as they are published; with --wav it renders the
// touch's sound into a WAV file, with --realtime it rings on the real clock
// through the sound device, and with --report it prints the striking report.
// With --own-bell it lists where each blow of the own bell belonged, and with
// --taps as well it judges the user's blows, read from a file, against them.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "engine/ringing_control.h"
#include "engine/striking_analyser.h"
#include "engine/striking_text.h"
#include "ringing/composition.h"
#include "ringing/lead_calls.h"
#include "tools/ring/arguments.h"
#include "tools/ring/commands.h"
#include "tools/ring/headless_ringer.h"
#include "tools/ring/library_lookup.h"
#include "tools/ring/tap_file.h"
#include "tools/ring/touch_runner.h"

namespace clangor::ring {

namespace {

namespace fs = std::filesystem;

// A folder of this run's own, removed at the end: a data folder not named
// "Orvanta/Clangor" is reached through a link in it. The ringer reads the
// simulator's settings where they are and never writes them.
struct ScratchFolder {
  ScratchFolder() : path(fs::temp_directory_path() / ("clangor_ring_" + std::to_string(::getpid()))) {
    fs::create_directories(path);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  fs::path path;
};

// The settings store finds the data folder as <common app data>/Orvanta/Clangor.
void UseDataFolder(const fs::path& data, const ScratchFolder& scratch) {
  const fs::path folder = fs::weakly_canonical(data);
  if (!fs::is_directory(folder / "Towers")) throw UsageError("--data " + data.string() + " holds no Towers folder");
  fs::path common = folder.parent_path().parent_path();
  if (folder.filename() != "Clangor" || folder.parent_path().filename() != "Orvanta") {
    common = scratch.path / "data";
    fs::create_directories(common / "Orvanta");
    fs::create_directory_symlink(folder, common / "Orvanta" / "Clangor");
  }
  setenv("CLANGOR_COMMON_APPDATA", common.c_str(), 1);
}

// --method goes with --composition too: it names the method to ring the
// composition with, when that is not its first.
int WhatToRing(const Arguments& a) {
  return (a.Value("method") && !a.Value("composition") ? 1 : 0) + (a.Value("composition") ? 1 : 0) +
         (a.Value("sequence") ? 1 : 0) + (a.Value("rounds") ? 1 : 0);
}

// Rings a composition of the library with its first method, or with the
// method named; false (with a message) when either is not there.
bool BeginComposition(const LibraryLookup& library, const std::string& name, const std::string& methodTitle,
                      int bells, RingableComposition& ringable, RingingControl& control) {
  const Method* method = nullptr;
  if (!methodTitle.empty()) {
    method = library.FindMethod(methodTitle, bells);
    if (method == nullptr) {
      std::cerr << "clangor-ring: no method \"" << methodTitle << "\" for " << bells << " bells\n";
      return false;
    }
  }
  Composition* composition = library.FindComposition(name, bells, method);
  if (composition == nullptr) {
    std::cerr << "clangor-ring: no composition \"" << name << "\" to ring on " << bells << " bells"
              << (method ? " with " + method->Title() : "") << "\n";
    return false;
  }
  ringable = RingableComposition{composition, composition->name, composition->stages, nullptr};
  control.RingComposition(ringable, method != nullptr ? method : composition->FirstMethod());
  return true;
}

// Where each of the own bell's blows belonged: what a taps file would hold
// for perfect striking.
void PrintOwnPlaces(const std::vector<DueBlow>& due, double first) {
  char line[80];
  for (std::size_t k = 0; k < due.size(); ++k) {
    std::snprintf(line, sizeof line, "place %zu %s %.6f\n", k + 1, due[k].handstroke ? "handstroke" : "backstroke",
                  due[k].instant - first);
    std::cout << line;
  }
}

}  // namespace

int RunRing(const std::vector<std::string>& args) {
  const Arguments a(args,
                    {"data", "tower", "bells", "ring", "method", "calls", "composition", "sequence", "rounds", "speed",
                     "wav", "own-bell", "taps"},
                    {"report", "realtime"});
  if (WhatToRing(a) != 1) throw UsageError("ring takes one of --method, --composition, --sequence, --rounds");
  if (a.Value("bells") && a.Value("ring")) throw UsageError("ring takes --bells or --ring, not both");
  if (a.Value("calls") && (!a.Value("method") || a.Value("composition")))
    throw UsageError("--calls goes with --method alone");
  if (a.Value("calls")) CheckCallLetters(*a.Value("calls"));
  if (a.Value("wav") && a.Value("wav")->empty()) throw UsageError("--wav needs a file name");
  if (a.Value("taps") && !a.Value("own-bell")) throw UsageError("--taps goes with --own-bell");
  const std::vector<double> taps = a.Value("taps") ? ReadTapFile(*a.Value("taps")) : std::vector<double>{};

  RingPlan plan;
  plan.tower = a.Value("tower").value_or("");
  plan.bells = a.Number("bells", 1, 18, 0);
  plan.ring = a.Value("ring").value_or("");
  plan.pealMinutes = a.Number("speed", 150, 240, 0);
  plan.realTime = a.Flag("realtime");
  plan.roundsRows = a.Number("rounds", 1, 1000000, 0);
  plan.wavFile = a.Value("wav").value_or("");
  plan.ownBell = a.Number("own-bell", 1, 18, 0) - 1;
  StrikingAnalyser striking;
  if (plan.ownBell >= 0) plan.striking = &striking;

  const fs::path data = a.Required("data");
  const ScratchFolder scratch;
  UseDataFolder(data, scratch);
  LibraryLookup library(data);
  LeadCalls calls(a.Value("calls").value_or(""));
  RingableComposition leadCalls{&calls, "Calls", {}, nullptr};
  leadCalls.stages.set();

  const std::string method = a.Value("method").value_or("");
  const std::string sequence = a.Value("sequence").value_or("");
  const std::string composition = a.Value("composition").value_or("");
  const bool withCalls = !a.Value("calls").value_or("").empty();
  RingableComposition ringable;
  plan.begin = [&](RingingControl& control, int bells) {
    if (!composition.empty()) return BeginComposition(library, composition, method, bells, ringable, control);
    if (!method.empty()) {
      const Method* m = library.FindMethod(method, bells);
      if (m == nullptr) {
        std::cerr << "clangor-ring: no method \"" << method << "\" for " << bells << " bells\n";
        return false;
      }
      if (withCalls) control.RingComposition(leadCalls, m);
      else control.RingTouch(m);
    } else if (!sequence.empty()) {
      const CallChangeSequence* s = library.FindSequence(sequence, bells);
      if (s == nullptr) {
        std::cerr << "clangor-ring: no call-change sequence \"" << sequence << "\" for " << bells << " bells\n";
        return false;
      }
      control.RingSequence(s);
    } else {
      control.Start();
    }
    return true;
  };

  const RingResult result = RingHeadless(plan, [](const std::string& row) { std::cout << row << '\n'; }, std::cerr);
  if (result.status != 0) return result.status;
  if (a.Flag("report")) {
    // Call changes are rung by whole pulls, whose handstroke rows are not
    // published: each bell's place is then taken from the order struck.
    // The first row published is the one the touch was made with, before
    // the bells pull off: the rows struck follow it.
    std::vector<std::string> rows;
    if (sequence.empty() && !result.rows.empty()) rows.assign(result.rows.begin() + 1, result.rows.end());
    PrintStrikingReport(MeasureStriking(rows, result.blows, result.bellsInPlay, result.blowInterval), std::cout);
    std::cout << "Rang " << result.simulatedSeconds << " s of ringing in " << result.realSeconds << " s\n";
  }
  // The own bell's times count from the touch's first blow.
  const double first = result.blows.empty() ? 0.0 : result.blows.front().time;
  if (plan.striking && !a.Value("taps")) PrintOwnPlaces(striking.Due(), first);
  if (plan.striking && a.Value("taps")) {
    for (const double tap : taps) striking.ownBlowStruck(plan.ownBell, first + tap);
    std::cout << FormatStrikingReport(striking.Analyse());
  }
  return 0;
}

}  // namespace clangor::ring
