// How a composition's lines are laid out: plain calling (kind 0), a table
// under a header of course head and calling positions (kind 1), a table under
// a header of calling positions (kind 2; kind 3 when leads per course are
// given), and the definitions written below the calling.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace clangor {

struct LineLayout {
  int kind = 0;
  int firstLine = 0;   // the first line that is not a comment (the header of a table)
  int lastLine = -1;   // the last line that holds calling; definitions follow it
};

// True for an empty or blank line, or one whose first non-blank is "#".
bool IsCommentLine(std::string_view line);

// The line cut at its first "#".
std::string_view WithoutComment(std::string_view line);

// True when the line holds a definition: a "=" after other non-blank text,
// followed by a character that is neither "=" nor "#" nor the end.
bool IsDefinitionLine(std::string_view line);

// Kind, first and last calling line; leads per course turn kind 2 into 3.
LineLayout ClassifyLines(const std::vector<std::string>& lines, int leadsPerCourse);

// The column range [begin, end) of the run of bell characters that opens a
// kind-1 header line, or {0, 0} when it has none.
struct ColumnRange {
  int begin = 0;
  int end = 0;
};
ColumnRange CourseHeadColumns(std::string_view header);

}  // namespace clangor
