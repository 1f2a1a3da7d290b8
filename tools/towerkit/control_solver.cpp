#include "tools/towerkit/control_solver.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <numbers>
#include <stdexcept>

#include "engine/ringing_state.h"
#include "tools/towerkit/band_sweep.h"
#include "tools/towerkit/swing_solver.h"
#include "tower/bell.h"
#include "tower/control_table.h"

namespace clangor::towerkit {

namespace {

// A swing left to itself carries the bell up to here: a little short of the
// balance, so that there is room to check it sooner or let it hang longer.
constexpr double NaturalTurnDegrees = 178.5;
// The push that takes a bell off its stay at the start, beyond the pull of
// gravity there, and the check that holds it on its stay when it is set.
constexpr double PushOverStay = 1.5;      // m/s^2 more than gravity at the stay
constexpr double SetOverSpeed = 0.3;      // m/s over the balance when set
constexpr double SetStop = 3.0;           // m/s^2
// A swing may end this much faster or slower (a fraction of the speed) than
// the next swing starts, where the bands of the swing leave a gap.
constexpr double MaxArrivalMismatch = 0.05;

// The swing times the table asks of a bell from a blow on `side`: the timing
// classes after that side's blow, for every number of bells and speed.
double SwingTime(int bellsInPlay, int speed, int timingClass) {
  return (bellsInPlay - 1 + timingClass) * BlowIntervalFor(speed, bellsInPlay);
}
// A bell set at Stand is checked up to its balance after its handstroke, a
// longer swing than any in the ringing: its last backstroke comes one blow
// interval later than a backstroke would.
double SettingTime(int bellsInPlay, int speed) { return SwingTime(bellsInPlay, speed, 2); }

// The open gap comes after a backstroke: the swings from it take classes 1
// to 3, those from a handstroke 0 to 2.
int FirstClass(int side) { return side == 0 ? 1 : 0; }

struct SolvedSwing {
  double time;
  double r1, r2;
  double made;  // the time r1 and r2 really give
  bool timeMet;
  bool within;
};

// The pull after the turn, from `r2` on, that makes the swing last `wanted`:
// a stronger pull brings the blow sooner.
SwingSolver::Swing PullToTime(SwingSolver& solver, int side, double speed, double r1, double r2, double wanted) {
  // Secant steps: the time of the fall is close to straight in the pull.
  double x0 = r2;
  SwingSolver::Swing s0 = solver.RunWithPull(side, speed, r1, x0);
  double x1 = r2 + (s0.duration > wanted ? 1e-3 : -1e-3);
  SwingSolver::Swing s1 = solver.RunWithPull(side, speed, r1, x1);
  for (int i = 0; i < 30 && s0.struck && s1.struck; ++i) {
    const double f0 = s0.duration - wanted, f1 = s1.duration - wanted;
    if (std::abs(f1) < 1e-10 || f1 == f0) break;
    const double x2 = x1 - f1 * (x1 - x0) / (f1 - f0);
    x0 = x1;
    s0 = s1;
    x1 = x2;
    s1 = solver.RunWithPull(side, speed, r1, x1);
  }
  return s1.struck ? s1 : s0;
}

// The times a bell's swings must take, sorted.
std::vector<double> SortedTimes(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  times.erase(std::unique(times.begin(), times.end()), times.end());
  return times;
}

// Solves the swings from a blow on `side` for every time the table asks,
// in increasing order through the bands of the bell's turning angle.
std::vector<SolvedSwing> SolveSide(SwingSolver& solver, int count, int side, double speed, double arrival,
                                   SolveReport& report) {
  std::vector<double> times;
  for (int k = 2; k <= count; ++k) {
    for (int s = MinPealSpeed; s <= MaxPealSpeed; ++s) {
      for (int q = FirstClass(side); q < FirstClass(side) + 3; ++q) times.push_back(SwingTime(k, s, q));
    }
  }
  BandSweep sweep([&](double r1) { return solver.TurnAngle(side, speed, r1); },
                  [&](double r1) {
                    const SwingSolver::Swing swing = solver.Run(side, speed, r1, arrival);
                    return swing.struck ? swing.duration : 1e9;
                  },
                  solver.strongestPull());
  std::vector<SolvedSwing> solved;
  for (const double t : SortedTimes(times)) {
    const BandSweep::Answer answer = sweep.Solve(t);
    SwingSolver::Swing swing = solver.Run(side, speed, answer.r, arrival);
    // A time between two bands: the pull after the turn makes it up, and the
    // bell arrives a little faster or slower than the next swing assumes.
    if (!answer.within && swing.struck) swing = PullToTime(solver, side, speed, answer.r, swing.r2, t);
    const bool timeMet = std::abs(swing.duration - t) < 1e-6 && std::abs(swing.r2) <= solver.strongestPull();
    const bool within = timeMet && std::abs(swing.arrivalSpeed - arrival) < MaxArrivalMismatch * arrival;
    solved.push_back({t, answer.r, swing.r2, swing.duration, timeMet, within});
    ++report.swingsSolved;
    if (within) {
      report.worstTimeError = std::max(report.worstTimeError, std::abs(swing.duration - t));
      report.worstArrivalError = std::max(report.worstArrivalError, std::abs(swing.arrivalSpeed - arrival));
    }
  }
  return solved;
}

struct SolvedSetting {
  double time, check, pull;
  double made;  // when the last blow really comes
  bool rests;
};

std::vector<SolvedSetting> SolveSettings(SwingSolver& solver, int count, double speed) {
  std::vector<double> times;
  for (int k = 2; k <= count; ++k) {
    for (int s = MinPealSpeed; s <= MaxPealSpeed; ++s) times.push_back(SettingTime(k, s));
  }
  BandSweep sweep([&](double check) { return solver.TurnAngle(1, speed, check, true); },
                  [&](double check) {
                    bool rests = false;
                    return solver.SetSwing(speed, check, SetOverSpeed, SetStop, &rests);
                  },
                  solver.strongestPull());
  std::vector<SolvedSetting> solved;
  for (const double t : SortedTimes(times)) {
    const BandSweep::Answer answer = sweep.Solve(t);
    bool rests = false;
    double made = solver.SetSwing(speed, answer.r, SetOverSpeed, SetStop, &rests);
    double pull = solver.setPull();
    if (!answer.within) {
      // Between two bands: a little more or less speed over the balance
      // (a stronger or weaker pull after the turn) brings the last blow to
      // its place.
      double x0 = SetOverSpeed, f0 = made - t;
      double x1 = SetOverSpeed + (f0 > 0 ? 0.02 : -0.02);
      for (int i = 0; i < 30 && std::abs(f0) > 1e-10; ++i) {
        bool r1 = false;
        const double f1 = solver.SetSwing(speed, answer.r, x1, SetStop, &r1) - t;
        if (f1 >= 1e8 || f1 == f0) break;
        if (std::abs(f1) < std::abs(made - t) && r1) {
          made = f1 + t;
          pull = solver.setPull();
          rests = r1;
        }
        const double x2 = std::clamp(x1 - f1 * (x1 - x0) / (f1 - f0), 0.02, 1.5);
        x0 = x1;
        f0 = f1;
        x1 = x2;
      }
    }
    solved.push_back({t, answer.r, pull, made, rests});
  }
  return solved;
}

template <typename Solved>
const Solved& Find(const std::vector<Solved>& solved, double time) {
  const auto it = std::lower_bound(solved.begin(), solved.end(), time,
                                   [](const Solved& s, double t) { return s.time < t; });
  if (it == solved.end() || it->time != time) throw std::logic_error("swing time not solved");
  return *it;
}

}  // namespace
int TransitionPosition(int side, int previous, int next) {
  if (side == 1 && previous >= 1 && previous <= 3 && next >= 0 && next <= 2) return 9 * (previous - 1) + 3 * next;
  if (side == 0 && previous >= 0 && previous <= 2 && next >= 1 && next <= 3) return 27 + 9 * previous + 3 * (next - 1);
  return -1;
}

std::size_t RowIndex(int bellCount, int bell, int bellsInPlay, int pealSpeed) {
  return static_cast<std::size_t>(bellCount - 1) * bell * ControlBlock +
         (static_cast<std::size_t>(bellsInPlay - 2) * ControlSpeeds + (pealSpeed - MinPealSpeed)) * ControlRowLength;
}

std::vector<double> SolveControlTable(const std::vector<Bell*>& bells, SolveReport& report) {
  const int count = static_cast<int>(bells.size());
  std::vector<double> values(static_cast<std::size_t>(count) * count * ControlBlock, 0.0);
  for (int b = 0; b < count; ++b) {
    SwingSolver solver(*bells[static_cast<std::size_t>(b)]);
    // The speed at each side's blow: the same whatever swing came before, so
    // a swing may be followed by any other.
    const double speedAt[2] = {solver.SpeedToTurnAt(0, NaturalTurnDegrees), solver.SpeedToTurnAt(1, NaturalTurnDegrees)};
    std::vector<SolvedSwing> swings[2];
    for (int side = 0; side < 2; ++side) {
      swings[side] = SolveSide(solver, count, side, speedAt[side], speedAt[1 - side], report);
    }
    // Gravity's pull at the stay, the bell beyond its balance.
    const int pastBalance = std::abs(std::abs(bells[static_cast<std::size_t>(b)]->setAngle()) - 18000);
    const double stayGravity = 9.81 * std::sin(pastBalance * std::numbers::pi / 18000.0);
    const SwingSolver::FirstSwing first = solver.SolveFirstSwing(stayGravity + PushOverStay, speedAt[1]);
    const std::vector<SolvedSetting> settings = SolveSettings(solver, count, speedAt[1]);

    bool settingShort = false;
    for (int k = 2; k <= count; ++k) {
      for (int speed = MinPealSpeed; speed <= MaxPealSpeed; ++speed) {
        double* row = values.data() + RowIndex(count, b, k, speed);
        for (int side = 0; side < 2; ++side) {
          for (int q = FirstClass(side); q < FirstClass(side) + 3; ++q) {
            const double time = SwingTime(k, speed, q);
            const SolvedSwing& swing = Find(swings[side], time);
            if (!swing.within) report.shortfalls.push_back({b + 1, k, speed, side, q, time, swing.made, swing.timeMet});
            // Every swing that ends in a blow on this side leads here.
            for (int p = 0; p <= 3; ++p) {
              const int at = TransitionPosition(side, p, q);
              if (at < 0) continue;
              row[at] = speedAt[side];
              row[at + 1] = swing.r1;
              row[at + 2] = swing.r2;
            }
          }
        }
        const SolvedSetting& set = Find(settings, SettingTime(k, speed));
        if (!set.rests) settingShort = true;
        report.worstSettingError = std::max(report.worstSettingError, std::abs(set.made - set.time));
        row[54] = first.time;
        row[55] = first.push;
        row[56] = first.pull;
        row[57] = set.check;
        row[58] = set.pull;
        row[59] = SetStop;
      }
    }
    if (settingShort) report.settingShortfalls.push_back(b + 1);
  }
  return values;
}

void WriteControlFile(const std::string& path, int bellCount, const std::vector<double>& values) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + path);
  const auto put32 = [&out](std::uint32_t v) {
    const char bytes[4] = {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24 & 0xFF)};
    out.write(bytes, 4);
  };
  put32(static_cast<std::uint32_t>(bellCount));
  put32(1);
  std::vector<char> bytes(values.size() * 8);
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::uint64_t u;
    static_assert(sizeof u == sizeof(double));
    std::memcpy(&u, &values[i], 8);
    for (int j = 0; j < 8; ++j) bytes[i * 8 + j] = static_cast<char>(u >> (8 * j) & 0xFF);
  }
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace clangor::towerkit
