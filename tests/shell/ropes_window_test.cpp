// The ropes window in the whole program, offscreen, on the eight-bell tower
// rung by the real engine on a simulated clock: docked and floating, the
// columns for the bells in play, the own rope, the flashes, the hit bar,
// the statistics message and their reset at a new touch (with screenshots).
#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

#include "library/library.h"
#include "shell/command_ids.h"
#include "shell/main_window.h"
#include "tests/shell/main_window_fixture.h"
#include "views/ropes_window.h"
#include "views/rows_window.h"
#include "views/tower_view_widget.h"

namespace clangor {
namespace {

namespace cmd = command;

void SaveFrame(RopesWindow& ropes, const std::string& name) {
  fs::create_directories(CLANGOR_SCREENSHOT_DIR);
  ropes.content()->Frame().save(QString::fromStdString(std::string(CLANGOR_SCREENSHOT_DIR) + "/" + name), "PNG");
}

// A flash: a run of its colour wider than a sally and its margins, inside
// a black frame.
bool FrameHasFlash(const QImage& frame, QRgb colour) {
  for (int y = 0; y < frame.height(); ++y) {
    int run = 0;
    for (int x = 1; x < frame.width(); ++x) {
      run = frame.pixel(x, y) == colour ? run + 1 : 0;
      if (run >= 2 * RopesContent::FlashMargin && frame.pixel(x - run, y) == rope_colour::FlashFrame) return true;
    }
  }
  return false;
}

// The tip over a bell's rope, as the window gives it.
QString TipAt(RopesWindow& ropes, int bell) {
  QToolTip::hideText();
  const QPoint at = ropes.content()->ColumnRect(bell).center();
  QHelpEvent help(QEvent::ToolTip, at, ropes.mapToGlobal(at));
  QApplication::sendEvent(&ropes, &help);
  return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// The pointer over a bell's rope.
void PointAt(RopesWindow& ropes, int bell) {
  const QPointF at = ropes.content()->ColumnRect(bell).center();
  QMouseEvent move(QEvent::MouseMove, at, ropes.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&ropes, &move);
}

class RopesTest : public MainWindowTest {
 protected:
  // The eight, ready, with the first six bells in play and the ropes shown.
  RopesWindow& Open(MainWindow& w) {
    w.resize(1000, 500);
    w.show();
    w.UnloadTower();
    w.LoadTower("Eight Bells");
    EXPECT_TRUE(RunUntil([&] { return w.towerReady(); }));
    for (const char c : std::string("123456")) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(w.towerViewWidget(), &press);
    }
    EXPECT_TRUE(w.DoCommand(cmd::Ropes));
    return *w.ropesWindow();
  }
  void Start(MainWindow& w) {
    PressKey(w.towerViewWidget(), Qt::Key_Space);
    ASSERT_TRUE(RunUntil([&] { return w.rowsWindow()->RowCount() >= 2; }));
  }
  int Columns(RopesWindow& ropes, int columns) { return (ropes.width() - 10) / columns; }
};

TEST_F(RopesTest, DockedOverTheTowerViewOrFloatingInTheirOwnWindow) {
  MainWindow w(options());
  RopesWindow& ropes = Open(w);
  EXPECT_TRUE(ropes.isVisible());
  EXPECT_FALSE(ropes.floating());
  EXPECT_EQ(ropes.parentWidget(), w.centralWidget());
  EXPECT_EQ(ropes.geometry(), w.towerViewWidget()->geometry());
  // Standing: a column for every bell of the tower; the two out of play
  // hang with their sallies at the bottom.
  EXPECT_EQ(ropes.content()->Spacing(), Columns(ropes, 8));
  const RopesScale scale = ropes.content()->Scale();
  const int bottom = ropes.height() - scale.sallyHeight;
  EXPECT_NEAR(ropes.content()->RopeY(7), bottom, 2);
  // Once raised and set at handstroke, a bell has drawn up rope.
  EXPECT_TRUE(RunUntil([&] { return ropes.content()->RopeY(0) < bottom - scale.sallyHeight / 2; }, 5000));

  // Standing, a rope's tip names its bell.
  EXPECT_EQ(TipAt(ropes, 0), "Treble");

  // Ringing six: six columns across the whole width; each sally rises and
  // falls through the rows.
  Start(w);
  ASSERT_TRUE(RunUntil([&] { return ropes.content()->Spacing() == Columns(ropes, 6); }));
  int highest = ropes.height(), lowest = 0;
  ASSERT_TRUE(RunUntil([&] {
    const int y = ropes.content()->RopeY(0);
    highest = std::min(highest, y);
    lowest = std::max(lowest, y);
    return w.rowsWindow()->RowCount() >= 8;
  }));
  EXPECT_GT(lowest - highest, 2 * scale.sallyHeight);
  EXPECT_GE(highest, 0);
  // Ringing, the tip is the rope's place, or the call that would move it.
  EXPECT_EQ(TipAt(ropes, 2), "3");
  w.settings().SetInt(setting::CallChangeTips, 1);
  EXPECT_EQ(TipAt(ropes, 2), "3 to 4");
  w.settings().SetInt(setting::CallUp, 0);
  EXPECT_EQ(TipAt(ropes, 2), "3 to 1");
  w.settings().SetInt(setting::CallChangeTips, 0);
  w.engine()->TogglePause();  // a still picture to keep
  QApplication::processEvents();
  Save(w, "ropes_docked_ringing.png");
  w.engine()->TogglePause();
  // With the down ropes shown: eight columns.
  w.settings().SetInt(setting::ShowDownRopes, 1);
  ropes.ReadSettings();
  EXPECT_EQ(ropes.content()->Spacing(), Columns(ropes, 8));
  w.settings().SetInt(setting::ShowDownRopes, 0);
  ropes.ReadSettings();
  // Docked, the ropes follow the tower view's size.
  w.resize(1100, 540);
  QApplication::processEvents();
  EXPECT_EQ(ropes.geometry(), w.towerViewWidget()->geometry());

  // Floating: a tool window of its own at the stored place and size.
  w.settings().SetInt(setting::RopesInSeparateWindow, 1);
  w.PlaceRopes();
  EXPECT_TRUE(ropes.floating());
  EXPECT_TRUE(ropes.isWindow());
  EXPECT_TRUE(ropes.isVisible());
  EXPECT_EQ(ropes.geometry(), QRect(20, 35, 600, 514));
  ASSERT_TRUE(RunUntil([&] { return ropes.content()->Frame().size() == QSize(600, 514); }));
  EXPECT_EQ(ropes.content()->Spacing(), Columns(ropes, 6));
  SaveFrame(ropes, "ropes_floating_ringing.png");
  // Moved and sized by the ringer: kept in the settings.
  ropes.setGeometry(100, 120, 500, 400);
  QApplication::processEvents();
  EXPECT_EQ(w.settings().GetInt(setting::RopesLeft), 100);
  EXPECT_EQ(w.settings().GetInt(setting::RopesTop), 120);
  EXPECT_EQ(w.settings().GetInt(setting::RopesWidth), 500);
  EXPECT_EQ(w.settings().GetInt(setting::RopesHeight), 400);
  // Keys pressed in the floating window reach the main window: Tab pauses.
  PressKey(&ropes, Qt::Key_Tab);
  EXPECT_TRUE(RunUntil([&] { return w.engine()->paused(); }, 5000));
  PressKey(&ropes, Qt::Key_Tab);
  EXPECT_FALSE(w.engine()->paused());
  // Too low, or too narrow for eight ropes: it snaps back.
  for (const QSize tooSmall : {QSize(500, 40), QSize(20, 400)}) {
    ropes.resize(tooSmall);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(ropes.size(), QSize(500, 400)) << tooSmall.width() << "x" << tooSmall.height();
  }
  EXPECT_EQ(w.settings().GetInt(setting::RopesHeight), 400);
  // Keys pressed in the floating window reach the main window: Tab pauses.
  PressKey(&ropes, Qt::Key_Tab);
  EXPECT_TRUE(RunUntil([&] { return w.engine()->paused(); }, 5000));
  PressKey(&ropes, Qt::Key_Tab);
  EXPECT_FALSE(w.engine()->paused());

  // Docked again, then hidden by F4 pressed over the ropes.
  w.settings().SetInt(setting::RopesInSeparateWindow, 0);
  w.PlaceRopes();
  EXPECT_FALSE(ropes.floating());
  EXPECT_EQ(ropes.geometry(), w.towerViewWidget()->geometry());
  PressKey(&ropes, Qt::Key_F4);
  EXPECT_FALSE(ropes.isVisible());
  EXPECT_EQ(w.settings().GetInt(setting::ShowRopes), 0);
  EXPECT_TRUE(boxes.empty()) << boxes.front().text;
}

TEST_F(RopesTest, OwnRopeFlashesAreScoredShownAndResetForANewTouch) {
  MainWindow w(options());
  RopesWindow& ropes = Open(w);
  // Nothing scored yet: the message says so, under its own caption.
  w.DoCommand(cmd::RopesightScore);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Ropesight Statisics");
  EXPECT_EQ(boxes[0].text, "No ropesight statistics are available at this time");
  boxes.clear();
  // My Rope: the third; chosen again it is cleared.
  w.DoCommand(cmd::OwnRopeBase + 2);
  EXPECT_EQ(ropes.OwnRope(), 2);
  w.DoCommand(cmd::OwnRopeBase + 2);
  EXPECT_EQ(ropes.OwnRope(), -1);
  w.DoCommand(cmd::OwnRopeBase + 2);
  EXPECT_EQ(ropes.OwnRope(), 2);
  EXPECT_TRUE(RunUntil([&] { return w.engine()->ownBell() == 2; }));
  // Changing the bells in play keeps the own rope.
  for (int twice = 0; twice < 2; ++twice) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, "7");
    QApplication::sendEvent(w.towerViewWidget(), &press);
    EXPECT_EQ(ropes.OwnRope(), 2);
  }
  EXPECT_EQ(Ringing().bellsInPlay, 6);
  // Flashes and tinted columns.
  w.DoCommand(cmd::Cumulative);
  EXPECT_EQ(w.settings().GetInt(setting::RopesightMode), 3);

  Start(w);
  PointAt(ropes, 1);
  const Method* plainBob = w.ReadCommandState().library->FindMethod("Plain Bob Minor", std::bitset<MaxStage + 1>().set(6));
  ASSERT_NE(plainBob, nullptr);
  w.control().RingTouch(plainBob);
  // A flash of the rope to follow, in the colour of the own bell's move.
  bool flashed = false;
  ASSERT_TRUE(RunUntil([&] {
    const QImage frame = ropes.content()->Frame();
    for (const int state : {Ropesight::FlashDown, Ropesight::FlashPlace, Ropesight::FlashUp}) {
      if (!flashed && w.status().rowCount >= 6 && FrameHasFlash(frame, rope_colour::Flash(state))) {
        fs::create_directories(CLANGOR_SCREENSHOT_DIR);
        frame.save(QString::fromStdString(std::string(CLANGOR_SCREENSHOT_DIR) + "/ropes_flash.png"), "PNG");
        flashed = true;
      }
    }
    return flashed;
  }));
  // The pointer wandering over the ropes: some flashes hit, some miss; the
  // hit bar fills from the misses' share down.
  int poll = 0;
  ASSERT_TRUE(RunUntil([&] {
    PointAt(ropes, poll++ % 6);
    const RopesightScores s = ropes.content()->Scores();
    return s.upMisses + s.placesDownMisses >= 2 && s.Total() > s.upMisses + s.placesDownMisses + 1 && s.upTotal > 0;
  }));
  w.engine()->TogglePause();
  QApplication::processEvents();
  ropes.Relayout();
  const QImage frame = ropes.content()->Frame();
  SaveFrame(ropes, "ropes_hit_bar.png");
  EXPECT_EQ(frame.pixel(5, frame.height() - 1), 0xFF0000FFu);
  EXPECT_NE(frame.pixel(5, 0), 0xFF0000FFu);
  EXPECT_NE(frame.pixel(15, frame.height() - 1), 0xFF0000FFu);
  w.DoCommand(cmd::RopesightScore);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Ropesight Statistics");
  EXPECT_EQ(boxes[0].text.rfind("Up:\t\t", 0), 0u) << boxes[0].text;
  EXPECT_NE(boxes[0].text.find("\nPlaces and Down:\t"), std::string::npos);
  EXPECT_NE(boxes[0].text.find("\nOverall:\t\t"), std::string::npos);
  EXPECT_TRUE(ropes.isEnabled());
  // The hit bar switched off and on again.
  w.DoCommand(cmd::HitBar);
  EXPECT_NE(ropes.content()->Frame().pixel(5, frame.height() - 1), 0xFF0000FFu);
  w.DoCommand(cmd::HitBar);
  w.engine()->TogglePause();

  // A new touch starts its score afresh.
  w.DoCommand(cmd::StopNow);
  ASSERT_TRUE(RunUntil([&] { return !w.engine()->ringing(); }));
  EXPECT_GT(ropes.content()->Scores().Total(), 0);
  Start(w);
  EXPECT_TRUE(RunUntil([&] { return ropes.content()->Scores().Total() == 0; }));
}

}  // namespace
}  // namespace clangor
