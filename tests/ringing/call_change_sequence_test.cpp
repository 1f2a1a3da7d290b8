#include <gtest/gtest.h>

#include "ringing/call_change_sequence.h"
#include "ringing/place_notation.h"

namespace clangor {
namespace {

TEST(CallChangeSequence, ToPlaceNotation) {
  struct Case {
    int stage;
    const char* notation;
    const char* places;
  };
  const Case cases[] = {
      {6, "2", "1456."},
      {6, "135", "-"},
      {6, "2.3", "1456.1456."},     // the 3 stands second after the first change
      {6, "2..3", "1456.123456.1456."},  // an empty change makes every place
      {6, "2.", "1456."},
      {6, "7", "123456."},          // a bell not in the row: every position makes its place
      {6, "32", "1256."},           // after the 3 moves the 2 stands behind: the rest make places
      {8, "246", "18."},
      {5, "", "12345."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ToPlaceNotation({c.stage, "Test", c.notation}), c.places) << c.notation;
}

TEST(CallChangeSequence, CallText) {
  // The compiled change: places as bell indexes, ending at the first other byte.
  const std::string secondAndThird{0, 3, 4, 5, '.'};  // 1456: the 2 and 3 change
  const std::string frontPair{2, 3, 4, 5};             // 3456: the treble and 2 change
  const std::string cross{'-'};
  const Row rounds = Rounds(6);
  const Row queensBack = {0, 2, 4, 1, 3, 5};  // 135246
  struct Case {
    Row row;
    std::string change;
    bool callUp;
    const char* text;
  };
  const Case cases[] = {
      {rounds, secondAndThird, true, "2 to 3"},
      {rounds, secondAndThird, false, "3 to 1"},
      {rounds, frontPair, true, "1 to 2"},
      {rounds, frontPair, false, "2 lead"},
      {rounds, cross, true, "1 to 2, 3 to 4, 5 to 6"},
      {queensBack, cross, false, "3 lead, 2 to 3, 6 to 2"},  // each named after the bell before it
  };
  for (const Case& c : cases) EXPECT_EQ(CallText(c.row, c.change, 6, c.callUp), c.text);
  // Ten and above are called by number.
  EXPECT_EQ(CallText(Rounds(12), std::string{0, 1, 2, 3, 4, 5, 6, 7, 8, 11}, 12, true), "10 to 11");
}

}  // namespace
}  // namespace clangor
