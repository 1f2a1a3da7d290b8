// The own bell's striking in the simulator: the user taps the tenor with the
// space bar while the twelve ring; the report can be had while ringing,
// follows the touch, joins the rows pane's copy and the user's history.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "engine/ringing_state.h"
#include "library/striking_history.h"
#include "shell/command_ids.h"
#include "shell/main_window.h"
#include "tests/shell/main_window_fixture.h"
#include "views/rows_window.h"
#include "views/striking_dialog.h"

namespace clangor {
namespace {

namespace cmd = command;

TEST_F(MainWindowTest, TheOwnBellsStrikingIsReportedCopiedAndKept) {
  testing::ScopedEnv user("USER", "learner");
  MainWindow window(options());
  ASSERT_TRUE(RunUntil([&] { return Ready(window); }));
  for (int bell = 0; bell < 12; ++bell) window.control().ToggleBell(bell);
  window.settings().SetInt(setting::TapOwnBells, 1);
  window.engine()->PostManualSelect(11);
  ASSERT_TRUE(RunUntil([&] { return window.engine()->ownBell() == 11; }));
  window.SpaceBar();  // Start
  ASSERT_TRUE(RunUntil([&] { return window.rowsWindow()->RowCount() >= 3; }));
  for (int tap = 0; tap < 6; ++tap) {
    const int rows = window.rowsWindow()->RowCount();
    ASSERT_TRUE(RunUntil([&] { return window.rowsWindow()->RowCount() > rows; }));
    window.SpaceBar();  // a tap of the tenor
  }
  EXPECT_TRUE(window.striking().UserRang());

  // On demand while ringing.
  ASSERT_TRUE(window.DoCommand(cmd::StrikingReport));
  ASSERT_NE(window.strikingDialog(), nullptr);
  EXPECT_TRUE(window.strikingDialog()->isVisible());
  EXPECT_TRUE(window.strikingDialog()->figuresText().contains("Striking of bell T"));
  window.CopyRows();
  const QString copied = QGuiApplication::clipboard()->text();
  EXPECT_TRUE(copied.contains("1234567890ET\r\n")) << copied.toStdString();
  EXPECT_TRUE(copied.contains("backstroke")) << copied.toStdString();

  window.strikingDialog()->hide();
  window.control().StopNow();
  // The end of the ringing, drained, brings the report back.
  ASSERT_TRUE(RunUntil([&] { return window.strikingDialog()->isVisible(); }));

  const StrikingHistory history =
      ReadStrikingHistory(dataFolder() / "Striking" / "learner" / "Twelve Bells.csv");
  EXPECT_FALSE(history.damaged);
  ASSERT_EQ(history.lines.size(), 1u);
  EXPECT_EQ(history.lines[0].tower, "Twelve Bells");
  EXPECT_EQ(history.lines[0].bell, 12);
  EXPECT_GE(history.lines[0].blows, 1);
  ASSERT_EQ(boxes.size(), 1u);  // the copy's
  EXPECT_EQ(boxes[0].caption, "Copy Rows...");
}

}  // namespace
}  // namespace clangor
