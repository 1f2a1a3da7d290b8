// The swing: 0.2-degree steps under gravity, the stay, the rope terms, the
// turn at the top of each swing and the strike.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/ringing_state.h"
#include "tower/bell.h"

namespace clangor {

namespace {

constexpr double Gravity = 9.81;
constexpr int Balance = 18000;
// No bell's rim moves this fast; a faster speed from bad data is held here.
constexpr double MaxSpeed = 100.0;
// A bell wound this far round has left its stays behind; it is put to rest.
constexpr int MaxAngle = 36000;

// Height in the swing as an angle from the bottom, 0 to 18000.
int Reduced(int angle) {
  const int a = std::abs(angle);
  return a <= Balance ? a : 2 * Balance - a;
}

double GravityTerm(int angle) {
  return Gravity * std::sin(Reduced(angle) * std::numbers::pi / 18000.0);
}

}  // namespace

int Bell::advanceTo(double t) {
  int flags = 0;
  if (swing_.stood) {
    if (!data_->acwSequence.empty()) picture_ = data_->acwSequence.front();
    pictureIndex_ = 0;
    return PictureChanged;
  }
  int steps = 0;
  while (swing_.time < t && !(flags & Struck) && !swing_.stood) {
    if (manual_ && ++steps > ManualStepsPerCall) {
      swing_.time = t;
      break;
    }
    step(flags);
  }
  choosePicture(flags);
  return flags;
}

void Bell::step(int& flags) {
  SwingState& s = swing_;
  const BellData& d = *data_;
  if (!d.canSwing) {
    stand();
    flags |= PictureChanged | Stopped;
    return;
  }

  // The next angle, placed exactly at 0 or at the balance when the step
  // would cross it; the step after that mirrors the one cut short, so the
  // bell takes the same angles on both sides.
  const int length = s.partialStep > 0 ? s.partialStep : StepLengthDegrees;
  s.partialStep = 0;
  int next = s.turningClockwise ? s.angle - length : s.angle + length;
  for (const int mark : {0, Balance, -Balance}) {
    if ((s.angle < mark && next > mark) || (s.angle > mark && next < mark)) {
      s.partialStep = std::abs(s.angle - mark);
      next = mark;
    }
  }
  const double stepLength = d.stepLength * std::abs(next - s.angle) / StepLengthDegrees;
  // Climbing: moving away from the bottom (or back towards the balance from
  // beyond it). The speed's sign follows.
  const bool climbing = Reduced(next) > Reduced(s.angle);
  const double speed = std::abs(s.speed);

  const double gravityNow = GravityTerm(next);
  const double meanGravity = (gravityNow + s.prevGravity) / 2.0;
  s.prevGravity = gravityNow;

  double acceleration;  // positive works against the fall
  const int setLimit = setAngle();
  const int otherLimit = otherStayAngle();
  bool inStay = false;
  if ((s.angle <= setLimit && next <= setLimit) || (s.angle >= otherLimit && next >= otherLimit)) {
    inStay = true;
    const int limit = s.angle <= setLimit ? setLimit : otherLimit;
    const bool movingIn = std::abs(next) > std::abs(s.angle);
    acceleration = std::abs(limit - (s.angle + next) / 2.0) * 0.05 * (movingIn ? 10 : 6);
  } else {
    acceleration = ropeTerm(next, meanGravity);
  }

  // Speed squared changes by 2 a s, with the sign of the work: a positive
  // acceleration helps a climbing bell and checks a falling one.
  const double gain = 2.0 * acceleration * stepLength * (climbing ? 1.0 : -1.0);
  const bool decelerating = gain < 0;
  if (decelerating && speed * speed < -gain) {
    turnOver(acceleration, climbing, inStay, flags);
    return;
  }
  double newSpeed = std::min(std::sqrt(std::abs(speed * speed + gain)), MaxSpeed);
  const double moved = speed + newSpeed;
  if (moved <= 0 || !std::isfinite(moved)) {
    // Nothing moves the bell from where it is: it is at rest.
    stand();
    flags |= PictureChanged | Stopped;
    return;
  }
  s.time += 2.0 * stepLength / moved;
  s.stillTurns = 0;
  s.speed = climbing ? newSpeed : -newSpeed;
  s.angle = next;
  if (next == 0 || std::abs(next) == Balance) s.stayHits = 0;
  if (std::abs(next) >= MaxAngle) {
    stand();
    flags |= PictureChanged | Stopped;
    return;
  }

  if ((s.handstrokeNext && next >= d.handStrike) || (!s.handstrokeNext && next <= d.backStrike)) {
    strike(flags);
  }
}

// The rope's part of the acceleration (with gravity's -G) outside the stay.
double Bell::ropeTerm(int next, double g) const {
  const SwingState& s = swing_;
  const BellData& d = *data_;
  if (manual_) {
    // The user's pull speeds the bell along its swing, in the pulling zones.
    const bool pulling = pull_ > 0 && (s.angle >= PullLimitAngle || s.angle <= -PullLimitAngle);
    if (!pulling) return -g;
    const bool climbing = Reduced(next) > Reduced(s.angle);
    const double pull = std::clamp(pull_, 0.0, 1.0) * d.maxPullAccel;
    return climbing ? pull - g : -(g + pull);
  }
  const auto value = [this](int i) { return rowValue(i); };
  if (s.firstSwing) {
    if (next < -17999) return value(55) - g;
    if (next > 0 && next <= d.handStrike) return value(56) - g;
    return -g;
  }
  if (s.setting) {
    if (!s.turningClockwise) {
      return next > d.handStrike && next <= Balance ? -(g + value(57)) : -g;
    }
    if (next > 3 && next < Balance) return -(g + value(58));
    if (next > -18001 && next <= 3) return value(58) - g;
    if (next <= -18001) return value(59) - g;
    return -g;
  }
  const double r1 = s.transition >= 0 ? value(s.transition + 1) : 0.0;
  const double r2 = s.transition >= 0 ? value(s.transition + 2) : 0.0;
  if (!s.turningClockwise) {
    if (!s.handstrokeNext) return next > d.handStrike && next <= Balance ? -(g + r1) : -g;
    if (next < -17999) return -g;
    if (next > 0 && next <= d.handStrike) return r2 - g;
    if (next <= 0 && r2 > 0) return -(g + r2);
    return -g;
  }
  if (s.handstrokeNext) return next > -18001 && next < d.backStrike ? -(g + r1) : -g;
  if (next > 17999) return -g;
  if (next >= d.backStrike && next < 0) return r2 - g;
  if (next >= 0 && r2 > 0) return -(g + r2);
  return -g;
}

// The bell cannot climb a full step: it stops short of the next angle and
// comes back to this one at the speed it had (the turn keeps its energy). On
// the stay this is a bounce; a bell being set comes to rest at its first turn
// after its last blow.
void Bell::turnOver(double acceleration, bool climbing, bool inStay, int& flags) {
  SwingState& s = swing_;
  const double a = std::abs(acceleration);
  double newSpeed = std::abs(s.speed);
  s.time += 2.0 * newSpeed / a;
  s.turningClockwise = !s.turningClockwise;
  pictureIndex_ = 0;  // the picture is looked for again along the new direction
  // A bell held still between two opposing forces turns on the spot; it is
  // at rest.
  if (newSpeed == 0 && ++s.stillTurns > MaxStillTurns) {
    stand();
    flags |= PictureChanged | Stopped;
    return;
  }

  if (s.setting && s.setBackstroke) {
    stand();
    flags |= PictureChanged | Stopped;
    return;
  }
  if (inStay) {
    if (++s.stayHits > MaxBounces && !manual_) {
      stand();
      flags |= PictureChanged | Stopped;
      return;
    }
    newSpeed *= 0.7;
  }
  s.speed = climbing ? -newSpeed : newSpeed;

  const RingingState& r = Ringing();
  if (s.pendingSpeedChange.pending) {
    const TurnDelay& delay = s.pendingSpeedChange;
    const int k = r.bellsInPlay;
    const int places = delay.delta <= 0 ? delay.place - 1 : k - delay.place;
    s.time += std::max(0, places) * std::abs(delay.delta) * r.changeRate;
    s.pendingSpeedChange = TurnDelay{};
  }
  // A firing delay waits for the turn after it was given. Joining, it is kept
  // (negated) while the bells fire, for the leaving step to undo; leaving,
  // it is spent. A delay already kept waits untouched.
  if (s.extraDelay > 0) {
    s.time += s.extraDelay;
    s.extraDelay = r.firing ? -s.extraDelay : 0.0;
  }
  if (s.setting && s.turningClockwise) s.time += data_->setDelay * 0.001;
  if (!std::isfinite(s.time)) {
    stand();
    flags |= PictureChanged | Stopped;
  }
}

}  // namespace clangor
