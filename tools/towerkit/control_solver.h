// The striking-control table of a tower, solved on the tower's own bells:
// for every bell, number of bells in play and peal speed, the row of 60
// values that makes each blow fall where the rows put it.
#pragma once

#include <string>
#include <vector>

namespace clangor {
class Bell;
}

namespace clangor::towerkit {

// A swing the bell cannot make within its strength.
struct Shortfall {
  int bell = 0;        // from 1
  int bellsInPlay = 0;
  int pealSpeed = 0;
  int side = 0;        // 1: from a blow at the handstroke angle
  int timingClass = 0;
  double wanted = 0;   // seconds
  double made = 0;     // seconds
  // The time is made, but only by pulling harder or checking more after the
  // turn: the bell reaches its next blow more than 5 % faster or slower than
  // the next swing starts from.
  bool timeMet = false;
};

struct SolveReport {
  int swingsSolved = 0;          // distinct swing times solved
  double worstTimeError = 0;     // seconds, over the swings within reach
  double worstArrivalError = 0;  // m/s: arrival speed against the next swing's start
  std::vector<Shortfall> shortfalls;
  double worstSettingError = 0;        // seconds: the last blow at Stand against its place
  std::vector<int> settingShortfalls;  // bells that do not always come to rest when set
};

// The table for `bells` (loaded from the tower folder, treble first), n·n·5460
// values as control.cld holds them. Runs each bell's swing step; leaves the
// bells stood.
std::vector<double> SolveControlTable(const std::vector<Bell*>& bells, SolveReport& report);

// Writes control.cld: the bell count, version 1, then the values, all
// little-endian.
void WriteControlFile(const std::string& path, int bellCount, const std::vector<double>& values);

// Where a row lies in the table.
std::size_t RowIndex(int bellCount, int bell, int bellsInPlay, int pealSpeed);

// The row position of the swing after a blow on `side` from a swing of
// class `previous` into one of class `next`, or -1 where there is none.
int TransitionPosition(int side, int previous, int next);

}  // namespace clangor::towerkit
