// The main window's commands on the product data, offscreen: the menus as
// they open in each ringing state (with screenshots), the keys pressed in
// each child window, the tool bar's states, the help window, and a plain
// course and a composition rung from the Ringing menu through the real
// engine on a simulated clock.
#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolButton>

#include "engine/ringing_state.h"
#include "shell/command_bar.h"
#include "shell/command_ids.h"
#include "shell/main_window.h"
#include "shell/status_panes.h"
#include "tests/shell/main_window_fixture.h"
#include "tower/tower.h"
#include "views/rows_store.h"
#include "views/rows_window.h"
#include "views/tower_view.h"
#include "views/tower_view_widget.h"

namespace clangor {
namespace {

namespace cmd = command;

QMenu* BarMenu(MainWindow& w, const char* name) { return w.menuBar()->findChild<QMenu*>(name); }

// Opens a menu of the menu bar as a click would (rebuilding it), shows it
// for a screenshot, and closes it.
QMenu* OpenMenu(MainWindow& w, const char* name, const std::string& shot = {}) {
  QMenu* menu = BarMenu(w, name);
  menu->popup(w.mapToGlobal(QPoint(20, 20)));
  QApplication::processEvents();
  if (!shot.empty()) Save(*menu, shot);
  menu->hide();
  return menu;
}

QAction* ActionOf(QMenu* menu, const QString& text) {
  for (QAction* a : menu->actions()) {
    QString plain = a->text();
    plain.remove('&');
    if (plain.section('\t', 0, 0) == text) return a;
  }
  return nullptr;
}

QMenu* SubMenu(QMenu* menu, const QString& text) {
  QAction* a = ActionOf(menu, text);
  return a ? a->menu() : nullptr;
}

void Type(QWidget* target, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(target, &press);
  }
}

// The four bands of the tool bar, as a picture.
void SaveToolBar(MainWindow& w, const std::string& name) {
  QRect area;
  for (int band = 0; band < 4; ++band) area |= w.commandBar()->band(band)->geometry();
  fs::create_directories(CLANGOR_SCREENSHOT_DIR);
  w.grab(area).save(QString::fromStdString(std::string(CLANGOR_SCREENSHOT_DIR) + "/" + name), "PNG");
}

class CommandsTest : public MainWindowTest {
 protected:
  // The eight-bell tower, ready, with the first `bells` bells typed into play
  // in the tower view.
  void Open(MainWindow& w, int bells) {
    w.resize(1000, 500);
    w.show();
    w.UnloadTower();
    w.LoadTower("Eight Bells");
    ASSERT_TRUE(RunUntil([&] { return w.towerReady(); }));
    Type(w.towerViewWidget(), QString("12345678").left(bells));
    ASSERT_EQ(Ringing().bellsInPlay, bells);
  }
  // Waits for rows of rounds after Start.
  void StartRounds(MainWindow& w) {
    PressKey(w.towerViewWidget(), Qt::Key_Space);
    ASSERT_TRUE(RunUntil([&] { return w.rowsWindow()->RowCount() >= 4; }));
  }
};

TEST_F(CommandsTest, TheRingingMenuFollowsTheStateAndEachMenuIsShown) {
  MainWindow w(options());
  Open(w, 0);
  QMenu* ringing = OpenMenu(w, "Ringing", "menu_ringing_stood_no_bells.png");
  EXPECT_EQ(ActionOf(ringing, "Start"), nullptr);
  ASSERT_NE(ActionOf(ringing, "None"), nullptr);
  EXPECT_FALSE(ActionOf(ringing, "None")->isEnabled());
  OpenMenu(w, "File", "menu_file.png");
  OpenMenu(w, "View", "menu_view.png");
  OpenMenu(w, "Help", "menu_help.png");
  EXPECT_EQ(ActionOf(BarMenu(w, "File"), "Eight Bells")->isChecked(), true);

  Type(w.towerViewWidget(), "123456");
  ringing = OpenMenu(w, "Ringing", "menu_ringing_stood_six_bells.png");
  ASSERT_NE(ActionOf(ringing, "Start"), nullptr);
  QMenu* go = SubMenu(ringing, "Go");
  ASSERT_NE(go, nullptr);
  ASSERT_NE(SubMenu(go, "Minor"), nullptr);
  EXPECT_EQ(SubMenu(go, "Triples"), nullptr);
  SaveToolBar(w, "toolbar_stood_six_bells.png");
  // Only the stage button of the bells in play shows; the call-change
  // button shows from three bells.
  for (int stage = 3; stage <= 18; ++stage)
    EXPECT_EQ(w.commandBar()->Button(cmd::StageButtonBase + stage)->isVisibleTo(&w), stage == 6) << stage;
  EXPECT_TRUE(w.commandBar()->Button(cmd::SequencesButton)->isVisibleTo(&w));
  EXPECT_TRUE(w.commandBar()->Button(cmd::Start)->isEnabled());
  EXPECT_FALSE(w.commandBar()->Button(cmd::StopNow)->isEnabled());
  EXPECT_TRUE(w.commandBar()->Button(cmd::SelectBells)->isEnabled());

  // Rounds: the touches are offered; the keys "3" and "4" call a change.
  StartRounds(w);
  ringing = OpenMenu(w, "Ringing", "menu_ringing_rounds.png");
  EXPECT_NE(ActionOf(ringing, "Stand"), nullptr);
  EXPECT_NE(ActionOf(ringing, "Pause"), nullptr);
  EXPECT_EQ(ActionOf(ringing, "Start"), nullptr);
  EXPECT_TRUE(w.commandBar()->Button(cmd::Rounds)->isChecked());
  EXPECT_TRUE(w.commandBar()->Button(cmd::StopNow)->isEnabled());
  EXPECT_FALSE(w.commandBar()->Button(cmd::Start)->isEnabled());
  SaveToolBar(w, "toolbar_ringing_rounds.png");

  // A method from the Ringing menu: its calls appear, a bob is checked by "b".
  // A row of rounds drained after the request clears it (the drain takes
  // it for rounds rung before the touch began): drain just before.
  w.DrainEngineEvents();
  ActionOf(SubMenu(SubMenu(ringing, "Go"), "Minor"), "Plain Bob")->trigger();
  ASSERT_TRUE(RunUntil([&] { return w.status().rowCount >= 2; }));
  Type(w.rowsWindow(), "b");
  ringing = OpenMenu(w, "Ringing", "menu_ringing_method.png");
  ASSERT_NE(ActionOf(ringing, "Bob"), nullptr);
  EXPECT_TRUE(ActionOf(ringing, "Bob")->isEnabled());
  EXPECT_TRUE(ActionOf(ringing, "Bob")->isChecked());
  EXPECT_NE(ActionOf(ringing, "Rounds"), nullptr);
  Save(w, "window_ringing_method.png");

  // Stand: Stand leaves the menu while the bells come to rest.
  w.DoCommand(cmd::Stand);
  ringing = OpenMenu(w, "Ringing", "menu_ringing_standing.png");
  EXPECT_EQ(ActionOf(ringing, "Stand"), nullptr);
  EXPECT_TRUE(w.commandBar()->Button(cmd::Stand)->isChecked());
  ASSERT_TRUE(RunUntil([&] { return !w.engine()->ringing(); }));
  EXPECT_TRUE(boxes.empty()) << boxes.front().text;
}

TEST_F(CommandsTest, HighlightedItemsShowTheirHelpInPaneFiveUntilTheMenuCloses) {
  MainWindow w(options());
  Open(w, 6);
  QMenu* ringing = BarMenu(w, "Ringing");
  ringing->popup(QPoint(10, 10));
  QApplication::processEvents();
  QAction* start = ActionOf(ringing, "Start");
  ASSERT_NE(start, nullptr);
  ringing->setActiveAction(start);
  EXPECT_EQ(w.paneText(pane::Call), "Start the bells ringing");
  ringing->hide();
  QApplication::processEvents();
  EXPECT_EQ(w.paneText(pane::Call), "");
}

TEST_F(CommandsTest, KeysReachTheirCommandsFromEveryChildWindow) {
  MainWindow w(options());
  Open(w, 0);
  for (QWidget* child : {static_cast<QWidget*>(w.towerViewWidget()), static_cast<QWidget*>(w.rowsWindow()),
                         static_cast<QWidget*>(w.statusBar()), static_cast<QWidget*>(&w)}) {
    Type(child, "1");
    EXPECT_EQ(Ringing().bellsInPlay, 1) << child->metaObject()->className();
    Type(child, "1");
    EXPECT_EQ(Ringing().bellsInPlay, 0);
  }
  // F-keys open their pop-ups only with enough bells in play.
  PressKey(w.rowsWindow(), Qt::Key_F8);
  EXPECT_EQ(w.activePopup(), nullptr);
  Type(w.rowsWindow(), "12345678");
  PressKey(w.rowsWindow(), Qt::Key_F8);
  ASSERT_NE(w.activePopup(), nullptr);
  EXPECT_EQ(w.activePopupIndex(), 8);
  Save(*w.activePopup(), "popup_f8_major_methods.png");
  w.activePopup()->close();
  QApplication::processEvents();
  PressKey(w.towerViewWidget(), Qt::Key_F2);
  ASSERT_NE(w.activePopup(), nullptr);
  EXPECT_EQ(w.activePopupIndex(), 2);
  Save(*w.activePopup(), "popup_f2_ringing.png");
  w.activePopup()->close();
  QApplication::processEvents();
  QKeyEvent ctrlF2(QEvent::KeyPress, Qt::Key_F2, Qt::ControlModifier);
  QApplication::sendEvent(w.rowsWindow(), &ctrlF2);
  ASSERT_NE(w.activePopup(), nullptr);
  EXPECT_EQ(w.activePopupIndex(), cmd::SequenceBase);
  w.activePopup()->close();
  QApplication::processEvents();
  // Up raises the pitch; "-" silences; F1 opens the help at its contents.
  PressKey(w.rowsWindow(), Qt::Key_Up);
  EXPECT_EQ(w.paneText(pane::TenorNote).isEmpty(), false);
  EXPECT_EQ(w.settings().GetTowerString(tower_string::SemitoneShift), "1");
  PressKey(w.towerViewWidget(), Qt::Key_F1);
  ASSERT_NE(w.helpBrowser(), nullptr);
  EXPECT_TRUE(w.helpBrowser()->source().toString().endsWith("contents.html"));
  Save(*w.helpBrowser(), "help_contents.png");
  // Space starts; Tab pauses; space steps; Escape stops.
  PressKey(w.rowsWindow(), Qt::Key_Space);
  ASSERT_TRUE(RunUntil([&] { return w.rowsWindow()->RowCount() >= 2; }));
  PressKey(w.rowsWindow(), Qt::Key_Tab);
  EXPECT_TRUE(w.engine()->paused());
  EXPECT_TRUE(w.commandBar()->Button(cmd::Pause)->isChecked());
  EXPECT_TRUE(w.commandBar()->Button(cmd::Step)->isEnabled());
  PressKey(w.towerViewWidget(), Qt::Key_Tab);
  EXPECT_FALSE(w.engine()->paused());
  PressKey(w.towerViewWidget(), Qt::Key_Escape);
  ASSERT_TRUE(RunUntil([&] { return !w.engine()->ringing(); }));
  EXPECT_TRUE(w.isVisible());
}

TEST_F(CommandsTest, ARightClickRemembersTheBellForMyRopeUntilTheMenuBarOpens) {
  MainWindow w(options());
  Open(w, 6);
  QPoint second;
  w.engine()->WithDrawLock([&] {
    const ViewRect& r = w.view()->layout().bells[1];
    second = QPoint(r.x + r.w / 2, r.y + r.h / 2);
  });
  w.ContextMenuAt(second, w.mapToGlobal(QPoint(40, 40)));
  EXPECT_EQ(w.rememberedBell(), 1);
  ASSERT_NE(w.activePopup(), nullptr);
  EXPECT_EQ(w.activePopupIndex(), 0);
  EXPECT_NE(ActionOf(w.activePopup(), "My Rope"), nullptr);
  EXPECT_NE(ActionOf(w.activePopup(), "Help..."), nullptr);
  EXPECT_NE(ActionOf(w.activePopup(), "Exit"), nullptr);
  EXPECT_NE(SubMenu(w.activePopup(), "View"), nullptr);
  Save(*w.activePopup(), "popup_right_click_stood.png");
  w.activePopup()->close();
  QApplication::processEvents();
  OpenMenu(w, "Ringing");
  EXPECT_EQ(w.rememberedBell(), -1);
  // Off the bells: nothing to remember, and no My Rope.
  w.ContextMenuAt(QPoint(2, 2), w.mapToGlobal(QPoint(40, 40)));
  ASSERT_NE(w.activePopup(), nullptr);
  EXPECT_EQ(ActionOf(w.activePopup(), "My Rope"), nullptr);
  w.activePopup()->close();
  QApplication::processEvents();
}

TEST_F(CommandsTest, PlaceholdersAndTheRestoreQuestion) {
  MainWindow w(options());
  Open(w, 0);
  for (const int id : {cmd::MethodList, cmd::CompositionList, cmd::CallChangeList}) EXPECT_TRUE(w.DoCommand(id));
  EXPECT_EQ(dialogs, (std::vector<std::string>{"Major Methods", "Compositions", "Call Change Sequences for 8 Bells"}));
  boxes.clear();
  OvLibrary::SetMessageBoxHook([this](const OvLibrary::MessageBoxRecord& box) {
    boxes.push_back(box);
    return QMessageBox::Yes;
  });
  w.DoCommand(cmd::RestoreLibrary);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Restore Methods and Compositions");
  EXPECT_EQ(w.settings().GetInt(setting::LoadFromDefaults), 1);
  // Full screen has its own menu bar setting (off by default).
  w.DoCommand(cmd::FullScreen);
  EXPECT_FALSE(w.menuBar()->isVisibleTo(&w));
  w.DoCommand(cmd::MenuBar);
  EXPECT_TRUE(w.menuBar()->isVisibleTo(&w));
  EXPECT_EQ(w.settings().GetInt(setting::FSMenuBar), 1);
  EXPECT_EQ(w.settings().GetInt(setting::MenuBar), 1);
  w.DoCommand(cmd::FullScreen);
  // Rows are not switched on in a window too low for them.
  w.ShowRows(false);
  w.setMinimumSize(0, 0);
  w.resize(700, 150);
  QApplication::processEvents();
  EXPECT_FALSE(w.DoCommand(cmd::Rows));
  EXPECT_EQ(w.settings().GetInt(setting::ShowRows), 0);
}

// A plain course of Plain Bob Minor chosen from the Ringing menu, then a
// composition from its pop-up: the rows reach the rows pane.
TEST_F(CommandsTest, RingsAPlainCourseAndACompositionFromTheRingingMenu) {
  MainWindow w(options());
  Open(w, 6);
  w.ShowRows(true);
  StartRounds(w);
  QMenu* ringing = OpenMenu(w, "Ringing");
  // A row of rounds drained after the request clears it (the drain takes
  // it for rounds rung before the touch began): drain just before.
  w.DrainEngineEvents();
  ActionOf(SubMenu(SubMenu(ringing, "Go"), "Minor"), "Plain Bob")->trigger();
  // A plain course is sixty rows, the last of them rounds.
  ASSERT_TRUE(RunUntil([&] { return w.status().rowCount >= 60; }));
  const RowsStore& rows = w.rowsWindow()->store();
  std::vector<std::string> touch;
  // Each row as the pane shows it: a mark column, the bells, then any note.
  for (int i = 0; i < rows.RowCount(); ++i) touch.push_back(rows.Row(i).substr(1, 6));
  const auto leadEnd = std::find(touch.begin(), touch.end(), "135264");
  ASSERT_NE(leadEnd, touch.end()) << ::testing::PrintToString(touch);
  EXPECT_EQ(*(leadEnd - 1), "132546");  // the lead end before the lead head
  EXPECT_NE(std::find(touch.begin(), touch.end(), "156342"), touch.end());
  EXPECT_NE(std::find(touch.begin(), touch.end(), "164523"), touch.end());
  EXPECT_NE(std::find(touch.begin(), touch.end(), "142635"), touch.end());

  ringing = OpenMenu(w, "Ringing");
  QMenu* compositions = nullptr;
  for (QAction* a : ringing->actions())
    if (a->menu() && a->text().contains("Compositions")) compositions = a->menu();
  ASSERT_NE(compositions, nullptr);
  ASSERT_GT(compositions->actions().size(), 1);
  QAction* first = compositions->actions().front();
  w.DrainEngineEvents();
  first->trigger();
  ASSERT_TRUE(RunUntil([&] {
    return w.ReadCommandState().compositionInProgress && w.status().rowCount >= 12;
  }));
  ringing = OpenMenu(w, "Ringing", "menu_ringing_composition.png");
  ASSERT_NE(ActionOf(ringing, "Bob"), nullptr);
  EXPECT_FALSE(ActionOf(ringing, "Bob")->isEnabled());
  Save(w, "window_ringing_composition.png");
  w.DoCommand(cmd::StopNow);
  ASSERT_TRUE(RunUntil([&] { return !w.engine()->ringing(); }));
}

}  // namespace
}  // namespace clangor
