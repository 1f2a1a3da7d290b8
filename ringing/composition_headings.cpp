#include "ringing/composition_headings.h"

#include <cstdlib>

#include "ringing/call_table.h"

namespace clangor {

namespace {

bool IsSeparator(char c) { return c == ':' || c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

HeadingMap ParseHeadings(std::string_view text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsSeparator(text[i])) ++i;
    const std::size_t begin = i;
    while (i < text.size() && !IsSeparator(text[i])) ++i;
    if (i > begin) words.emplace_back(text.substr(begin, i - begin));
  }
  HeadingMap headings;
  for (std::size_t w = 0; w + 1 < words.size(); w += 2) headings[words[w]] = words[w + 1];
  return headings;
}

CallingPosition ReadCallingPosition(std::string_view text, int bells) {
  CallingPosition result;
  if (!text.empty() && IsCallMarker(text.front())) {
    result.marker = text.front();
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 3) return {};
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return {};
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > bells) return {};
  result.position = value;
  return result;
}

std::vector<HeaderColumn> HeaderColumns(std::string_view header, const HeadingMap& headings) {
  std::vector<HeaderColumn> columns;
  std::size_t i = 0;
  while (i < header.size()) {
    while (i < header.size() && (header[i] == ' ' || header[i] == '\t')) ++i;
    const std::size_t begin = i;
    while (i < header.size() && header[i] != ' ' && header[i] != '\t' && header[i] != '\r') ++i;
    if (i == begin) {
      ++i;
      continue;
    }
    std::string word(header.substr(begin, i - begin));
    if (headings.count(word) != 0) {
      columns.push_back({static_cast<int>(begin), static_cast<int>(i), std::move(word)});
    }
  }
  return columns;
}

int ColumnOf(const std::vector<HeaderColumn>& columns, int begin, int end) {
  int best = -1;
  int bestDistance = 0;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const HeaderColumn& column = columns[c];
    if (begin < column.end && column.begin < end) return static_cast<int>(c);
    const int distance = begin >= column.end ? begin - column.end + 1 : column.begin - end + 1;
    if (best < 0 || distance < bestDistance) {
      best = static_cast<int>(c);
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace clangor
