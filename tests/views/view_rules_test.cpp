// The tower view's arithmetic and the rows pane's store, without a display.
#include <gtest/gtest.h>

#include <cmath>

#include "views/memory_scale.h"
#include "views/rows_store.h"
#include "views/tower_view_layout.h"

namespace clangor {
namespace {

// A base picture 1000 x 500 whose minimum view is the middle 800 x 400.
TowerGeometry Chamber(const std::string& name = "Test Tower") {
  TowerGeometry g;
  g.towerName = name;
  g.baseW = 1000;
  g.baseH = 500;
  g.minW = 800;
  g.minH = 400;
  g.surprise = {400, 10, 200, 50};
  g.bells = {{100, 50, 100, 100}, {300, 60, 80, 80}};
  return g;
}

struct LayoutCase {
  const char* what;
  int w, h;
  double scale;
  ViewRect target;
  bool margins;
  ViewRect bell0;
};

TEST(TowerViewLayout, MinimumViewFillsTheWindow) {
  const LayoutCase cases[] = {
      // Exactly the minimum view's aspect: the minimum view, no margins.
      {"exact aspect", 800, 400, 1.0, {0, 0, 800, 400}, false, {0, 0, 100, 100}},
      {"exact aspect, doubled", 1600, 800, 2.0, {0, 0, 1600, 800}, false, {0, 0, 200, 200}},
      // Wider: the height fills; the visible width grows past the base width,
      // leaving margins left and right.
      {"very wide", 2000, 400, 1.0, {500, 0, 1000, 400}, true, {600, 0, 100, 100}},
      // Wider but within the base: no margins.
      {"a little wide", 900, 400, 1.0, {0, 0, 900, 400}, false, {50, 0, 100, 100}},
      // Taller: the width fills; margins above and below past the base height.
      {"very tall", 800, 1000, 1.0, {0, 250, 800, 500}, true, {0, 300, 100, 100}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.what);
    const TowerViewLayout l = LayOutTowerView(Chamber(), c.w, c.h);
    EXPECT_DOUBLE_EQ(l.scale, c.scale);
    EXPECT_EQ(l.target, c.target);
    EXPECT_EQ(l.margins, c.margins);
    EXPECT_EQ(l.bells[0], c.bell0);
    // The target never leaves the client area.
    EXPECT_GE(l.target.x, 0);
    EXPECT_LE(l.target.right(), c.w);
    EXPECT_LE(l.target.bottom(), c.h);
  }
}

TEST(TowerViewLayout, EmptyClientOrTowerLaysOutNothing) {
  EXPECT_EQ(LayOutTowerView(Chamber(), 0, 300).scale, 0);
  TowerGeometry none;
  EXPECT_TRUE(LayOutTowerView(none, 800, 400).bells.empty());
}

TEST(TowerViewLayout, ClientPointsMapBackToTheBasePicture) {
  const TowerViewLayout l = LayOutTowerView(Chamber(), 1600, 800);
  int x = 0, y = 0;
  BasePoint(l, 250, 130, x, y);  // scale 2 from (100, 50)
  EXPECT_EQ(x, 225);
  EXPECT_EQ(y, 115);
}

TEST(TowerViewLayout, FifthBellOfTheDefaultEightHangsUnderTheFourth) {
  TowerGeometry g = Chamber("Eight Bells");
  // The fifth's own rectangle leaves a gap under the fourth.
  g.bells = {{0, 0, 10, 10}, {20, 0, 10, 10}, {40, 0, 10, 10}, {474, 40, 108, 108}, {468, 152, 114, 114}};
  const TowerViewLayout l = LayOutTowerView(g, 1111, 555);
  EXPECT_EQ(l.bells[4].y, l.bells[3].bottom());
  g.towerName = "Other";
  const TowerViewLayout other = LayOutTowerView(g, 1111, 555);
  EXPECT_EQ(l.bells[4].h, other.bells[4].h);  // its height stays
  EXPECT_GT(other.bells[4].y, other.bells[3].bottom());  // any other tower keeps its own
}

TEST(TowerViewLayout, AboveBellIsPaintedBehindAndBeneathInFront) {
  // Bell 3 has bell 4 beneath it; bell 4 has bell 3 above it.
  const std::vector<int> above{-1, -1, -1, -1, 3};
  const std::vector<int> beneath{-1, -1, -1, 4, -1};
  EXPECT_EQ(BellPaintOrder(above, beneath), (std::vector<int>{0, 1, 2, 3, 4, 3, 4}));
  // The last time each is painted: 3 before 4, so the fifth is in front.
}

TEST(MemoryScale, ShrinksPicturesOnlyWhenMemoryIsShort) {
  constexpr std::uint64_t MB = 1 << 20;
  // 512 MB available after the reserve, a tower asking 600 MB.
  EXPECT_NEAR(MemoryScale(542 * MB, 600), std::sqrt(512.0 / 600.0), 1e-9);
  EXPECT_NEAR(MemoryScale(542 * MB, 600), 0.92376, 1e-5);
  EXPECT_EQ(MemoryScale(542 * MB, 36), 1.0);
  // Memory that cannot be told: no shrinking.
  EXPECT_EQ(MemoryScale(0, 600), 1.0);
  // A machine with more than 4 GiB: its whole memory counts. Cut to 32 bits
  // 4 GiB + 40 MB would leave 10 MB and shrink a 36 MB tower's pictures.
  EXPECT_EQ(MemoryScale((4096 + 40) * MB, 36), 1.0);
}

// ---------------------------------------------------------------- rows store

RowsStore Filled(int rows, int visible, int limit = RowsStore::DefaultLimit) {
  RowsStore s(limit);
  s.SetVisible(visible);
  for (int i = 0; i < rows; ++i) s.AddRow(std::to_string(1000 + i));
  return s;
}

TEST(RowsStore, AViewAtTheBottomFollowsAndAScrolledViewStays) {
  RowsStore s = Filled(10, 5);
  EXPECT_EQ(s.top(), 5);  // the newest row shows on the last line
  s.AddRow("x");
  EXPECT_EQ(s.top(), 6);
  s.PageUp();
  EXPECT_EQ(s.top(), 1);
  s.AddRow("y");
  EXPECT_EQ(s.top(), 1);
}

TEST(RowsStore, FullStoreDropsTheOldestKeepingTheViewOnItsRows) {
  RowsStore s = Filled(8, 3, 8);
  s.ThumbTrack(2);
  const std::string shown = s.Row(s.top());
  s.AddRow("new");
  EXPECT_EQ(s.RowCount(), 8);
  EXPECT_EQ(s.Row(0), " 1001");
  EXPECT_EQ(s.Row(s.top()), shown);
  // At the bottom it keeps showing the newest.
  RowsStore bottom = Filled(8, 3, 8);
  bottom.AddRow("new");
  EXPECT_EQ(bottom.Row(bottom.top() + 2), " new");
}

TEST(RowsStore, CallMarkLandsOnTheSecondRowAfterTheCall) {
  struct Case {
    char letter;
    char mark;
  } cases[] = {{'b', '-'}, {'p', ' '}, {'s', 's'}};
  for (const Case& c : cases) {
    RowsStore s;
    s.SetVisible(10);
    s.MarkCall(c.letter);
    s.AddRow("12345678");
    s.AddRow("21436587");
    s.AddRow("12345678");
    EXPECT_EQ(s.Row(0)[0], ' ');
    EXPECT_EQ(s.Row(1)[0], c.mark) << c.letter;
    EXPECT_EQ(s.Row(2)[0], ' ');
  }
  // Clear keeps a mark still waiting for its row.
  RowsStore s;
  s.MarkCall('b');
  s.AddRow("1234");
  s.Clear();
  s.AddRow("2143");
  EXPECT_EQ(s.Row(0), "-2143");
}

TEST(RowsStore, NamesFollowTheLastRow) {
  RowsStore s;
  s.AppendToLastRow("Plain Bob");  // no row: nothing
  EXPECT_EQ(s.RowCount(), 0);
  s.AddRow("12345678");
  s.AppendToLastRow("");
  s.AppendToLastRow("Plain Bob Major");
  EXPECT_EQ(s.Row(0), " 12345678 Plain Bob Major");
}

TEST(RowsStore, ScrollingKeepsItsLimits) {
  struct Case {
    const char* what;
    int rows, visible, top;
    void (RowsStore::*op)();
    int expected;
  } cases[] = {
      {"page up from 2 with 5 visible", 20, 5, 2, &RowsStore::PageUp, 0},
      {"page down near the end", 12, 5, 5, &RowsStore::PageDown, 7},
      {"page down with fewer rows than lines", 3, 5, 0, &RowsStore::PageDown, 0},
      {"line up at the top", 20, 5, 0, &RowsStore::LineUp, 0},
      {"line down at the bottom", 20, 5, 15, &RowsStore::LineDown, 15},
      {"line down", 20, 5, 3, &RowsStore::LineDown, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RowsStore s = Filled(c.rows, c.visible);
    s.ThumbTrack(c.top);
    ASSERT_EQ(s.top(), std::min(c.top, s.ScrollMaximum()));
    (s.*c.op)();
    EXPECT_EQ(s.top(), c.expected);
    EXPECT_GE(s.top(), 0);
  }
}

TEST(RowsStore, DisplayShowsWholeLinesFromTheTop) {
  RowsStore empty;
  empty.SetVisible(4);
  EXPECT_EQ(empty.DisplayText(), "");
  EXPECT_EQ(empty.ScrollMaximum(), 0);
  EXPECT_EQ(empty.ScrollPage(), 0);

  RowsStore s = Filled(3, 4);
  EXPECT_EQ(s.DisplayText(), " 1000\r\n 1001\r\n 1002");  // no line end after the newest row
  EXPECT_EQ(s.ScrollPage(), 3);
  // Growing the pane back over the rows it scrolled past.
  RowsStore t = Filled(10, 3);
  t.SetVisible(8);
  EXPECT_EQ(t.top(), 3);
  t.SetVisible(12);
  EXPECT_EQ(t.top(), 0);
}

TEST(RowsStore, DisplayNeverExceedsItsCapacity) {
  RowsStore s;
  s.SetVisible(500);
  for (int i = 0; i < 400; ++i) s.AddRow("1234567890ET");
  EXPECT_LT(s.DisplayText().size(), static_cast<std::size_t>(RowsStore::DisplayCapacity));
}

TEST(RowsStore, CopyIsTabSeparated) {
  RowsStore s;
  EXPECT_EQ(s.ClipboardText(), "");
  s.AddRow("12345678");
  s.AppendToLastRow("Plain Bob Major");
  s.MarkCall('b');
  s.AddRow("21436587");
  s.AddRow("12345678");
  EXPECT_EQ(s.ClipboardText(), " \t12345678\tPlain Bob Major\r\n \t21436587\r\n-\t12345678\r\n");
}

}  // namespace
}  // namespace clangor
