// Ropesight practice: the own rope, the rope to follow that flashes a little
// after each blow of the own bell, the tint of the ropes striking before and
// after it, and the score of hits and misses. Plain data and rules, no
// toolkit; the ropes window keeps one under its lock and feeds it what the
// engine published.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace clangor {

// What the ropes window knows of one bell at the engine's last report.
struct RopeBellState {
  bool exists = false;           // the engine has its record
  bool inPlay = false;           // takes part in the ringing
  int id = -1;                   // its number among the bells in play, as rows name it
  bool up = false;               // swinging or set: its rope follows its angle
  int angle = 0;                 // hundredths of a degree
  bool anticlockwise = true;     // the angle is increasing
  bool struckHandstroke = false; // its last blow was a handstroke
  double time = 0;               // its ringing-clock time, seconds
  // Its timing codes: to the row of its last blow, and to the next row; each
  // one more than the places it moves (0 towards the front, 1 a place, 2
  // towards the back), and one more again into a handstroke row.
  int prevMove = 1, nextMove = 1;
  double wheelRadius = 0;        // metres
};

// The engine's state as the ropes window last saw it.
struct RingingSnapshot {
  std::vector<RopeBellState> bells;  // the tower's bells
  int rowBells = 0;                  // bells in a row: 0 when nothing is rung
  int rowBlows = 0;                  // blows struck in the current row, 1 at its first
  std::vector<int> row;              // the row being rung: the id at each place
  double blowInterval = 0;           // seconds between blows

  bool Ringing() const { return rowBells > 0; }
  const RopeBellState* Bell(int bell) const {
    return bell >= 0 && bell < static_cast<int>(bells.size()) ? &bells[static_cast<std::size_t>(bell)] : nullptr;
  }
};

struct RopesightScores {
  int upMisses = 0, placesDownMisses = 0, upTotal = 0, placesDownTotal = 0;

  int Total() const { return upTotal + placesDownTotal; }
  // The hit bar fills from this y to the bottom of a window `height` high.
  int HitBarTop(int height) const;
};

// The statistics message's text; empty when no flash has been scored.
std::string RopesightStatistics(const RopesightScores& scores, int changesRung);
inline constexpr const char* NoRopesightStatistics = "No ropesight statistics are available at this time";

// The call a conductor would make to move the bell with id `id` in `row`:
// up (towards the back) with `callUp`, else down; bells named by
// `numbers[id]` (their numbers in the tower). Empty when it cannot move so.
std::string CallChangeTip(const std::vector<int>& row, int id, bool callUp, const std::vector<int>& numbers);

class Ropesight {
 public:
  static constexpr std::uint32_t FlashMs = 200;
  // Flash states: how the own bell moves next.
  static constexpr int FlashDown = 2, FlashPlace = 3, FlashUp = 4;

  explicit Ropesight(int bellCount);

  // The rows back to rounds (place k holds id k).
  void ResetRows();
  // The own rope again clears it; a bell the engine has no record of cannot
  // be chosen. Clears every flash. The own rope after.
  int SetOwnRope(int bell, const RingingSnapshot& now);
  int OwnRope() const { return ownRope_; }
  int OwnId() const { return ownId_; }
  void RefreshOwnRopeId(const RingingSnapshot& now);

  // Bell `bell` struck (or, forced, is taken to have struck): keeps the rows
  // and, for the own bell, schedules the flash of the rope to follow.
  // `flashDelay` is in tenths of a row.
  void OnBlow(int bell, const RingingSnapshot& now, int flashDelay);
  // The tint check of every update: moves the above/below flags on as the
  // own bell rises towards its next blow.
  void CheckAboveBelow(const RingingSnapshot& now);
  void ComputeAboveBelow(bool followedBelow, const RingingSnapshot& now);
  bool Below(int bell) const;

  // The flash to draw for `bell` at tick `now`, given the bell's clock time
  // and the bell under the pointer. A flash is scored once, as it starts.
  int FlashState(int bell, std::uint32_t now, double bellTime, int pointerBell);
  // The bells' times moved on by a pause or a step.
  void ShiftTime(double seconds);

  void ResetScores() { scores_ = {}; }
  const RopesightScores& scores() const { return scores_; }

 private:
  struct Flash {
    int state = 0;
    double due = 0;
    bool started = false;
    std::uint32_t start = 0;
    std::uint32_t end = FlashMs;  // its length until it starts, then its end
    bool below = true;
  };
  Flash* FlashOf(int bell);
  static int PlaceOf(const std::vector<int>& row, int id);

  int ownRope_ = -1;
  int ownId_ = -1;
  std::vector<int> previousRow_, currentRow_, snapshotRow_;
  int lastPrevMove_ = 1, lastCurMove_ = 1;
  int aboveBelowPhase_ = 0;
  bool aboveBelowDone_ = false;
  std::vector<Flash> flashes_;
  RopesightScores scores_;
};

}  // namespace clangor
