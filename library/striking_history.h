// The user's striking history on a tower: one line per touch in a CSV file of
// its own in the user's data folder, so a learner sees the progress over
// days. The file is replaced whole with each new line; a file that cannot be
// read as a history is kept aside under a name of its own, never written over.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace clangor {

struct StrikingHistoryLine {
  std::string date;    // when the touch ended, "2026-12-11 15:42"
  std::string tower;
  std::string method;  // what was rung
  int bell = 0;        // 1-based
  int blows = 0;
  double rmsMs = 0;
  double handMeanMs = 0;
  double backMeanMs = 0;
};

// The first line of every history file.
inline constexpr const char* StrikingHistoryHeader = "date,tower,method,bell,blows,rms_ms,hand_mean_ms,back_mean_ms";

// "<data folder>/Striking/<user>/<tower>.csv"; separators in the names
// become "_".
std::filesystem::path StrikingHistoryPath(const std::filesystem::path& dataFolder, const std::string& user,
                                          const std::string& tower);

struct StrikingHistory {
  std::vector<StrikingHistoryLine> lines;
  bool damaged = false;  // a line, or the header, could not be read
};

// A missing file is an empty history.
StrikingHistory ReadStrikingHistory(const std::filesystem::path& file);

struct HistoryAppended {
  bool written = false;
  std::filesystem::path setAside;  // where a damaged file went; empty when none did
};

// Adds a line to the file. A damaged file is first renamed to
// "<name>.damaged.csv" ("<name>.damaged-2.csv" ... when that is taken), and
// the history starts again with this line.
HistoryAppended AppendStrikingHistory(const std::filesystem::path& file, const StrikingHistoryLine& line);

}  // namespace clangor
