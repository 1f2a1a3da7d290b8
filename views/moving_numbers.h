// What the moving numbers show: the row being left and the row being entered,
// how far the numbers have slid from one to the other, and whether the
// crossing pairs or the place bells are highlighted now. Plain state that the
// numbers window keeps under its own lock; the worker feeds it at every blow
// and animation step, the window draws from a copy of it.
#pragma once

#include <array>
#include <cstdint>

#include "ringing/bells.h"

namespace clangor {

// The ringing as the worker sees it at one blow.
struct RowAtBlow {
  int bells = 0;        // bells in a row
  int blowsInRow = 0;   // blows struck so far in this row, 1 at its first
  std::array<int, MaxBells> row{};  // the bell at each place of the row being rung
  double blowInterval = 0;
};

// A copy to draw from.
struct NumbersFrame {
  std::array<int, MaxBells> fromRow{};
  std::array<int, MaxBells> toRow{};
  bool highlight = false;
  double fraction = 0;
  // A row has been shown: fromRow holds a bell.
  bool HasRow() const { return fromRow[0] >= 0; }
};

class MovingNumbers {
 public:
  // A plain animation step closer than this to the last drawing is skipped.
  static constexpr std::uint32_t MinStepMs = 50;

  MovingNumbers();

  // Both rows become `row` (the identity order when nothing is rung); the
  // times and the highlight are cleared.
  void Reset(const std::array<int, MaxBells>& row, std::uint32_t nowMs);
  void SetHighlightBriefly(bool on) { highlightBriefly_ = on; }

  // The worker at ringing-clock time `clockTime`: `bell` is the bell that
  // struck (with `ringing` as it stands after that blow), or -1 for a plain
  // animation step. False when the step was skipped and nothing need be drawn.
  bool Update(double clockTime, int bell, const RowAtBlow& ringing, std::uint32_t nowMs);
  // The ringing clock was paused and resumed: its times move by `delta`.
  void ShiftTimes(double delta);

  NumbersFrame Frame() const { return {fromRow_, toRow_, highlight_, fraction_}; }
  bool noChange() const { return noChange_; }
  double highlightAt() const { return highlightAt_; }
  double moveStart() const { return moveStart_; }
  double moveDuration() const { return moveDuration_; }

  static std::array<int, MaxBells> Identity();

 private:
  void TakeRow(const RowAtBlow& ringing);
  void CountBlow(double clockTime, const RowAtBlow& ringing);

  std::array<int, MaxBells> fromRow_{};
  std::array<int, MaxBells> toRow_{};
  bool noChange_ = true;
  bool highlight_ = false;
  bool highlightBriefly_ = false;
  double highlightAt_ = 0;
  double moveStart_ = 0;
  double moveDuration_ = 0;
  double fraction_ = 0;
  std::uint32_t lastDraw_ = 0;
  int lastBlows_ = 0;  // blowsInRow at the last blow seen
};

}  // namespace clangor
