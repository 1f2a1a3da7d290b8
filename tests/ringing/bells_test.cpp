#include <gtest/gtest.h>

#include "ringing/bells.h"
#include "ringing/row.h"
#include "ringing/text.h"

namespace clangor {
namespace {

TEST(Bells, CharactersAndIndexesRoundTrip) {
  for (int i = 0; i < MaxBells; ++i) EXPECT_EQ(BellIndex(BellChar(i)), i);
  EXPECT_EQ(BellChar(9), '0');
  EXPECT_EQ(BellChar(10), 'E');
  EXPECT_EQ(BellChar(17), 'G');
  EXPECT_FALSE(BellIndex('e').has_value());  // lower case is the keyboard form only
  EXPECT_FALSE(BellIndex('x').has_value());
}

TEST(Bells, StageNames) {
  EXPECT_EQ(StageName(3), "Singles");
  EXPECT_EQ(StageName(8), "Major");
  EXPECT_EQ(StageName(12), "Maximus");
  EXPECT_EQ(StageName(18), "Eighteen");
  EXPECT_EQ(StageName(2), "");
  EXPECT_EQ(StageName(19), "");
}

TEST(Bells, RowText) {
  EXPECT_EQ(RowText(Row{0, 2, 1, 4, 3, 5}), "132546");
  EXPECT_EQ(RowText(Rounds(12)), "1234567890ET");
}

TEST(Text, NormaliseBlanks) {
  EXPECT_EQ(NormaliseBlanks("  Plain   Bob \t "), "Plain Bob");
  EXPECT_EQ(NormaliseBlanks(""), "");
  EXPECT_EQ(NormaliseBlanks("   "), "");
}

}  // namespace
}  // namespace clangor
