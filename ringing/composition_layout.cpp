#include "ringing/composition_layout.h"

#include "ringing/bells.h"
#include "ringing/text.h"

namespace clangor {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// A line of "=" characters only, once its comment is cut and blanks dropped.
bool IsRuleLine(std::string_view line) {
  const std::string text = NormaliseBlanks(WithoutComment(line));
  if (text.empty()) return false;
  for (const char c : text) {
    if (c != '=' && c != ' ') return false;
  }
  return true;
}

// Blanks, then at least four bell characters, then a blank or the end.
bool StartsWithCourseHead(std::string_view line) {
  const ColumnRange range = CourseHeadColumns(line);
  return range.end - range.begin >= 4;
}

}  // namespace

std::string_view WithoutComment(std::string_view line) {
  const auto hash = line.find('#');
  return hash == std::string_view::npos ? line : line.substr(0, hash);
}

bool IsCommentLine(std::string_view line) {
  for (const char c : line) {
    if (IsBlank(c)) continue;
    return c == '#';
  }
  return true;
}

bool IsDefinitionLine(std::string_view line) {
  bool textBefore = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '#') return false;
    if (c == '=') {
      if (!textBefore) continue;  // a run of "=" opening a line is a rule
      const bool more = i + 1 < line.size();
      if (more && line[i + 1] != '=' && line[i + 1] != '#') return true;
      continue;
    }
    if (!IsBlank(c)) textBefore = true;
  }
  return false;
}

ColumnRange CourseHeadColumns(std::string_view header) {
  std::size_t i = 0;
  while (i < header.size() && IsBlank(header[i])) ++i;
  const std::size_t begin = i;
  while (i < header.size() && BellIndex(header[i]).has_value()) ++i;
  if (i < header.size() && !IsBlank(header[i])) return {};
  return {static_cast<int>(begin), static_cast<int>(i)};
}

LineLayout ClassifyLines(const std::vector<std::string>& lines, int leadsPerCourse) {
  LineLayout layout;
  const int count = static_cast<int>(lines.size());
  layout.lastLine = count - 1;
  int h = 0;
  while (h < count && IsCommentLine(lines[static_cast<std::size_t>(h)])) ++h;
  if (h >= count) h = 0;
  layout.firstLine = h;
  if (count >= 2 && h + 1 < count && IsRuleLine(lines[static_cast<std::size_t>(h + 1)])) {
    layout.kind = StartsWithCourseHead(lines[static_cast<std::size_t>(h)]) ? 1 : 2;
  }
  for (int i = h; i < count; ++i) {
    if (IsDefinitionLine(lines[static_cast<std::size_t>(i)])) {
      layout.lastLine = i - 1;
      break;
    }
  }
  if (layout.kind == 2 && leadsPerCourse > 0) layout.kind = 3;
  return layout;
}

}  // namespace clangor
