#include "tools/towerkit/swing_solver.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "engine/ringing_state.h"
#include "tower/bell.h"

namespace clangor::towerkit {

namespace {

constexpr double Gravity = 9.81;
constexpr int Balance = 18000;
// Longer than any swing; a bell still going by then has stuck at a balance.
constexpr double LongestSwing = 30.0;
constexpr double Unreachable = 1e9;  // "too long": the bell went over the balance

double Radians(int angle) { return angle * std::numbers::pi / 18000.0; }

int Reduced(int angle) {
  const int a = std::abs(angle);
  return a <= Balance ? a : 2 * Balance - a;
}

// Positions in the solver's row: the swing's transition group at 0 (speed,
// R1, R2) and the first-swing and setting values where the bell reads them.
constexpr int R1 = 1, R2 = 2;
constexpr int Push = 55, FirstPull = 56, SetCheck = 57, SetPull = 58, SetStop = 59;

}  // namespace

SwingSolver::SwingSolver(Bell& bell) : bell_(bell) {
  strongest_ = bell.data().maxPullAccel;
  RingingState& r = Ringing();
  r.currentTouch = nullptr;
  r.standRequested = false;
  r.firing = false;
  r.bellsInPlay = 2;
  r.pealSpeed = r.pealSpeedInUse = r.referenceSpeed = 180;
  r.rowBlows = r.firingStep = 0;
  r.standingRow = false;
  bell_.useControlRow(row_.data());
}

SwingSolver::~SwingSolver() {
  bell_.stand();
  bell_.useControlRow(nullptr);
}

double SwingSolver::SpeedToTurnAt(int side, double turnDegrees) const {
  const BellData& d = bell_.data();
  const int strike = side == 1 ? d.handStrike : d.backStrike;
  const double height = std::cos(Radians(Reduced(strike))) - std::cos(turnDegrees * std::numbers::pi / 180.0);
  return std::sqrt(2.0 * Gravity * d.pendulumLength * std::max(0.0, height));
}

// The bell just struck on `side`, rising on at `speed`. After the blow it
// asks for the swing at row position 0; the timing classes are chosen so that
// the blow that ends the swing has no transition and keeps its own speed.
void SwingSolver::PlaceAtBlow(int side, double speed) {
  const BellData& d = bell_.data();
  SwingState& s = bell_.state();
  s = SwingState{};
  s.time = 0.0;
  s.angle = side == 1 ? d.handStrike : d.backStrike;
  s.speed = speed;
  s.prevGravity = Gravity * std::sin(Radians(Reduced(s.angle)));
  s.turningClockwise = side == 0;
  s.handstrokeNext = side == 0;
  s.stood = false;
  s.transition = 0;
  s.nextTiming = side == 1 ? 3 : 0;
}

bool SwingSolver::StepToTurn() {
  SwingState& s = bell_.state();
  const bool direction = s.turningClockwise;
  while (s.turningClockwise == direction) {
    if (s.stood || s.time > LongestSwing || Reduced(s.angle) == Balance || std::abs(s.angle) > Balance) return false;
    if (bell_.advanceTo(s.time + 1e-12) & Bell::Struck) return false;
  }
  return !s.stood;
}

double SwingSolver::PullFor(int fromAngle, double fromSpeed, int angle, double speed, bool wholeDescent) const {
  const double length = bell_.data().pendulumLength;
  const auto height = [length](int a) { return length * (1.0 - std::cos(Radians(Reduced(a)))); };
  // Energy per unit mass, doubled: what gravity gives on the way, and what
  // the pull must make up.
  const double need = speed * speed - fromSpeed * fromSpeed - 2.0 * Gravity * (height(fromAngle) - height(angle));
  const double arc = wholeDescent || need > 0 ? Radians(std::abs(fromAngle) + std::abs(angle)) : Radians(std::abs(angle));
  return need / (2.0 * length * arc);
}

SwingSolver::Swing SwingSolver::Run(int side, double speed, double r1, double arrival) {
  row_.fill(0.0);
  row_[R1] = r1;
  PlaceAtBlow(side, speed);
  Swing swing;
  if (!StepToTurn()) return swing;
  const SwingState& s = bell_.state();
  const BellData& d = bell_.data();
  const int target = side == 1 ? d.backStrike : d.handStrike;
  row_[R2] = PullFor(s.angle, std::abs(s.speed), target, arrival, false);
  FinishSwing(swing);
  return swing;
}

SwingSolver::Swing SwingSolver::RunWithPull(int side, double speed, double r1, double r2) {
  row_.fill(0.0);
  row_[R1] = r1;
  PlaceAtBlow(side, speed);
  Swing swing;
  if (!StepToTurn()) return swing;
  row_[R2] = r2;
  FinishSwing(swing);
  return swing;
}

void SwingSolver::FinishSwing(Swing& swing) {
  const SwingState& s = bell_.state();
  swing.turnAngle = s.angle;
  swing.r2 = row_[R2];
  while (!s.stood && s.time < LongestSwing) {
    if (bell_.advanceTo(LongestSwing) & Bell::Struck) {
      swing.struck = true;
      swing.duration = s.strikeTime;
      swing.arrivalSpeed = std::abs(s.speed);
      break;
    }
  }
}

SwingSolver::FirstSwing SwingSolver::SolveFirstSwing(double push, double arrival) {
  const auto run = [&](double pull, double* time) {
    row_.fill(0.0);
    row_[Push] = push;
    row_[FirstPull] = pull;
    SwingState& s = bell_.state();
    s = SwingState{};
    s.angle = bell_.setAngle();
    s.prevGravity = Gravity * std::sin(Radians(Reduced(s.angle)));
    s.stood = false;
    s.firstSwing = true;
    s.handstrokeNext = true;
    // No transition at the blow, so the bell keeps the speed it arrived with.
    s.prevTiming = 2;
    s.nextTiming = 0;
    while (!s.stood && s.time < LongestSwing) {
      if (bell_.advanceTo(LongestSwing) & Bell::Struck) {
        *time = s.strikeTime;
        return std::abs(s.speed);
      }
    }
    *time = 0;
    return -1.0;
  };
  // The arrival speed rises with the pull: halve the range of pulls.
  double low = -strongest_, high = strongest_;
  double time = 0;
  for (int i = 0; i < 80; ++i) {
    const double mid = 0.5 * (low + high);
    (run(mid, &time) < arrival ? low : high) = mid;
  }
  FirstSwing first;
  first.push = push;
  first.pull = 0.5 * (low + high);
  run(first.pull, &first.time);
  return first;
}

double SwingSolver::SetSwing(double speed, double check, double overSpeed, double stop, bool* rests) {
  *rests = false;
  row_.fill(0.0);
  row_[SetCheck] = check;
  row_[SetStop] = stop;
  PlaceAtBlow(1, speed);
  SwingState& s = bell_.state();
  s.setting = true;
  if (!StepToTurn()) return Unreachable;
  // Over the balance beyond the backstroke blow, at overSpeed.
  row_[SetPull] = PullFor(s.angle, std::abs(s.speed), -Balance, overSpeed, true);
  double strikeTime = -1;
  while (!s.stood && s.time < LongestSwing) {
    if (bell_.advanceTo(LongestSwing) & Bell::Struck) strikeTime = s.strikeTime;
  }
  *rests = s.stood && strikeTime >= 0;
  lastSetPull_ = row_[SetPull];
  return strikeTime >= 0 ? strikeTime : Unreachable;
}

int SwingSolver::TurnAngle(int side, double speed, double check, bool setting) {
  row_.fill(0.0);
  row_[R1] = check;
  row_[SetCheck] = check;
  PlaceAtBlow(side, speed);
  bell_.state().setting = setting;
  if (!StepToTurn()) return OverTheBalance;
  return std::abs(bell_.state().angle);
}

}  // namespace clangor::towerkit
