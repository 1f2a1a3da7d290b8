// The moving numbers and the manual control window in the whole program on
// the product data, offscreen: shown and hidden by their commands, the keys
// typed in them reaching the main window, and both while a method rings on
// the simulated clock (with screenshots of the numbers mid-slide in each
// highlight style and of the manual gauge).
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>

#include "engine/ringing_state.h"
#include "ringing/method.h"
#include "shell/command_ids.h"
#include "shell/main_window.h"
#include "tests/shell/main_window_fixture.h"
#include "views/manual_window.h"
#include "views/rows_window.h"
#include "views/numbers_window.h"
#include "views/tower_view_widget.h"

namespace clangor {
namespace {

namespace cmd = command;

void Type(QWidget* target, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(target, &press);
  }
}

// A change with bells that cross and bells that make places, its numbers
// a third of the way across: apart, and visibly on the move.
bool MidSlide(const NumbersFrame& f) {
  int crossing = 0;
  for (std::size_t i = 0; i < 8; ++i) crossing += f.fromRow[i] != f.toRow[i] ? 1 : 0;
  return f.highlight && crossing > 0 && crossing < 8 && f.fraction > 0.15 && f.fraction < 0.35;
}

class RingingWindowsTest : public MainWindowTest {
 protected:
  void Open(MainWindow& w) {
    w.resize(1000, 500);
    w.show();
    w.UnloadTower();
    w.LoadTower("Eight Bells");
    ASSERT_TRUE(RunUntil([&] { return w.towerReady(); }));
  }
};

TEST_F(RingingWindowsTest, TheCommandsShowBothWindowsAndTheirKeysReachTheMainWindow) {
  MainWindow w(options());
  Open(w);
  ASSERT_NE(w.numbersWindow(), nullptr);
  ASSERT_NE(w.manualWindow(), nullptr);
  EXPECT_FALSE(w.numbersWindow()->isVisible());
  EXPECT_FALSE(w.manualWindow()->isVisible());
  EXPECT_TRUE(w.DoCommand(cmd::MovingNumbers));
  EXPECT_TRUE(w.DoCommand(cmd::ManualControl));
  EXPECT_TRUE(w.numbersWindow()->isVisible());
  EXPECT_TRUE(w.manualWindow()->isVisible());
  EXPECT_EQ(w.settings().GetInt(setting::ShowMovingNumbers), 1);
  EXPECT_TRUE(w.ReadCommandState().movingNumbers);
  EXPECT_TRUE(w.ReadCommandState().manualControl);
  // Bell numbers typed in either window choose bells in the tower.
  Type(w.numbersWindow(), "12");
  Type(w.manualWindow(), "34");
  EXPECT_EQ(Ringing().bellsInPlay, 4);
  // The moving numbers open shown on the next start; the manual window not.
  EXPECT_TRUE(w.DoCommand(cmd::MovingNumbers));
  EXPECT_TRUE(w.DoCommand(cmd::ManualControl));
  EXPECT_FALSE(w.numbersWindow()->isVisible());
  EXPECT_FALSE(w.manualWindow()->isVisible());
  EXPECT_EQ(w.settings().GetInt(setting::ShowMovingNumbers), 0);
}

TEST_F(RingingWindowsTest, TheNumbersSlideAndTheGaugeSwingsWhileAMethodRings) {
  MainWindow w(options());
  Open(w);
  Type(w.towerViewWidget(), "12345678");
  w.DoCommand(cmd::MovingNumbers);
  w.DoCommand(cmd::ManualControl);
  NumbersWindow& numbers = *w.numbersWindow();
  ManualWindow& manual = *w.manualWindow();
  numbers.resize(numbers.width(), 96);
  w.DoCommand(cmd::OwnRopeBase + 3);
  ASSERT_TRUE(RunUntil([&] { return manual.windowTitle().startsWith("4 ("); }));

  PressKey(w.towerViewWidget(), Qt::Key_Space);
  ASSERT_TRUE(RunUntil([&] { return w.rowsWindow()->RowCount() >= 4; }));
  w.DrainEngineEvents();
  Method plainBob{8, "Plain Bob", "|12|&-18-18-18-18,|14|1234"};
  w.control().RingTouch(&plainBob);
  ASSERT_TRUE(RunUntil([&] { return w.status().rowCount >= 8; }));

  // Catch the numbers halfway through a change and pause the clock there.
  bool caught = false;
  for (int attempt = 0; attempt < 20 && !caught; ++attempt) {
    ASSERT_TRUE(RunUntil([&] { return MidSlide(numbers.content().frame()); }));
    w.DoCommand(cmd::Pause);
    ASSERT_TRUE(RunUntil([&] { return w.engine()->paused(); }));
    QApplication::processEvents();
    caught = MidSlide(numbers.content().frame());
    if (!caught) w.DoCommand(cmd::Pause);
  }
  ASSERT_TRUE(caught);
  const NumbersFrame frame = numbers.content().frame();
  // The strip shows the tower's bells, each once.
  std::vector<int> bells(frame.toRow.begin(), frame.toRow.begin() + 8);
  std::sort(bells.begin(), bells.end());
  EXPECT_EQ(bells, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
  QImage numbersOnly;
  for (const int style : {0, 2, 5}) {
    w.settings().SetInt(setting::NumbersSwapOption, style);
    const QImage shot = numbers.grab().toImage();
    Save(numbers, "numbers_mid_slide_style" + std::to_string(style) + ".png");
    // Each highlight style marks the change over the numbers alone.
    if (style == 0) {
      numbersOnly = shot;
    } else {
      EXPECT_NE(shot, numbersOnly) << style;
    }
  }

  // The gauge: both pulling bands and the marker of the own bell's swing.
  const QImage gauge = manual.grab().toImage();
  Save(manual, "manual_gauge_ringing.png");
  const auto has = [&](QRgb colour) {
    for (int y = 0; y < gauge.height(); ++y)
      for (int x = 0; x < gauge.width(); ++x)
        if ((gauge.pixel(x, y) & 0xFFFFFF) == colour) return true;
    return false;
  };
  EXPECT_TRUE(has(ManualWindow::LeftBandColour));
  EXPECT_TRUE(has(ManualWindow::RightBandColour));
  EXPECT_TRUE(has(0x000000));
  EXPECT_GT(manual.control().amplitude(), 18000);

  w.DoCommand(cmd::Pause);
  w.DoCommand(cmd::StopNow);
  ASSERT_TRUE(RunUntil([&] { return !w.engine()->ringing(); }));
}

}  // namespace
}  // namespace clangor
