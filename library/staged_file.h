// The layout shared by methods.txt and call_change_sequences.txt: header
// lines, then sections "[3]" .. "[18]" of "name=text" lines.
#pragma once

#include <functional>
#include <istream>
#include <string>
#include <vector>

namespace clangor {

struct StagedEntry {
  int stage = 0;
  std::string name;  // blank-normalised
  std::string text;  // as it stands after the first "="
};

// Reads the header lines and the entries in file order. Nothing but the
// header is read when the first section line is not exactly "[3]". False
// when the reading stopped before the end of the file.
bool ReadStagedFile(std::istream& in, std::vector<std::string>* header, std::vector<StagedEntry>* entries);

// True when the entry's "name=text" line can be read back.
bool FitsStagedLine(const StagedEntry& entry);

// The header lines; then for each stage 3 to 18, "[" stage "]", its entries
// as "name=text" (`entriesOf` lists them in order), and an empty line. A
// line too long to read back is left out and named in `leftOut` (when given).
std::string WriteStagedFile(const std::vector<std::string>& header,
                            const std::function<std::vector<StagedEntry>(int stage)>& entriesOf,
                            std::vector<std::string>* leftOut = nullptr);

}  // namespace clangor
