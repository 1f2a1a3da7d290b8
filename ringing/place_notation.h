// A method's line: its expansion into one lead of changes, the compiled byte
// form the generator walks, and the one rule by which a change turns a row
// into the next.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace clangor {

// Compiled notation: a byte 0..17 is a place (a bell index); any other byte is
// punctuation ("-", ".", " ", ":", ",", markers) or text of the calls area.
using CompiledNotation = std::vector<std::uint8_t>;

inline constexpr bool IsPlaceByte(std::uint8_t byte) { return byte < 18; }

struct ExpandedLine {
  std::string text;       // body, mirror, "." + lead-end part, "," + calls area
  int halfLeadIndex = -1;  // index of the first ":" before the calls area, or -1
  std::string callsArea;  // blank-trimmed; empty when the line has none
};

// Expands a line: "&" mirrors the body, the text before "&" is the lead-end
// part, the text after the first "," the calls area. `specialCalls`, when not
// empty, replaces the line's calls area.
ExpandedLine ExpandLine(std::string_view line, std::string_view specialCalls = {});

// Bell characters become their indexes; named call segments of the calls
// area ("Name:l:changes") keep only their marker and changes, so that the
// generator rings the changes and never the name.
CompiledNotation CompileNotation(const ExpandedLine& line);

// The position in the current row whose bell moves to position p of the row
// being built, under the change at `cursor` (which may move on within the
// change). `stage` is the number of positions that may change.
int SourcePosition(const CompiledNotation& compiled, int& cursor, int p, int stage);

}  // namespace clangor
