#include <gtest/gtest.h>

#include "ringing/call_table.h"

namespace clangor {
namespace {

TEST(CallTable, StartsWithThePlainLeadAtEveryMarker) {
  const CallTable table;
  ASSERT_EQ(table.size(), 1);
  EXPECT_EQ(table.CallName(0), "Plain");
  EXPECT_EQ(table.CallLetter(0), 'p');
  EXPECT_EQ(table[0].markers, "|/\\");
  EXPECT_EQ(table.CallName(5), "");
  EXPECT_EQ(table.CallLetter(-1), 0);
  EXPECT_EQ(table.CallSegment('|', 9), 0);
}

TEST(CallTable, AddCallRefusals) {
  CallTable table;
  EXPECT_TRUE(table.AddCall("Bob", 'b', '|', 1));
  EXPECT_FALSE(table.AddCall("Plain", 'q', '|', 1));   // the plain lead is not a call
  EXPECT_FALSE(table.AddCall("Extreme", 'p', '|', 1)); // nor is its letter
  EXPECT_FALSE(table.AddCall("Bob", 'c', '/', 1));     // same name, other letter
  EXPECT_FALSE(table.AddCall("Big", 'b', '/', 1));     // new name, a letter in use
  EXPECT_FALSE(table.AddCall("Bob", 'b', '|', 2));     // marker already held
  EXPECT_TRUE(table.AddCall("Bob", 'b', '/', 3));
  EXPECT_TRUE(table.AddCall("Bob", 'b', '\\', 1));
  EXPECT_EQ(table[1].markers, "|/\\");
  EXPECT_EQ(table.CallSegment('/', 1), 3);
  EXPECT_EQ(table.size(), 2);
}

TEST(CallTable, SevenEntriesAtMost) {
  CallTable table;
  const std::string letters = "abcdefg";
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(table.AddCall(std::string("Call ") + letters[static_cast<std::size_t>(i)], letters[static_cast<std::size_t>(i)], '|', 1), i < 6)
        << i;
  EXPECT_EQ(table.size(), CallTable::MaxCalls);
}

TEST(CallTable, CallsArea) {
  struct Case {
    const char* area;
    std::vector<std::string> entries;  // "Name letter markers segments..."
  };
  const Case cases[] = {
      {"|4|234", {"Bob b | 1", "Single s | 2"}},
      {"|4|234|1256", {"Bob b | 1", "Single s | 2"}},   // a third single for "|" is refused
      {"|4/4", {"Bob b |/ 1 1"}},
      {"|Extreme:e:14", {"Extreme e | 1"}},
      {"|Extreme:E:14", {}},
      {"|Extreme:ee:14", {}},
      {"|Extreme:e:", {}},
      {"|:e:14", {}},
      {"|Extreme:e", {}},
      {"||4", {"Single s | 2"}},                       // an empty segment takes the Bob's place
      {"|4| Big  Bob : g : 1256 ", {"Bob b | 1", "Big Bob g | 2"}},
      {"junk|4", {"Bob b | 1"}},
  };
  for (const Case& c : cases) {
    CallTable table;
    table.AddCallsArea(c.area);
    std::vector<std::string> entries;
    for (int i = 1; i < table.size(); ++i) {
      std::string entry = table.CallName(i) + " " + table.CallLetter(i) + " " + table[i].markers;
      for (const char marker : table[i].markers) entry += " " + std::to_string(table.CallSegment(marker, i));
      entries.push_back(entry);
    }
    EXPECT_EQ(entries, c.entries) << c.area;
  }
}

TEST(CallTable, CanCall) {
  CallTable table;
  table.AddCallsArea("|4|234/Extreme:e:14");
  EXPECT_TRUE(table.CanCall('p', '\\'));
  EXPECT_TRUE(table.CanCall('b', '|'));
  EXPECT_TRUE(table.CanCall('-', '|'));
  EXPECT_TRUE(table.CanCall('x', '|'));
  EXPECT_FALSE(table.CanCall('b', '/'));
  EXPECT_TRUE(table.CanCall('e', '/'));
  EXPECT_FALSE(table.CanCall('e', '|'));
  EXPECT_FALSE(table.CanCall('z', '|'));
  EXPECT_EQ(table.FindSelectable('-'), 1);
  EXPECT_EQ(table.FindSelectable('s'), 2);
  EXPECT_EQ(table.FindSelectable('z'), -1);
}

}  // namespace
}  // namespace clangor
