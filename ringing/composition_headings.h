// Headings: calling-position names paired with the position of the
// observation bell at which a call there is made ("W:8 M:5 H:7"), and the
// columns of a table's header line that name them.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace clangor {

// Calling-position name -> position text (an optional marker, then the
// 1-based position; or, for names holding "*" or ",", the calls they stand for).
using HeadingMap = std::map<std::string, std::string>;

// Splits "name:position name:position ..." at ":" and blanks into pairs.
HeadingMap ParseHeadings(std::string_view text);

// A position text read: the marker that restricts it (0 for none) and the
// 1-based position; position 0 when the text is not a usable position for
// `bells` bells.
struct CallingPosition {
  char marker = 0;
  int position = 0;
};
CallingPosition ReadCallingPosition(std::string_view text, int bells);

// A word of a table's header line that names a calling position.
struct HeaderColumn {
  int begin = 0;  // column of its first character
  int end = 0;    // one past its last character
  std::string name;
};
std::vector<HeaderColumn> HeaderColumns(std::string_view header, const HeadingMap& headings);

// The header column an item standing at [begin, end) belongs to: the one it
// overlaps, else the nearest; -1 when there are none.
int ColumnOf(const std::vector<HeaderColumn>& columns, int begin, int end);

}  // namespace clangor
