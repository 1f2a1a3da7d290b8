// The main window's rules without a window: the status panes' texts, the
// drain of a scripted event queue, the sizing rules and the data folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "engine/engine_event_queue.h"
#include "shell/data_folder.h"
#include "shell/event_drain.h"
#include "shell/status_panes.h"
#include "shell/window_sizing.h"
#include "tests/platform/temp_folder.h"
#include "views/rows_store.h"

namespace clangor {
namespace {

TEST(StatusPanes, ClockPaneShowsTheSpeedOrThePealTime) {
  EXPECT_EQ(ClockPaneText(0, 1.0, 180), "3h00");
  EXPECT_EQ(ClockPaneText(0, 1.0, 200), "3h20");
  EXPECT_EQ(ClockPaneText(0, 1.0, 0), "");
  EXPECT_EQ(ClockPaneText(2, 2.0, 180), "2.00");
  EXPECT_EQ(ClockPaneText(2, 1.0, 180), "1.0");
  EXPECT_EQ(ClockPaneText(-1, 0.7071, 180), "0.71");
}

TEST(StatusPanes, CallPaneJoinsCallAndNote) {
  EXPECT_EQ(CallPaneText("Bob", ""), "Bob");
  EXPECT_EQ(CallPaneText("", "(Plain Bob Major)"), "(Plain Bob Major)");
  EXPECT_EQ(CallPaneText("Bob", "(Plain Bob Major)"), "Bob, (Plain Bob Major)");
}

TEST(StatusPanes, RingingTimeCarriesAMinuteAt5995) {
  struct Case {
    double seconds;
    const char* text;
  } cases[] = {
      {0.0, "0:00:00.0"},     {12.34, "0:00:12.3"},   {59.94, "0:00:59.9"}, {59.95, "0:01:00.0"},
      {119.96, "0:02:00.0"},  {3599.96, "1:00:00.0"}, {3725.5, "1:02:05.5"}, {-3.0, "0:00:00.0"},
  };
  for (const Case& c : cases) EXPECT_EQ(RingingTimeText(c.seconds), c.text) << c.seconds;
}

TEST(StatusPanes, PausesAreNotCounted) {
  // Ringing control moves the touch's start on by every pause's length.
  const double touchStart = 100.0, pause = 30.0, now = 190.0;
  EXPECT_EQ(RingingTimeText(now - (touchStart + pause)), "0:01:00.0");
}

TEST(StatusPanes, TitleNamesTheTowerWhileStood) {
  EXPECT_EQ(MainWindowTitle("Twelve Bells", false), "Clangor - Twelve Bells");
  EXPECT_EQ(MainWindowTitle("Twelve Bells", true), "Clangor");
  EXPECT_EQ(MainWindowTitle("", false), "Clangor");
}

// Records what the drain asks of the window.
struct RecordingTarget : DrainTarget {
  std::vector<int> panes;
  int titles = 0, slowed = 0, pendingCleared = 0, touchStarts = 0, ended = 0, refreshes = 0;
  std::vector<bool> callButton;
  void paneChanged(int pane) override { panes.push_back(pane); }
  void titleChanged() override { ++titles; }
  void callButtonChanged(bool made) override { callButton.push_back(made); }
  void decreaseClockSpeed() override { ++slowed; }
  void clearPendingTouch() override { ++pendingCleared; }
  void startTouchClock() override { ++touchStarts; }
  void ringingEnded() override { ++ended; }
  void rowsChanged() override { ++refreshes; }
};

EngineEvent Event(int code, std::string text = {}, int v0 = 0) { return EngineEvent{code, std::move(text), {v0, 0, 0, 0}}; }

TEST(EventDrain, ScriptedTouchReachesPanesRowsAndTitle) {
  EngineEventQueue queue;
  queue.Post(Event(event::RowRung, "12345678", 0));          // rounds
  queue.Post(Event(event::RowRung, "12345678", 0));
  queue.Post(Event(event::TouchDescribed, "Plain Bob Major"));
  queue.Post(Event(event::RowRung, "21436587", 8));
  queue.Post(Event(event::CallMade, "Bob", 'b'));
  queue.Post(Event(event::RowRung, "12345678", 8));
  queue.Post(Event(event::RowRung, "13254768", 8));
  queue.Post(Event(event::TouchSelected, "Cambridge Surprise Major"));
  queue.Post(Event(event::RingingEnded));
  TouchStatus status;
  RowsStore rows;
  rows.SetVisible(20);
  RecordingTarget target;
  EXPECT_EQ(DrainEvents(queue, status, rows, target), 9);

  EXPECT_EQ(status.rowText, "13254768");
  EXPECT_EQ(status.rowCount, 3);                 // rounds before the touch not counted
  EXPECT_EQ(status.nameText, "Plain Bob Major");
  EXPECT_EQ(status.callText, "Bob");
  EXPECT_EQ(status.noteText, "(Cambridge Surprise Major)");
  EXPECT_EQ(target.touchStarts, 2);              // each row of rounds before the touch starts it afresh
  EXPECT_EQ(target.pendingCleared, 2);
  EXPECT_EQ(target.titles, 2);                   // the name, then the end
  EXPECT_EQ(target.ended, 1);
  EXPECT_EQ(target.refreshes, 1);                // once for the whole batch
  EXPECT_EQ(target.slowed, 0);
  ASSERT_EQ(rows.RowCount(), 5);
  EXPECT_EQ(rows.Row(1), " 12345678 Plain Bob Major");
  EXPECT_EQ(rows.Row(3), " 12345678");
  EXPECT_EQ(rows.Row(4), "-13254768");           // the bob's mark, on the second row after it
}

TEST(EventDrain, CallTextsFollowTheirEvents) {
  struct Case {
    EngineEvent event;
    const char* callText;
  } cases[] = {
      {Event(event::CallSelected, "Bob", 1), "(Bob)"},
      {Event(event::CallSelected, "Plain", 0), ""},
      {Event(event::CallMade, "Plain", 'p'), ""},
      {Event(event::CallMade, "Single", 's'), "Single"},
      {Event(event::CallOpportunity), ""},
      {Event(event::ChangeCalled, "2 to 3"), "2 to 3"},
      {Event(10), ""},
  };
  for (const Case& c : cases) {
    EngineEventQueue queue;
    queue.Post(c.event);
    TouchStatus status;
    status.callText = "before";
    RowsStore rows;
    RecordingTarget target;
    DrainEvents(queue, status, rows, target);
    EXPECT_EQ(status.callText, c.callText) << c.event.code << " " << c.event.text;
    EXPECT_EQ(target.panes.back(), pane::Call);
  }
}

TEST(EventDrain, BacklogLowersTheClockSpeedOncePerDrain) {
  EngineEventQueue queue;
  for (int i = 0; i < 101; ++i) queue.Post(Event(event::RowRung, "123", 0));
  TouchStatus status;
  RowsStore rows;
  RecordingTarget target;
  DrainEvents(queue, status, rows, target);
  EXPECT_EQ(target.slowed, 1);
  for (int i = 0; i < 100; ++i) queue.Post(Event(event::RowRung, "123", 0));
  DrainEvents(queue, status, rows, target);
  EXPECT_EQ(target.slowed, 1);  // exactly 100 waiting is no backlog
  EXPECT_EQ(DrainEvents(queue, status, rows, target), 0);
  EXPECT_EQ(target.refreshes, 2);  // an empty drain does not refresh
}

TEST(WindowSizing, RefusesTooSmallAClient) {
  struct Case {
    int w, h;
    bool rows, refused;
  } cases[] = {
      {165, 150, false, false}, {164, 400, false, true}, {150, 400, true, false},
      {149, 400, true, true},   {400, 149, false, true}, {400, 149, true, true},
  };
  for (const Case& c : cases) EXPECT_EQ(SizingRefused(c.w, c.h, c.rows), c.refused) << c.w << "x" << c.h;
}

TEST(WindowSizing, RowsPaneLeavesTheViewItsWidth) {
  EXPECT_EQ(RowsPaneWidthFor(600, 80), 80);
  EXPECT_EQ(RowsPaneWidthFor(235, 80), 80);   // the view keeps exactly 150
  EXPECT_EQ(RowsPaneWidthFor(200, 80), 46);   // the view keeps 149
  EXPECT_EQ(CornerDragWidth(300, 0.5, 10), 610);
}

TEST(DataFolder, FindsAnInstalledShareFolderBesideTheProgram) {
  testing::TempFolder temp;
  testing::ScopedEnv unset("CLANGOR_COMMON_APPDATA", nullptr);
  testing::ScopedEnv xdg("XDG_DATA_HOME", temp / "xdg");
  std::filesystem::create_directories(temp / "prefix/bin");
  EXPECT_EQ(InstalledDataRoot(temp / "prefix/bin"), "");  // nothing installed
  std::filesystem::create_directories(temp / "prefix/share/Orvanta/Clangor/Towers/XII");
  EXPECT_EQ(InstalledDataRoot(temp / "prefix/bin"), temp / "prefix/share");
  // The user's own data folder wins.
  std::filesystem::create_directories(temp / "xdg/Orvanta/Clangor/Towers/XII");
  EXPECT_EQ(InstalledDataRoot(temp / "prefix/bin"), "");
  testing::ScopedEnv set("CLANGOR_COMMON_APPDATA", temp / "elsewhere");
  EXPECT_EQ(InstalledDataRoot(temp / "prefix/bin"), "");
}

}  // namespace
}  // namespace clangor
