// What happens at a blow: the timing transition that picks the next swing
// from the control row, the per-blow step shared by all bells (rows, firing,
// a new peal speed), Stand; and starting and standing a bell.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/ringing_state.h"
#include "ringing/change_generator.h"
#include "tower/bell.h"
#include "tower/control_table.h"

namespace clangor {

namespace {

constexpr double Gravity = 9.81;
constexpr double MaxSpeed = 100.0;

// Position in the control row of the swing after a blow, by the stroke side
// s (1 after a blow at the handstroke angle), the timing class p of the
// swing just ended and q of the next: T[q + 4p + 16s], -1 where the table
// has no swing. The open handstroke gap is the swing from a backstroke to
// the next handstroke, so classes 1 to 3 follow a backstroke and 0 to 2 a
// handstroke.
constexpr int Transitions[32] = {
    -1, 27, 30, 33, -1, 36, 39, 42, -1, 45, 48, 51, -1, -1, -1, -1,
    -1, -1, -1, -1,  0,  3,  6, -1,  9, 12, 15, -1, 18, 21, 24, -1,
};

int TransitionFor(int side, int prev, int next) {
  if (prev < 0 || prev > 3 || next < 0 || next > 3) return -1;
  return Transitions[next + 4 * prev + 16 * side];
}

}  // namespace

void Bell::strike(int& flags) {
  SwingState& s = swing_;
  RingingState& r = Ringing();
  const int side = s.handstrokeNext ? 1 : 0;
  s.strikeTime = s.time;
  flags |= Struck;
  s.firstSwing = false;
  s.prevTiming = s.nextTiming;
  s.handstrokeNext = !s.handstrokeNext;
  if (manual_) return;

  perBlowStep(side);
  // The bells of the row being struck when Stand came hold the touch's
  // moves; the standing timing begins with the next row.
  if (r.standRequested && r.standingRows) {
    // In place: the backstroke follows the handstroke at once, the gap
    // comes before the next handstroke.
    s.nextTiming = side == 1 ? 1 : 2;
  } else if (ChangeGenerator* touch = r.currentTouch) {
    // The touch numbers the bells in play, not the tower's bells.
    s.nextTiming = touch->NextStrike(position_);
  }
  s.transition = TransitionFor(side, s.prevTiming, s.nextTiming);

  if (s.setting) {
    // Being set: the handstroke checked up to the balance, then the last
    // backstroke; the bell comes to rest at its next turn.
    if (side == 0) s.setBackstroke = true;
    return;
  }
  // Stand: the bells set at the handstroke of the first row that starts at
  // handstroke after the call.
  if (r.standRequested && r.standingRow && side == 1) {
    s.setting = true;
    s.setBackstroke = false;
  }
  if (s.transition >= 0 && row_) {
    const double speed = std::clamp(rowValue(s.transition), -MaxSpeed, MaxSpeed);
    s.speed = speed;
  }
}

// Rows, firing and a new peal speed, counted over the blows of all bells.
void Bell::perBlowStep(int side) {
  RingingState& r = Ringing();
  SwingState& s = swing_;
  const int k = r.bellsInPlay;
  bool completed = false;
  bool rowStarts = r.rowBlows == 0;
  if (r.rowBlows >= k) {
    rowStarts = true;
    r.rowBlows = 0;
    completed = r.pealSpeedInUse != r.pealSpeed && r.referenceSpeed == r.pealSpeed;
    r.pealSpeedInUse = r.referenceSpeed.load();
    // A new speed waits while the bells stand or come back to rounds.
    const ChangeGenerator* touch = r.currentTouch;
    if (!r.standRequested && !(touch && touch->roundsRequested)) r.referenceSpeed = r.pealSpeed.load();
  }
  if (rowStarts && r.standRequested) {
    r.standingRows = true;
    if (side == 1) r.standingRow = true;
  }

  if (r.firing) {
    if (r.firingStep < k && (r.firingStep > 0 || (r.rowBlows == 0 && s.handstrokeNext))) {
      r.blowInterval = BlowIntervalFor(r.pealSpeedInUse, k);
      s.extraDelay = (k - r.rowBlows) * r.blowInterval;
      ++r.firingStep;
    }
  } else if (r.firingStep > 0 && (r.firingStep < k || (r.rowBlows == 0 && s.handstrokeNext))) {
    r.blowInterval = BlowIntervalFor(r.pealSpeedInUse, k);
    s.extraDelay += k * r.blowInterval;
    --r.firingStep;
  }
  ++r.rowBlows;

  if (r.referenceSpeed != r.pealSpeedInUse) {
    row_ = rowAddress(r.referenceSpeed, ringingCount());
    s.pendingSpeedChange = TurnDelay{true, r.rowBlows, r.pealSpeedInUse - r.referenceSpeed, side};
  }
  if (completed && r.speedChangeCarriedOut) r.speedChangeCarriedOut();
}

void Bell::start(int position) {
  RingingState& r = Ringing();
  if (r.bellsSwinging == 0) {
    const int k = r.bellsInPlay;
    r.blowInterval = BlowIntervalFor(r.pealSpeedInUse, k);
    r.changeRate = ChangeRateFor(k);
    r.firingStep = 0;
    r.standingRow = r.standingRows = false;
  }
  r.rowBlows = 0;
  if (!manual_) {
    if (!counted_) ++r.bellsSwinging;
    counted_ = true;
    position_ = position;
  }
  SwingState& s = swing_;
  const double time = s.time;
  s = SwingState{};
  s.time = time;
  s.angle = setAngle();
  s.handstrokeNext = true;
  s.turningClockwise = false;
  // Gravity's pull at the set angle, measured from the nearer balance as each
  // step measures it (a set angle lies beyond the balance).
  const int fromBottom = std::abs(s.angle) <= 18000 ? std::abs(s.angle) : 36000 - std::abs(s.angle);
  s.prevGravity = Gravity * std::sin(fromBottom * std::numbers::pi / 18000.0);
  s.speed = 0;
  s.stood = false;
  s.extraDelay = 0;
  s.firstSwing = true;
  s.setting = false;
  s.prevTiming = 2;
  s.nextTiming = 1;
  s.stayHits = 0;
  pictureIndex_ = 0;
  row_ = rowAddress(r.pealSpeedInUse, ringingCount());
}

void Bell::stand() {
  SwingState& s = swing_;
  s.angle = setAngle();
  s.speed = 0;
  s.handstrokeNext = true;
  s.turningClockwise = false;
  s.stood = true;
  s.setting = s.setBackstroke = false;
  s.firstSwing = false;
  s.partialStep = 0;
  s.stayHits = 0;
  s.extraDelay = 0;
  s.pendingSpeedChange = TurnDelay{};
  pictureIndex_ = 0;
  if (!data_->acwSequence.empty()) picture_ = data_->acwSequence.front();
  if (!counted_) return;
  counted_ = false;
  RingingState& r = Ringing();
  // The last bell to come to rest ends Stand and firing.
  if (--r.bellsSwinging <= 0) {
    r.bellsSwinging = 0;
    r.standRequested = false;
    r.firing = false;
    r.standingRow = r.standingRows = false;
  }
}

int Bell::ringingCount() const {
  const int inPlay = Ringing().bellsInPlay;
  return inPlay >= 2 ? inPlay : towerBellCount_;
}

const double* Bell::rowAddress(int speed, int ringing) const {
  return table_ ? table_->Row(data_->index, ringing, speed) : nullptr;
}

double Bell::rowValue(int index) const {
  if (!row_ || index < 0 || index >= ControlRowLength) return 0.0;
  return row_[index];
}

int Bell::timingLevel(int speed) const {
  if (speed == 0) speed = Ringing().pealSpeedInUse;
  const double* row = rowAddress(speed, ringingCount());
  if (!row) return 0;
  if (row[18] != 0) return 3;
  if (row[21] != 0) return 2;
  if (row[12] != 0) return 1;
  return 0;
}

}  // namespace clangor
