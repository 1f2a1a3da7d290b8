// The binary striking-control table of a tower (control.cld): for each bell,
// each number of ringing bells from 2 to n and each peal speed from 150 to 240
// minutes, a row of 60 values that steers the bell's swing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace clangor {

inline constexpr int ControlRowLength = 60;
inline constexpr int ControlSpeeds = 91;  // 150 to 240 minutes
inline constexpr int ControlBlock = ControlSpeeds * ControlRowLength;  // 5460
inline constexpr int MaxTowerBells = 18;

struct ControlTable {
  int bellCount = 0;       // n, 1 to 18; 0 when the file was absent or refused
  int controlVersion = 0;
  std::vector<double> values;  // n * n * 5460 values

  // The first value of bell b's row for k ringing bells at `speed` minutes,
  // or nullptr when any of them is outside the table.
  const double* Row(int bell, int ringing, int speed) const;
};

// Reads control.cld. A file that is absent or whose header is not a count of
// 1 to 18 and version 1 gives an empty table; values missing from a short file
// and values that are not finite read as 0.
ControlTable ReadControlTable(const std::string& path);

}  // namespace clangor
