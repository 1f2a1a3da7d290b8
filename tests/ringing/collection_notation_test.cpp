// Place notation as the collections write it, read into whole changes: both
// crosses, "." and blanks between changes, the "A,B" palindromes (and the
// "&" and "+" marks of other notations), places implied at the ends.
#include <gtest/gtest.h>

#include <string>

#include "ringing/collection_notation.h"

namespace clangor {
namespace {

std::string LeadText(const std::vector<Change>& lead) {
  std::string text;
  for (const Change& change : lead) text += (text.empty() ? "" : ".") + ChangeText(change);
  return text;
}

TEST(CollectionNotation, ReadsEachFormIntoWholeChanges) {
  struct Case {
    const char* notation;
    int stage;
    const char* lead;
  };
  const Case cases[] = {
      {"x16x16x16,12", 6, "-.16.-.16.-.16.-.16.-.16.-.12"},
      {"-16-16-16,12", 6, "-.16.-.16.-.16.-.16.-.16.-.12"},
      {"X16X16X16,12", 6, "-.16.-.16.-.16.-.16.-.16.-.12"},
      {"x3x4,2", 6, "-.36.-.14.-.36.-.12"},            // places implied at the ends
      {"&x3x4,+2", 6, "-.36.-.14.-.36.-.12"},          // the "&" and "+" marks
      {"+x3x4,2", 6, "-.36.-.14.12"},                  // a first side as written
      {"3,1.5.1.5.1", 5, "3.1.5.1.5.1.5.1.5.1"},       // both sides palindromes
      {"3.1.5.3.1.3.1.3.5.1.3.1", 5, "3.1.5.3.1.3.1.3.5.1.3.1"},  // written out in full
      {"3 1  5", 5, "3.1.5"},                          // blanks between changes
      {"2.1", 5, "125.1"},
      {"x1tx14", 12, "-.1T.-.14"},                      // small letters for bells above 9
      {"x5Dx14,1D", 16, "-.5D.-.14.-.5D.-.1D"},
      {"34x34.16x12.", 6, "34.-.34.16.-.12"},           // a trailing "."
  };
  for (const Case& c : cases) {
    const CollectionNotation read = ReadCollectionNotation(c.notation, c.stage);
    EXPECT_EQ(read.error, "") << c.notation;
    EXPECT_EQ(LeadText(read.lead), c.lead) << c.notation;
  }
}

TEST(CollectionNotation, RefusesWhatNoChangeMakes) {
  struct Case {
    const char* notation;
    int stage;
  };
  const Case cases[] = {
      {"x16y", 6}, {"x13", 6}, {"x17", 6}, {"x1", 5}, {"1,2,3", 6}, {",12", 6}, {"x16,", 6}, {"", 6}, {"...", 6},
      {"1B", 12},
  };
  for (const Case& c : cases) {
    const CollectionNotation read = ReadCollectionNotation(c.notation, c.stage);
    EXPECT_NE(read.error, "") << c.notation;
    EXPECT_TRUE(read.lead.empty()) << c.notation;
  }
}

}  // namespace
}  // namespace clangor
