#include "library/staged_file.h"

#include "library/library_lines.h"
#include "ringing/bells.h"
#include "ringing/text.h"

namespace clangor {

namespace {

// "[12]" gives 12: the leading digits after "[", 0 when there are none.
int SectionStage(const std::string& line) {
  int stage = 0;
  for (std::size_t i = 1; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    stage = stage * 10 + (line[i] - '0');
    if (stage > 1000) return 0;
  }
  return stage;
}

}  // namespace

bool ReadStagedFile(std::istream& in, std::vector<std::string>* header, std::vector<StagedEntry>* entries) {
  LibraryLines lines(in);
  const auto first = lines.ReadHeader(header);
  if (!first) return !lines.cutShort();
  if (*first != "[3]") return false;
  int stage = 3;
  while (const auto line = lines.Next()) {
    if (line->empty()) continue;
    if (line->front() == '[') {
      stage = SectionStage(*line);
      continue;
    }
    if (!IsStage(stage)) continue;
    const auto eq = line->find('=');
    if (eq == std::string::npos || eq + 1 == line->size()) continue;
    entries->push_back({stage, NormaliseBlanks(std::string_view(*line).substr(0, eq)), line->substr(eq + 1)});
  }
  return !lines.cutShort();
}

std::string WriteStagedFile(const std::vector<std::string>& header,
                            const std::function<std::vector<StagedEntry>(int stage)>& entriesOf,
                            std::vector<std::string>* leftOut) {
  // A line the reader could not read back would end the reading there and
  // lose what follows: it is left out and named instead.
  const auto leave = [leftOut](const std::string& what) {
    if (leftOut != nullptr) leftOut->push_back(what);
  };
  std::string out;
  for (const std::string& line : header) {
    if (FitsLibraryLine(line)) out += line + "\n";
    else leave(line.substr(0, 40));
  }
  for (int stage = MinStage; stage <= MaxStage; ++stage) {
    out += "[" + std::to_string(stage) + "]\n";
    for (const StagedEntry& entry : entriesOf(stage)) {
      if (FitsStagedLine(entry)) out += entry.name + "=" + entry.text + "\n";
      else leave("[" + std::to_string(stage) + "] " + entry.name);
    }
    out += "\n";
  }
  return out;
}

bool FitsStagedLine(const StagedEntry& entry) {
  return entry.name.size() + 1 + entry.text.size() < LibraryLineLimit;
}

}  // namespace clangor
