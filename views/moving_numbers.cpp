#include "views/moving_numbers.h"

#include <algorithm>

namespace clangor {

MovingNumbers::MovingNumbers() {
  fromRow_.fill(-1);
  toRow_.fill(-1);
}

std::array<int, MaxBells> MovingNumbers::Identity() {
  std::array<int, MaxBells> row{};
  for (int i = 0; i < MaxBells; ++i) row[static_cast<std::size_t>(i)] = i;
  return row;
}

void MovingNumbers::Reset(const std::array<int, MaxBells>& row, std::uint32_t nowMs) {
  fromRow_ = toRow_ = row;
  highlightAt_ = moveStart_ = moveDuration_ = fraction_ = 0;
  noChange_ = true;
  highlight_ = false;
  lastDraw_ = nowMs;
  lastBlows_ = 0;
}

bool MovingNumbers::Update(double clockTime, int bell, const RowAtBlow& ringing, std::uint32_t nowMs) {
  if (bell < 0 && nowMs - lastDraw_ < MinStepMs) return false;
  if (bell >= 0) CountBlow(clockTime, ringing);
  if (highlightAt_ > 0 && clockTime >= highlightAt_ && !noChange_) {
    highlight_ = true;
    highlightAt_ = 0;
  }
  if (!highlightBriefly_ && !noChange_) highlight_ = true;
  fraction_ = moveDuration_ > 0 ? std::min((clockTime - moveStart_) / moveDuration_, 1.0) : 0.0;
  lastDraw_ = nowMs;
  return true;
}

// The row's second blow takes the new row, the third from last sets when the
// brief highlight starts, the last starts the slide. Several blows may come
// in one step of the worker, so each mark counts once it has been passed.
void MovingNumbers::CountBlow(double clockTime, const RowAtBlow& ringing) {
  const int n = std::clamp(ringing.bells, 0, MaxBells);
  const int k = ringing.blowsInRow;
  const int before = k < lastBlows_ ? 0 : lastBlows_;  // a new row has begun
  lastBlows_ = k;
  const auto passed = [&](int mark) { return before < mark && mark <= k; };
  if (passed(2)) TakeRow(ringing);
  if (passed(n - 2)) highlightAt_ = clockTime + ringing.blowInterval;
  if (passed(n)) {
    moveStart_ = clockTime;
    moveDuration_ = 2 * ringing.blowInterval;
  }
}

void MovingNumbers::TakeRow(const RowAtBlow& ringing) {
  const int n = std::clamp(ringing.bells, 0, MaxBells);
  moveStart_ = moveDuration_ = 0;
  noChange_ = true;
  for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
    fromRow_[i] = toRow_[i];
    toRow_[i] = ringing.row[i];
    if (fromRow_[i] != toRow_[i]) noChange_ = false;
  }
  highlight_ = false;
}

void MovingNumbers::ShiftTimes(double delta) {
  moveStart_ += delta;
  if (highlightAt_ > 0) highlightAt_ += delta;  // only a highlight still to come
}

}  // namespace clangor
