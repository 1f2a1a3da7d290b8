#include "views/numbers_content.h"

#include <algorithm>

#include "engine/ringing_state.h"
#include "engine/tower_window.h"
#include "platform/ticks.h"
#include "shell/settings_table.h"

namespace clangor {

std::array<int, MaxBells> NumbersContent::RowBeingRung(int* bells) const {
  std::array<int, MaxBells> row = MovingNumbers::Identity();
  if (bells) *bells = 0;
  TowerWindow* engine = engine_;
  if (engine == nullptr) return row;
  // The touch numbers the bells in play from the lowest; the strip shows the
  // tower's numbers.
  std::array<int, MaxBells> towerBell{};
  int inPlay = 0;
  for (int b = 0; b < engine->bellCount() && inPlay < MaxBells; ++b)
    if (engine->IsBellInPlay(b)) towerBell[static_cast<std::size_t>(inPlay++)] = b;
  engine->WithTouch([&](ChangeGenerator* touch) {
    if (touch == nullptr) return;
    const Row& current = touch->currentRow();
    const int n = std::min(static_cast<int>(current.size()), inPlay);
    for (int i = 0; i < n; ++i) {
      const int id = current[static_cast<std::size_t>(i)];
      row[static_cast<std::size_t>(i)] = id >= 0 && id < inPlay ? towerBell[static_cast<std::size_t>(id)] : id;
    }
    if (bells) *bells = n;
  });
  return row;
}

int NumbersContent::PlacesInPlay(int towerBells) {
  const int inPlay = Ringing().bellsInPlay;
  return std::clamp(inPlay >= 2 ? inPlay : towerBells, 1, MaxBells);
}

void NumbersContent::Show(bool shown) {
  reset();
  shown_ = shown;
}

void NumbersContent::reset() {
  const auto row = RowBeingRung();
  const bool briefly = settings_ && settings_->GetInt(setting::HighlightBriefly) == 1;
  std::lock_guard lock(lock_);
  numbers_.SetHighlightBriefly(briefly);
  numbers_.Reset(row, ticks_.Ticks());
}

void NumbersContent::shiftTime(double seconds) {
  std::lock_guard lock(lock_);
  numbers_.ShiftTimes(seconds);
}

NumbersFrame NumbersContent::frame() const {
  std::lock_guard lock(lock_);
  return numbers_.Frame();
}

void NumbersContent::advanceTo(double time, int lastStruck) {
  if (!shown_) return;
  RowAtBlow ringing;
  if (lastStruck >= 0) {
    ringing.row = RowBeingRung(&ringing.bells);
    ringing.blowsInRow = Ringing().rowBlows;  // the worker's own count
    ringing.blowInterval = Ringing().blowInterval;
  }
  bool drawn;
  {
    std::lock_guard lock(lock_);
    drawn = numbers_.Update(time, lastStruck, ringing, ticks_.Ticks());
  }
  if (drawn && repaint_) repaint_();
}

}  // namespace clangor
