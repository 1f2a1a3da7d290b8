// Striking accuracy of the made towers: each tower's bells, the change
// generator and the ringing state on simulated time, started as the ringing
// loop starts them and advanced in its sub-steps of 0.1 s, ring rounds and
// methods (Plain Bob, Cambridge Surprise, Stedman where the stage has them)
// and the call changes of Queens, for every number of bells in play at 150,
// 180 and 240 minutes, then stand; and a plain course of Plain Bob on each
// of the other towers (Minor on the six, Royal on the ten, Sixteen on the
// back sixteen and Eighteen on the eighteen).
// Every blow is compared with the ideal schedule: a bell's next blow falls
// (bells - 1 + c) blow intervals after its last, c being the timing class the
// generator gave it, and the first row one interval apart.
//
//   clangor-bench-striking [common application data folder] [--plain-courses]
//   (default: the build's share/; --plain-courses rings only the plain courses)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/ringing_clock.h"
#include "engine/ringing_state.h"
#include "ringing/call_change_sequence.h"
#include "ringing/change_generator.h"
#include "ringing/event_log.h"
#include "ringing/memory_settings.h"
#include "ringing/method.h"
#include "shell/settings_store.h"
#include "tower/bell.h"
#include "tower/tower.h"

namespace {

using namespace clangor;
namespace fs = std::filesystem;

constexpr double SubStep = 0.1;
constexpr int SkipRows = 2;
// Rows after a change of peal speed before its schedule is measured again.
constexpr int SettleRows = 4;

struct Figures {
  double sumSquares = 0;
  double worst = 0;
  long blows = 0;
  int stoodAlone = 0;    // scenarios in which a bell stood by itself
  int failedStand = 0;   // scenarios in which Stand left a bell swinging
  double worstStand = 0;  // seconds: a blow struck while setting, against the schedule
  void Add(double error) {
    sumSquares += error * error;
    worst = std::max(worst, std::abs(error));
    ++blows;
  }
  void Add(const Figures& f) {
    sumSquares += f.sumSquares;
    worst = std::max(worst, f.worst);
    blows += f.blows;
    stoodAlone += f.stoodAlone;
    failedStand += f.failedStand;
    worstStand = std::max(worstStand, f.worstStand);
  }
  double Rms() const { return blows ? std::sqrt(sumSquares / blows) : 0.0; }
};

// The methods of the default library by stage: name -> notation.
std::map<int, std::map<std::string, std::string>> ReadMethods(const fs::path& path) {
  std::map<int, std::map<std::string, std::string>> methods;
  std::ifstream in(path);
  std::string line;
  int stage = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 2 && line[0] == '[') {
      stage = std::atoi(line.c_str() + 1);
    } else if (const auto eq = line.find('='); eq != std::string::npos && stage > 0) {
      methods[stage][line.substr(0, eq)] = line.substr(eq + 1);
    }
  }
  return methods;
}

struct Scenario {
  int inPlay = 0;
  int speed = 0;
  const Method* method = nullptr;  // null: rounds (or the sequence)
  const CallChangeSequence* sequence = nullptr;
  long rows = 0;
  bool stand = true;
  int speedChangeAtRow = -1;       // a new peal speed asked for at this row
  int newSpeed = 0;
};

struct Result {
  Figures figures;
  double worstSpacing = 0;
  double worstStand = 0;    // the blows struck while the bells set at Stand  // after a change of speed: blows against the new interval, in striking order
  double firstRms = 0, lastRms = 0;  // of the first and last 500 rows
};

Result Ring(std::vector<std::unique_ptr<Bell>>& bells, const Scenario& sc) {
  const int k = sc.inPlay;
  RingingState& r = Ringing();
  r.Reset();
  r.bellsInPlay = k;
  SetPealSpeed(sc.speed);
  MemorySettings settings;
  EventLog log(true);
  ChangeGenerator generator(k, &log, &settings);
  if (k > 1) r.currentTouch = &generator;
  if (sc.method) generator.SetMethod(sc.method);
  if (sc.sequence) generator.SetSequence(sc.sequence);

  // Start offsets, as the ringing loop gives them.
  std::vector<double> offset(static_cast<std::size_t>(k));
  double a = 0, lowest = 0;
  for (int i = 0; i < k; ++i) {
    Bell& bell = *bells[static_cast<std::size_t>(i)];
    bell.start(i);
    offset[static_cast<std::size_t>(i)] = a - bell.rowValue(54) + bell.data().strikingCorrection;
    lowest = std::min(lowest, offset[static_cast<std::size_t>(i)]);
    a += r.blowInterval;
  }
  for (int i = 0; i < k; ++i) bells[static_cast<std::size_t>(i)]->state().time = offset[static_cast<std::size_t>(i)] - lowest;

  Result result;
  std::vector<double> ideal(static_cast<std::size_t>(k), 0.0);
  std::vector<long> blowsOf(static_cast<std::size_t>(k), 0);
  double firstBlow = -1;
  long blows = 0;
  double interval = BlowIntervalFor(r.pealSpeedInUse, k);
  Figures first, last;
  const long lastFrom = sc.rows - 500;
  bool standing = false;
  std::vector<double> struck;
  double t = 0;
  while (t < 1e6) {
    t += SubStep;
    for (int i = 0; i < k; ++i) {
      Bell& bell = *bells[static_cast<std::size_t>(i)];
      if (bell.state().stood) continue;
      const int flags = bell.advanceTo(t);
      if ((flags & Bell::Stopped) && !standing) ++result.figures.stoodAlone;
      if (!(flags & Bell::Struck)) continue;
      const double when = bell.state().strikeTime;
      long& n = blowsOf[static_cast<std::size_t>(i)];
      double& due = ideal[static_cast<std::size_t>(i)];
      if (standing) {
        // The bells set at Stand: their last blows keep to the schedule.
        result.worstStand = std::max(result.worstStand, std::abs(when - due));
        due += (k - 1 + bell.state().nextTiming) * interval;
        continue;
      }
      if (n == 0) {
        if (firstBlow < 0) firstBlow = when - i * interval;  // the treble's place in the first row
        due = firstBlow + i * interval;
      }
      const long row = blows / k;
      // After a change of speed the schedule starts again from each bell's
      // own blow, once the change has had SettleRows rows to settle.
      if (sc.speedChangeAtRow >= 0 && row < sc.speedChangeAtRow + SettleRows && row >= sc.speedChangeAtRow) due = when;
      const bool counted = sc.speedChangeAtRow < 0 ? row >= SkipRows : row >= sc.speedChangeAtRow + SettleRows;
      if (counted && sc.speedChangeAtRow >= 0) struck.push_back(when);
      if (counted) {
        const double error = when - due;
        result.figures.Add(error);
        if (row < 500) first.Add(error);
        if (row >= lastFrom) last.Add(error);
      }
      ++n;
      ++blows;
      // The blow interval in force for the next swing (a new speed reaches
      // it a row after the bells take it up).
      interval = BlowIntervalFor(r.pealSpeedInUse, k);
      due += (k - 1 + bell.state().nextTiming) * interval;
    }
    const long row = blows / k;
    if (sc.speedChangeAtRow >= 0 && row == sc.speedChangeAtRow) SetPendingPealSpeed(sc.newSpeed);
    if (row >= sc.rows && !standing) {
      if (!sc.stand) break;
      standing = true;
      r.standRequested = true;
    }
    if (standing) {
      bool all = true;
      for (int i = 0; i < k; ++i) all = all && bells[static_cast<std::size_t>(i)]->state().stood;
      if (all) break;
      if (t > 1e5) break;
    }
  }
  if (standing) {
    for (int i = 0; i < k; ++i) {
      const Bell& bell = *bells[static_cast<std::size_t>(i)];
      if (!bell.state().stood || bell.state().angle != bell.setAngle()) {
        ++result.figures.failedStand;
        break;
      }
    }
  }
  r.currentTouch = nullptr;
  for (int i = 0; i < k; ++i) bells[static_cast<std::size_t>(i)]->stand();
  std::sort(struck.begin(), struck.end());
  const double newInterval = BlowIntervalFor(sc.newSpeed, k);
  for (std::size_t n = 1; n < struck.size(); ++n) {
    const double d = struck[n] - struck[n - 1];
    result.worstSpacing = std::max(result.worstSpacing, std::min(std::abs(d - newInterval), std::abs(d - 2 * newInterval)));
  }
  result.figures.worstStand = result.worstStand;
  result.firstRms = first.Rms();
  result.lastRms = last.Rms();
  return result;
}

void Print(const char* what, const Figures& f) {
  std::printf("%-40s blows %7ld  rms %7.4f ms  worst %7.4f ms  stood alone %d  Stand: failed %d, worst %6.3f ms\n",
              what, f.blows, f.Rms() * 1000, f.worst * 1000, f.stoodAlone, f.failedStand, f.worstStand * 1000);
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path root = argc > 1 ? fs::path(argv[1]) : fs::path(CLANGOR_BUILD_SHARE);
  const fs::path data = root / "Orvanta" / "Clangor";
  const fs::path registry = fs::temp_directory_path() / ("clangor-bench-striking-" + std::to_string(getpid()));
  setenv("CLANGOR_COMMON_APPDATA", root.c_str(), 1);
  setenv("CLANGOR_REGISTRY_DIR", registry.c_str(), 1);
  const auto library = ReadMethods(data / "Compendium" / "XII" / "methods.txt");
  const auto sequences = ReadMethods(data / "Compendium" / "XII" / "call_change_sequences.txt");

  const bool plainCoursesOnly = argc > 2 && std::string(argv[2]) == "--plain-courses";
  Figures overall;
  if (!plainCoursesOnly) {
    SettingsStore settings;
    for (const std::string name : {"Twelve Bells", "Eight Bells"}) {
      Tower tower(name, settings);
      if (tower.bellCount() == 0) {
        std::printf("%s: no tower in %s (build the data folder first)\n", name.c_str(), data.c_str());
        return 1;
      }
      std::vector<std::unique_ptr<Bell>> bells;
      for (int b = 0; b < tower.bellCount(); ++b) {
        bells.push_back(std::make_unique<Bell>(b, false));
        bells.back()->load(tower);
      }
      Figures towerFigures;
      std::vector<Method> methods;
      for (int k = 2; k <= tower.bellCount(); ++k) {
        methods.clear();
        if (const auto it = library.find(k); it != library.end()) {
          for (const char* wanted : {"Plain Bob", "Cambridge Surprise", "Stedman"}) {
            if (const auto m = it->second.find(wanted); m != it->second.end()) methods.push_back({k, m->first, m->second});
          }
        }
        std::vector<CallChangeSequence> calls;
        if (const auto it = sequences.find(k); it != sequences.end() && it->second.count("Queens")) {
          calls.push_back({k, "Queens", it->second.at("Queens")});
        }
        Figures byBells;
        for (const int speed : {150, 180, 240}) {
          Figures bySpeed;
          bySpeed.Add(Ring(bells, {k, speed, nullptr, nullptr, 60}).figures);
          for (const Method& method : methods) bySpeed.Add(Ring(bells, {k, speed, &method, nullptr, 240}).figures);
          for (const CallChangeSequence& s : calls) bySpeed.Add(Ring(bells, {k, speed, nullptr, &s, 240}).figures);
          byBells.Add(bySpeed);
          char label[96];
          std::snprintf(label, sizeof label, "%s, %d in play, %d min", name.c_str(), k, speed);
          Print(label, bySpeed);
        }
        towerFigures.Add(byBells);
      }
      Print((name + ": all").c_str(), towerFigures);
      overall.Add(towerFigures);

      // Drift: 5000 changes of the largest stage's Plain Bob (and the rounds
      // that follow when it comes round), the first 500 rows against the last.
      const int k = tower.bellCount();
      if (const auto it = library.find(k); it != library.end() && it->second.count("Plain Bob")) {
        const Method bob{k, "Plain Bob", it->second.at("Plain Bob")};
        const Result drift = Ring(bells, {k, 180, &bob, nullptr, 5000});
        std::printf("%s: 5000 changes at 180 min: rms of the first 500 rows %.4f ms, of the last 500 %.4f ms, worst %.4f ms\n",
                    name.c_str(), drift.firstRms * 1000, drift.lastRms * 1000, drift.figures.worst * 1000);
        Scenario change{k, 180, &bob, nullptr, 300, true, 100, 210};
        const Result changed = Ring(bells, change);
        std::printf("%s: peal speed 180 -> 210 min at row 100: from row %d rms %.4f ms, worst %.4f ms; "
                    "blows apart by the new interval to %.4f ms\n",
                    name.c_str(), 100 + SettleRows, changed.figures.Rms() * 1000, changed.figures.worst * 1000,
                    changed.worstSpacing * 1000);
      }
    }
  }
  // The plain course of each of the other towers' own method, on the bells
  // a band rings it on (the back bells of a ring), at the quickest, the
  // tower's own and the slowest speed.
  struct PlainCourse {
    const char* tower;
    int stage;
    int firstBell;  // from 0: where the ring rung starts
  };
  const PlainCourse courses[] = {
      {"Six Bells", 6, 0}, {"Ten Bells", 10, 0}, {"Eighteen Bells", 16, 2}, {"Eighteen Bells", 18, 0}};
  {
    SettingsStore settings;
    for (const PlainCourse& c : courses) {
      Tower tower(c.tower, settings);
      const auto it = library.find(c.stage);
      if (tower.bellCount() < c.firstBell + c.stage || it == library.end() || !it->second.count("Plain Bob")) {
        std::printf("%s: no tower or no Plain Bob on %d in %s (build the data folder first)\n", c.tower, c.stage,
                    data.c_str());
        return 1;
      }
      std::vector<std::unique_ptr<Bell>> bells;
      for (int b = c.firstBell; b < c.firstBell + c.stage; ++b) {
        bells.push_back(std::make_unique<Bell>(b, false));
        bells.back()->load(tower);
      }
      const Method bob{c.stage, "Plain Bob", it->second.at("Plain Bob")};
      const long course = 2L * c.stage * (c.stage - 1);
      Figures all;
      for (const int speed : {150, tower.pealMins(), 240}) {
        const Result rung = Ring(bells, {c.stage, speed, &bob, nullptr, course + SkipRows});
        char label[96];
        std::snprintf(label, sizeof label, "%s, plain course on %d, %d min", c.tower, c.stage, speed);
        Print(label, rung.figures);
        all.Add(rung.figures);
      }
      char label[96];
      std::snprintf(label, sizeof label, "%s, plain course on %d: all", c.tower, c.stage);
      Print(label, all);
    }
  }
  Print("overall", overall);
  fs::remove_all(registry);
  return 0;
}
