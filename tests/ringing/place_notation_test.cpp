#include <gtest/gtest.h>

#include "ringing/bells.h"
#include "ringing/place_notation.h"
#include "ringing/row.h"

namespace clangor {
namespace {

// Applies the first change of `notation` to rounds on `bells` bells.
std::string ApplyToRounds(const std::string& notation, int stage, int bells) {
  const CompiledNotation compiled = CompileNotation(ExpandLine(notation));
  int cursor = 0;
  Row row(static_cast<std::size_t>(bells));
  for (int p = 0; p < bells; ++p) row[static_cast<std::size_t>(p)] = SourcePosition(compiled, cursor, p, stage);
  return RowText(row);
}

TEST(SourcePosition, OneChangeFromRounds) {
  struct Case {
    const char* change;
    int stage;
    int bells;
    const char* row;
  };
  const Case cases[] = {
      {"-", 6, 6, "214365"},    {"14", 6, 6, "132465"},   {"12", 6, 6, "124365"},
      {"16", 6, 6, "132546"},   {"3", 5, 5, "21354"},     {"1", 5, 5, "13254"},
      {"5", 5, 5, "21435"},     {"2", 6, 6, "124365"},    {"-", 6, 8, "21436578"},
      // places 1 and 14: the pairs between them and above them swap
      {"1B", 16, 16, "132547698E0ATBDC"}, {"-", 3, 3, "213"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ApplyToRounds(c.change, c.stage, c.bells), c.row) << c.change << " on " << c.bells;
  }
}

TEST(SourcePosition, PlaceAboveTheStageKeepsBellsInsideIt) {
  // Place 8 of a six-bell method must not pull a bell from beyond the
  // stage: the top bell makes the place instead.
  EXPECT_EQ(ApplyToRounds("8", 6, 6), "132546");
  EXPECT_EQ(ApplyToRounds("G", 6, 8), "13254678");
}

TEST(ExpandLine, SymmetricLines) {
  struct Case {
    const char* line;
    const char* text;
    int halfLead;
  };
  const Case cases[] = {
      {"-16-16-16", "-16-16-16", -1},
      {"12&-16-16-16", "-16-16-16:-16-16-.12", 9},
      {"12&-16-16:-16", "-16-16:-16-16-16-.12", 6},  // a ":" of its own: none added, none mirrored
      {"|2|&-16-16-16,|4|234", "-16-16-16:-16-16-.|2|,|4|234", 9},
      {"125&5.1.5.1.5", "5.1.5.1.5:1.5.1.5.125", 9},
      {"&-14-|36|", "-14-|36|:-14-", 8},     // a marked half-lead change is left out whole
      {"  12&-16-16-16  ", "-16-16-16:-16-16-.12", 9},
      {"\t-16\t-16", "-16 -16", -1},
      {"&", ":", 0},
      {"", "", -1},
  };
  for (const Case& c : cases) {
    const ExpandedLine expanded = ExpandLine(c.line);
    EXPECT_EQ(expanded.text, c.text) << c.line;
    EXPECT_EQ(expanded.halfLeadIndex, c.halfLead) << c.line;
  }
}

TEST(ExpandLine, CallsAreaIsTrimmedAndMayBeReplaced) {
  EXPECT_EQ(ExpandLine("-16,  |4|234 ").callsArea, "|4|234");
  const ExpandedLine special = ExpandLine("|2|&-16-16-16,|4|234", "|3|");
  EXPECT_EQ(special.callsArea, "|3|");
  EXPECT_EQ(special.text, "-16-16-16:-16-16-.|2|,|3|");
}

TEST(CompileNotation, PlacesBecomeIndexesAndNamesAreDropped) {
  const CompiledNotation compiled = CompileNotation(ExpandLine("-1T,|Extreme:e:14"));
  const CompiledNotation expected = {'-', 0, 11, ',', '|', 0, 3};
  EXPECT_EQ(compiled, expected);
}

}  // namespace
}  // namespace clangor
