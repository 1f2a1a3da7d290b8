// The whole program offscreen on the product data: it loads the default
// tower, rings rounds from the space bar through the real engine, stands,
// and exits with its settings written; the screenshots a ringer would look
// at; a second start; and towers whose pictures are missing or broken.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/ringing_state.h"
#include "platform/ticks.h"
#include "shell/framework/message_box.h"
#include "shell/main_window.h"
#include "shell/single_instance.h"
#include "shell/status_panes.h"
#include "tests/platform/temp_folder.h"
#include "tests/shell/main_window_fixture.h"
#include "tower/tower.h"
#include "views/rows_window.h"
#include "views/splitter_bar.h"
#include "views/tower_view.h"
#include "views/tower_view_widget.h"

namespace clangor {
namespace {

TEST_F(MainWindowTest, RingsRoundsFromTheSpaceBarStandsAndSavesItsSettings) {
  {
    MainWindow window(options());
    window.resize(1100, 410);  // near the tower's own proportions
    window.show();
    EXPECT_EQ(window.tower()->name(), "Twelve Bells");
    EXPECT_EQ(window.windowTitle(), "Clangor - Twelve Bells");
    // Part-way through loading: some bells show, the progress bar runs on
    // until every picture is in.
    bool caught = false;
    const int pictures = 12 * std::atoi(window.tower()->bellProperty(0, "ImageCount").c_str());
    ASSERT_TRUE(RunUntil([&] {
      if (!caught && window.view()->bellShown(3) && window.progressBar()->value() < pictures / 2) {
        Save(window, "loading_twelve_bells.png");
        caught = true;
      }
      return window.towerReady() && window.progressBar()->value() == pictures;
    }));
    EXPECT_TRUE(caught);
    EXPECT_TRUE(window.progressBar()->isHidden());
    EXPECT_EQ(window.progressBar()->maximum(), pictures);
    EXPECT_EQ(window.paneText(pane::ClockSpeed), "3h20");
    EXPECT_EQ(window.paneText(pane::TenorNote), "D");
    Save(window, "stood_twelve_bells.png");

    // Every bell clicked into play, the rows pane shown, then the space bar
    // pressed in the tower view (the key reaches the main window).
    std::vector<QPoint> centres;
    window.engine()->WithDrawLock([&] {
      for (const ViewRect& r : window.view()->layout().bells) centres.emplace_back(r.x + r.w / 2, r.y + r.h / 2);
    });
    for (const QPoint& centre : centres) window.ClickTowerView(centre);
    EXPECT_EQ(Ringing().bellsInPlay, 12);
    window.ShowRows(true);
    // The splitter dragged to make the pane wide enough for twelve bells' rows.
    const int clientWidth = window.centralWidget()->width();
    EXPECT_EQ(window.splitter()->Limited(10), 150);
    EXPECT_EQ(window.splitter()->Limited(clientWidth), clientWidth - 15);
    emit window.splitter()->released(clientWidth - 135);
    EXPECT_EQ(window.settings().GetInt(setting::RowsWidth), 130);
    EXPECT_EQ(window.rowsWindow()->width(), 130);
    PressKey(window.towerViewWidget(), Qt::Key_Space);
    ASSERT_TRUE(RunUntil([&] { return window.rowsWindow()->RowCount() >= 8; }));
    EXPECT_EQ(window.windowTitle(), "Clangor");
    EXPECT_EQ(window.status().rowText.size(), 12u);
    EXPECT_TRUE(window.rowsWindow()->shownText().contains("1234567890ET"));
    window.ClickTowerView(QPoint(5, 5));  // off the bells: nothing happens while ringing
    Save(window, "ringing_twelve_bells_rows.png");

    // Escape while ringing, pressed in the rows pane, stops the bells at
    // once; the window stays.
    PressKey(window.rowsWindow(), Qt::Key_Escape);
    ASSERT_TRUE(RunUntil([&] { return !window.engine()->ringing(); }));
    window.DrainEngineEvents();
    EXPECT_EQ(window.windowTitle(), "Clangor - Twelve Bells");
    EXPECT_TRUE(window.isVisible());
    // Escape while stood closes the window.
    PressKey(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
  }
  EXPECT_TRUE(boxes.empty()) << boxes.front().caption << ": " << boxes.front().text;
  const std::string settings = registryText();
  EXPECT_NE(settings.find("\"TowerName\"=\"Twelve Bells\""), std::string::npos) << settings;
  EXPECT_NE(settings.find("\"ShowRows\"=dword:00000001"), std::string::npos);
  EXPECT_TRUE(fs::exists(dataFolder() / "Compendium/XII/methods.txt"));
}

TEST_F(MainWindowTest, ChangesTowerAndShowsEachStood) {
  MainWindow window(options());
  window.resize(900, 445);
  window.show();
  ASSERT_TRUE(RunUntil([&] { return window.towerReady(); }));
  for (const char* name : {"Eight Bells", "Twelve Bells"}) {
    window.UnloadTower();
    window.LoadTower(name);
    ASSERT_TRUE(RunUntil([&] { return window.towerReady(); }));
    EXPECT_EQ(window.windowTitle(), QString("Clangor - ") + name);
    Save(window, std::string("stood_") + (name[0] == 'E' ? "eight" : "twelve") + "_bells_changed.png");
  }
  EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindowTest, SurpriseMethodShowsTheSurprisePicture) {
  MainWindow window(options());
  window.resize(800, 400);
  window.show();
  window.UnloadTower();
  window.LoadTower("Eight Bells");
  ASSERT_TRUE(RunUntil([&] { return window.towerReady(); }));
  EXPECT_FALSE(window.view()->surpriseOn());
  const_cast<TouchStatus&>(window.status()).nameText = "Cambridge Surprise Major";
  window.UpdateStatus(pane::Name);
  EXPECT_TRUE(window.view()->surpriseOn());
  RunUntil([] { return false; }, 200);
  Save(window, "stood_eight_bells_surprise.png");
}

// A tower folder the program cannot draw: the messages, and the program runs on.
TEST_F(MainWindowTest, BrokenTowersReportAndLeaveTheProgramRunning) {
  const fs::path towers = dataFolder() / "Towers/XII";
  const fs::path eight = fs::path(CLANGOR_TEST_DATA_DIR) / "Towers/XII/Eight Bells";
  // A copy of the eight with its own (missing) pictures, and one with no base
  // picture section, whose base is 0 x 0.
  const auto copyTower = [&](const std::string& name, bool withBase) {
    fs::create_directories(towers / name);
    fs::copy(eight / "control.cld", towers / name / "control.cld");
    fs::copy(eight / "sounds", towers / name / "sounds", fs::copy_options::recursive);
    std::ifstream inTower(eight / "tower.txt"), inControl(eight / "control.txt");
    std::ofstream outTower(towers / name / "tower.txt"), outControl(towers / name / "control.txt");
    for (std::string line; std::getline(inTower, line);)
      outTower << (line.rfind("ImagesTower=", 0) == 0 ? "ImagesTower=" + name : line) << "\n";
    bool skipping = false;
    for (std::string line; std::getline(inControl, line);) {
      if (!line.empty() && line[0] == '[') skipping = !withBase && line == "[Base Image]";
      if (!skipping) outControl << line << "\n";
    }
  };
  copyTower("No Pictures", true);
  copyTower("No Base", false);
  fs::create_directories(towers / "No Pictures/images/1");
  std::ofstream(towers / "No Pictures/images/1/1-000.bmp") << "not a bitmap";

  MainWindow window(options());
  window.resize(700, 400);
  window.show();
  ASSERT_TRUE(RunUntil([&] { return window.towerReady(); }));
  window.UnloadTower();
  window.LoadTower("No Pictures");
  ASSERT_TRUE(RunUntil([&] { return window.towerReady(); }));
  EXPECT_TRUE(boxes.empty());
  for (int bell = 0; bell < 8; ++bell) window.control().ToggleBell(bell);
  window.SpaceBar();
  ASSERT_TRUE(RunUntil([&] { return window.rowsWindow()->RowCount() >= 2; }));
  window.Escape();
  ASSERT_TRUE(RunUntil([&] { return !window.engine()->ringing(); }));

  window.UnloadTower();
  window.LoadTower("No Base");
  ASSERT_TRUE(RunUntil([&] { return window.towerReady() && boxes.size() >= 2; }));
  EXPECT_EQ(boxes[0].caption, "Possible problem with application data location");
  EXPECT_EQ(boxes[0].text, "Path=" + SettingsStore::AppDataPath());
  EXPECT_EQ(boxes[1].caption, "DirectX Problem");
  EXPECT_EQ(boxes[1].text, "CreateSurface2 FAILED (code -2147024809)");
  EXPECT_FALSE(window.view()->ready());
  window.engine()->Redraw();  // draws nothing, breaks nothing
  EXPECT_TRUE(window.isVisible());
}

TEST_F(MainWindowTest, DrainedEventsReachPanesTitleAndRows) {
  MainWindow window(options());
  window.resize(900, 445);
  window.show();
  window.ShowRows(true);
  ASSERT_TRUE(RunUntil([&] { return window.towerReady(); }));
  const auto post = [&](int code, std::string text, int value) {
    window.PostEvent(EngineEvent{code, std::move(text), {value, 0, 0, 0}});
  };
  post(event::RowRung, "123456789OET", 0);
  post(event::TouchDescribed, "Plain Bob Maximus", 0);
  post(event::RowRung, "2143658709TE", 12);
  post(event::CallMade, "Bob", 'b');
  post(event::RowRung, "241635879E0T", 12);
  post(event::RowRung, "426153789ET0", 12);
  window.DrainEngineEvents();
  EXPECT_EQ(window.paneText(pane::Name), "Plain Bob Maximus");
  EXPECT_EQ(window.paneText(pane::RowCount), "3");
  EXPECT_EQ(window.paneText(pane::Row), "426153789ET0");
  EXPECT_EQ(window.paneText(pane::Call), "Bob");
  EXPECT_FALSE(window.paneText(pane::Time).isEmpty());
  EXPECT_EQ(window.windowTitle(), "Clangor - Twelve Bells");
  EXPECT_EQ(window.rowsWindow()->shownText(),
            " 123456789OET Plain Bob Maximus\n 2143658709TE\n 241635879E0T\n-426153789ET0");
  post(event::RingingEnded, "", 0);
  window.DrainEngineEvents();
  EXPECT_EQ(window.windowTitle(), "Clangor - Twelve Bells");
}

TEST_F(MainWindowTest, ASavedTowerNoLongerInstalledFallsBackToTheTwelve) {
  {
    SettingsStore saved;
    saved.SetString(TowerNameSetting, "Gone Away");
  }
  MainWindow window(options());
  EXPECT_EQ(window.tower()->name(), "Twelve Bells");
}

TEST_F(MainWindowTest, FullScreenIsSavedAndHasItsOwnStatusBarSetting) {
  MainWindow window(options());
  window.settings().SetInt(setting::FSStatusBar, 0);
  window.show();
  window.ToggleFullScreen();
  EXPECT_EQ(window.settings().GetInt(setting::FullScreen), 1);
  EXPECT_TRUE(window.statusBar()->isHidden());
  window.ToggleFullScreen();
  EXPECT_EQ(window.settings().GetInt(setting::FullScreen), 0);
  EXPECT_FALSE(window.statusBar()->isHidden());
}

TEST_F(MainWindowTest, CopyRowsReportsHowManyRows) {
  MainWindow window(options());
  window.rowsWindow()->AddRow("12345678");
  window.rowsWindow()->AddRow("21436587");
  window.CopyRows();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Copy Rows...");
  EXPECT_EQ(boxes[0].text, "2 rows copied");
}

// The tower view on its own, loaded by hand as the worker would.
TEST_F(MainWindowTest, TowerViewDrawsABellAndPresentsItsRectangle) {
  SettingsStore settings;
  Tower tower("Eight Bells", settings);
  std::vector<QRect> presented;
  TowerView::Hooks hooks;
  hooks.present = [&](int x, int y, int w, int h) { presented.emplace_back(x, y, w, h); };
  TowerView view(tower, settings, SettingsStore::AppDataPath(), 0, hooks, {});
  ASSERT_EQ(view.openDisplay(), 0);
  for (int bell = 0; bell < view.bellCount(); ++bell) {
    view.makeBellSurfaces(bell);
    view.loadBellPicture(bell, 0);
  }
  view.setClientSize(931, 470);
  view.redraw();
  ASSERT_EQ(presented.size(), 1u);
  EXPECT_EQ(presented[0], QRect(0, 0, 931, 470));
  const TowerViewLayout& layout = view.layout();
  EXPECT_EQ(layout.bells[4].y, layout.bells[3].bottom());  // the fifth hangs under the fourth
  view.drawBell(4, 0);
  const ViewRect& fifth = layout.bells[4];
  EXPECT_EQ(presented.back(), QRect(fifth.x, fifth.y, fifth.w, fifth.h));
  EXPECT_EQ(view.currentPicture(4), 0);
  // A bell picture whose surface cannot be made stops every drawing.
  view.reportDirectXProblem("CreateSurface (bells) FAILED", 5);
  ASSERT_EQ(boxes.size(), 0u);  // no report hook: nothing shown
  const std::size_t before = presented.size();
  view.drawBell(4, 1);
  view.redraw();
  EXPECT_EQ(presented.size(), before);
}

TEST(SingleInstance, SecondStartBringsTheFirstForward) {
  const QString name = QString("clangor-test-%1").arg(QCoreApplication::applicationPid());
  SingleInstance first(name);
  EXPECT_FALSE(first.AskRunningInstance(200));  // nobody runs yet
  int raised = 0;
  ASSERT_TRUE(first.Listen([&] { ++raised; }));
  SingleInstance second(name);
  EXPECT_TRUE(second.AskRunningInstance());
  EXPECT_TRUE(RunUntil([&] { return raised == 1; }, 5000));
}

}  // namespace
}  // namespace clangor
