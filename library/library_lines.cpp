#include "library/library_lines.h"

namespace clangor {

std::optional<std::string> LibraryLines::Next() {
  if (cutShort_) return std::nullopt;
  std::string line;
  if (!std::getline(in_, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() >= LibraryLineLimit) {
    cutShort_ = true;
    return std::nullopt;
  }
  return line;
}

std::optional<std::string> LibraryLines::ReadHeader(std::vector<std::string>* header) {
  while (auto line = Next()) {
    if (!line->empty() && line->front() == '[') return line;
    header->push_back(*line);
  }
  return std::nullopt;
}

}  // namespace clangor
