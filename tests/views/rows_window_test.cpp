// The rows pane as a widget: what it shows, its scroll bar, its copy and its
// refusal of the keyboard focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>

#include "views/rows_window.h"

namespace clangor {
namespace {

TEST(RowsWindow, ShowsTheStoreAndItsScrollBar) {
  RowsWindow rows(6000);
  rows.resize(120, 200);
  rows.Show(true);
  const int visible = rows.store().visible();
  ASSERT_GT(visible, 3);
  for (int i = 0; i < visible + 4; ++i) rows.AddRow(std::to_string(100000 + i));
  rows.Refresh();
  EXPECT_EQ(rows.scroller()->maximum(), visible + 3);
  EXPECT_EQ(rows.scroller()->pageStep(), visible);
  EXPECT_EQ(rows.scroller()->value(), 4);  // the newest row on the last line
  EXPECT_TRUE(rows.shownText().endsWith(QString::number(100000 + visible + 3)));
  rows.scroller()->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(rows.store().top(), 0);
  EXPECT_TRUE(rows.shownText().startsWith(" 100000"));
}

TEST(RowsWindow, HiddenPaneDoesNotRebuildItsText) {
  RowsWindow rows(6000);
  rows.resize(120, 200);
  rows.AddRow("1234");
  rows.Refresh();
  EXPECT_EQ(rows.shownText(), "");
  rows.Show(true);
  EXPECT_EQ(rows.shownText(), " 1234");
}

TEST(RowsWindow, CopiesEveryRowToTheClipboard) {
  RowsWindow rows(6000);
  rows.AddRow("123");
  rows.AppendToLastRow("Rounds");
  rows.AddRow("213");
  ASSERT_TRUE(rows.CopyToClipboard());
  EXPECT_EQ(QApplication::clipboard()->text(), " \t123\tRounds\r\n \t213\r\n");
}

// The own bell's striking figures follow the rows.
TEST(RowsWindow, CopiesTheStrikingFiguresAfterTheRows) {
  RowsWindow rows(6000);
  rows.AddRow("12");
  ASSERT_TRUE(rows.CopyToClipboard("\r\nStriking of bell 2\r\n"));
  EXPECT_EQ(QApplication::clipboard()->text(), " \t12\r\n\r\nStriking of bell 2\r\n");
}

TEST(RowsWindow, NeverKeepsTheKeyboardFocus) {
  RowsWindow rows(6000);
  EXPECT_EQ(rows.focusPolicy(), Qt::NoFocus);
  for (QWidget* child : rows.findChildren<QWidget*>()) {
    if (child->isWindow()) continue;
    EXPECT_TRUE(child->focusPolicy() == Qt::NoFocus || !child->isVisibleTo(&rows)) << child->metaObject()->className();
  }
}

}  // namespace
}  // namespace clangor
