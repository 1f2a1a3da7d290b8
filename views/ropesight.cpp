#include "views/ropesight.h"

#include <algorithm>
#include <cstdlib>

namespace clangor {

namespace {
// The own bell past this angle (either side) is swinging down to its next
// blow: the tints change to the row it is about to strike in.
constexpr int NextRowAngle = 11000;
}  // namespace

int RopesightScores::HitBarTop(int height) const {
  const int total = Total();
  if (total <= 0) return height;
  return static_cast<int>(static_cast<long long>(height) * (upMisses + placesDownMisses) / total);
}

std::string RopesightStatistics(const RopesightScores& s, int changesRung) {
  const int total = s.Total();
  if (total < 1) return {};
  auto line = [](int hits, int all) {
    const int percent = all > 0 ? hits * 100 / all : 0;
    return std::to_string(hits) + " / " + std::to_string(all) + " hits (" + std::to_string(percent) + "%)";
  };
  std::string text = "Up:\t\t" + line(s.upTotal - s.upMisses, s.upTotal) + "\n";
  text += "Places and Down:\t" + line(s.placesDownTotal - s.placesDownMisses, s.placesDownTotal) + "\n";
  text += "Overall:\t\t" + line(total - s.upMisses - s.placesDownMisses, total);
  if (changesRung > total) text += "\n(blows leading are not scored)";
  return text;
}

std::string CallChangeTip(const std::vector<int>& row, int id, bool callUp, const std::vector<int>& numbers) {
  const int n = static_cast<int>(row.size());
  const int p = static_cast<int>(std::find(row.begin(), row.end(), id) - row.begin());
  auto name = [&](int place) {
    const int who = row[static_cast<std::size_t>(place)];
    return std::to_string(who >= 0 && who < static_cast<int>(numbers.size()) ? numbers[static_cast<std::size_t>(who)] : who + 1);
  };
  if (p >= n) return {};
  // Up: the bell, " to ", the bell it passes. Down: the bell, " to " the
  // bell it will follow, or " lead".
  if (callUp) return p + 1 < n ? name(p) + " to " + name(p + 1) : std::string();
  if (p == 0) return {};
  return p == 1 ? name(p) + " lead" : name(p) + " to " + name(p - 2);
}

Ropesight::Ropesight(int bellCount) : flashes_(static_cast<std::size_t>(std::max(bellCount, 0))) { ResetRows(); }

void Ropesight::ResetRows() {
  previousRow_.resize(flashes_.size());
  for (std::size_t k = 0; k < previousRow_.size(); ++k) previousRow_[k] = static_cast<int>(k);
  currentRow_ = snapshotRow_ = previousRow_;
}

Ropesight::Flash* Ropesight::FlashOf(int bell) {
  return bell >= 0 && bell < static_cast<int>(flashes_.size()) ? &flashes_[static_cast<std::size_t>(bell)] : nullptr;
}

int Ropesight::PlaceOf(const std::vector<int>& row, int id) {
  const auto at = std::find(row.begin(), row.end(), id);
  return static_cast<int>(at - row.begin());
}

int Ropesight::SetOwnRope(int bell, const RingingSnapshot& now) {
  const RopeBellState* b = now.Bell(bell);
  ownRope_ = (bell == ownRope_ || b == nullptr || !b->exists) ? -1 : bell;
  RefreshOwnRopeId(now);
  for (Flash& f : flashes_) f.state = 0;
  return ownRope_;
}

void Ropesight::RefreshOwnRopeId(const RingingSnapshot& now) {
  const RopeBellState* b = now.Bell(ownRope_);
  ownId_ = b != nullptr && b->inPlay ? b->id : -1;
}

void Ropesight::OnBlow(int bell, const RingingSnapshot& now, int flashDelay) {
  if (now.rowBells <= 2 || bell < 0) return;
  if (now.rowBlows == 1) {
    previousRow_ = currentRow_;
    currentRow_ = now.row;
  }
  const RopeBellState* own = now.Bell(ownRope_);
  if (bell != ownRope_ || own == nullptr) return;
  // The handstroke gap counts as a place in the code of a move into a
  // handstroke row: take it off the code that has it.
  int cur = own->nextMove;
  int prev = own->prevMove;
  if (own->struckHandstroke) --prev;
  else --cur;

  const int ownPlace = PlaceOf(currentRow_, ownId_);
  aboveBelowDone_ = false;
  snapshotRow_ = currentRow_;
  aboveBelowPhase_ = 0;
  if (prev == 0) aboveBelowPhase_ = lastPrevMove_ == 0 ? 2 : 1;
  lastPrevMove_ = prev;
  lastCurMove_ = cur;

  // Leading, the own bell follows the last bell of the row before.
  int followed;
  if (ownPlace == 0) {
    if (previousRow_.empty()) return;
    followed = previousRow_.back();
  } else {
    if (ownPlace - 1 >= static_cast<int>(currentRow_.size())) return;
    followed = currentRow_[static_cast<std::size_t>(ownPlace - 1)];
  }
  int target = -1;
  for (int b = 0; b < static_cast<int>(now.bells.size()); ++b)
    if (now.bells[static_cast<std::size_t>(b)].inPlay && now.bells[static_cast<std::size_t>(b)].id == followed) target = b;
  if (target < 0 || ownPlace == 0) return;  // blows while leading are not scored

  Flash& f = flashes_[static_cast<std::size_t>(target)];
  f.due = now.bells[static_cast<std::size_t>(target)].time + flashDelay * 0.1 * now.rowBells * now.blowInterval;
  f.started = false;
  f.start = 0;
  f.end = FlashMs;
  f.state = cur == 0 ? FlashDown : cur == 1 ? FlashPlace : cur == 2 ? FlashUp : 0;
}

void Ropesight::CheckAboveBelow(const RingingSnapshot& now) {
  const RopeBellState* own = now.Bell(ownRope_);
  if (own == nullptr || aboveBelowDone_) return;
  const int a = own->angle;
  const bool rising = (a > 0 && own->anticlockwise) || (a < 0 && !own->anticlockwise);
  if (!rising && aboveBelowPhase_ != 1) return;
  switch (aboveBelowPhase_) {
    case 0:
      ComputeAboveBelow(false, now);
      aboveBelowDone_ = true;
      break;
    case 1:
      ComputeAboveBelow(false, now);
      if (lastCurMove_ == 0) aboveBelowPhase_ = 2;
      else aboveBelowDone_ = true;
      break;
    default:
      if (std::abs(a) < NextRowAngle) {
        ComputeAboveBelow(lastCurMove_ == 0, now);
        aboveBelowDone_ = true;
      }
      break;
  }
}

void Ropesight::ComputeAboveBelow(bool followedBelow, const RingingSnapshot& now) {
  const int ownPlace = PlaceOf(snapshotRow_, ownId_);
  for (int b = 0; b < static_cast<int>(flashes_.size()); ++b) {
    Flash& f = flashes_[static_cast<std::size_t>(b)];
    if (ownRope_ < 0) {
      f.below = true;
      continue;
    }
    const RopeBellState* s = now.Bell(b);
    if (b == ownRope_ || s == nullptr || !s->inPlay) continue;
    const int place = PlaceOf(snapshotRow_, s->id);
    const bool inRow = place < static_cast<int>(snapshotRow_.size());
    f.below = inRow && (place > ownPlace || (followedBelow && place == ownPlace - 1));
  }
}

bool Ropesight::Below(int bell) const {
  return bell < 0 || bell >= static_cast<int>(flashes_.size()) || flashes_[static_cast<std::size_t>(bell)].below;
}

int Ropesight::FlashState(int bell, std::uint32_t now, double bellTime, int pointerBell) {
  Flash* f = FlashOf(bell);
  if (f == nullptr || f->state == 0) return 0;
  if (!f->started) {
    if (bellTime < f->due) return 0;
    f->started = true;
    f->start = now;
    f->end += now;
    const bool up = f->state == FlashUp;
    ++(up ? scores_.upTotal : scores_.placesDownTotal);
    if (pointerBell != bell) ++(up ? scores_.upMisses : scores_.placesDownMisses);
  }
  // Measured from the start, so a tick count that wraps during the flash ends it on time.
  if (now - f->start <= f->end - f->start) return f->state;
  f->state = 0;
  return 0;
}

void Ropesight::ShiftTime(double seconds) {
  for (Flash& f : flashes_)
    if (f.state != 0 && !f.started) f.due += seconds;
}

}  // namespace clangor
