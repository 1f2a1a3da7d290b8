// The main window: owns the settings store, the library, the loaded tower
// with its engine and tower view, the rows pane and the status bar. It loads
// a tower at start and when asked, drains the engine's events into the
// status panes, the title and the rows pane, keeps the window's geometry and
// hands the ringer's keys and clicks to ringing control.
//
// Threads: user-interface thread only. What the engine reports from its
// worker arrives through queued calls (EngineBridge).
#pragma once

#include <QBasicTimer>
#include <QMainWindow>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_event_queue.h"
#include "engine/ringing_control.h"
#include "engine/ringing_ui_state.h"
#include "engine/striking_analyser.h"
#include "engine/tower_window.h"
#include "library/dialogs/dialog_context.h"
#include "library/library.h"
#include "shell/event_drain.h"
#include "shell/key_map.h"
#include "shell/menu_model.h"
#include "shell/settings_store.h"
#include "sound/sound_device.h"

class QLabel;
class QMenu;
class QProgressBar;
class QTextBrowser;

namespace OvLibrary {
class KeyForwarder;
}

namespace clangor {

class CommandBar;
class ManualWindow;
class NumbersWindow;
class RopesFeed;
class RopesWindow;
class RowsWindow;
class SplitterBar;
class StrikingDialog;
class TickSource;
class Tower;
class TowerView;
class TowerViewWidget;
struct PreferencesChange;

// What the program runs on; the tests put a simulated clock, an offline
// sound device or a memory size of their own here.
struct MainWindowOptions {
  TickSource* ticks = nullptr;        // null: the real clock
  SoundDeviceOpener soundOpener;      // empty: the SDL sound device
  std::uint64_t physicalMemory = 0;   // 0: the machine's
};

class MainWindow final : public QMainWindow, private DrainTarget, private RingingControlListener {
  Q_OBJECT
 public:
  static constexpr int StatusBarId = 1001;
  static constexpr int DrainIntervalMs = 50;
  static constexpr int ClockIntervalMs = 2000;
  static constexpr int SplitterLeftLimit = 150;
  static constexpr int SplitterRightLimit = 15;
  static constexpr int RowsGap = 5;

  explicit MainWindow(MainWindowOptions options = {});
  ~MainWindow() override;

  // --- Operations the commands call. ---
  void LoadTower(const std::string& name);
  void UnloadTower();
  void ToggleFullScreen();
  void Layout();
  void UpdateStatus(int pane);  // -1: every pane
  void ResetTouchStatus();
  void SetTitle();
  // Queues an engine event for the next drain (any thread).
  void PostEvent(EngineEvent event) { queue_.Post(std::move(event)); }
  void ShowRows(bool shown);
  void CopyRows();
  // The own bell's striking in this touch so far, in its dialog.
  void ShowStrikingReport();
  // The space bar and Escape, as the keyboard map has them.
  void SpaceBar();
  void Escape();
  // A left click on the tower view at a client point of the view.
  void ClickTowerView(QPoint point);

  // --- Commands (menus, tool bar, context menus, keys). ---
  // Carries out a command identifier; false when it does nothing here.
  bool DoCommand(int id);
  // What the menus and the tool bar depend on, read now.
  CommandState ReadCommandState() const;
  KeyState ReadKeyState() const;
  // The pop-up at `global` (none: the mouse) for a context menu index
  // (0 right click, 1 Select Bells, 2 ringing pop-ups, 3-18 methods, 5100
  // call-change sequences); false when it does not apply.
  bool ShowPopup(int index, QPoint global = QPoint(-1, -1));
  // The right click's menu for the bell under `point` of the tower view.
  void ContextMenuAt(QPoint viewPoint, QPoint global);
  void OpenHelp(const std::string& page);  // "contents.html", "index.html", a topic ("page.html#part")
  // The settings dialogs, modal (commands 1104 and 1103).
  void OpenPreferences();
  void OpenVolumeSpeedPitch();
  void RefreshCommands();                  // the tool bar's buttons
  MenuModel& menuModel() { return menus_; }
  QMenu* activePopup() const { return popup_; }
  int activePopupIndex() const { return popupIndex_; }
  QTextBrowser* helpBrowser() const { return help_; }
  CommandBar* commandBar() const { return commandBar_; }
  int rememberedBell() const { return rememberedBell_; }

  // --- What the tests and the program read. ---
  RingingControl& control() { return control_; }
  SettingsStore& settings() { return settings_; }
  TowerWindow* engine() const { return engine_.get(); }
  Tower* tower() const { return tower_.get(); }
  TowerView* view() const { return view_.get(); }
  TowerViewWidget* towerViewWidget() const { return towerView_; }
  RowsWindow* rowsWindow() const { return rows_; }
  NumbersWindow* numbersWindow() const { return numbers_; }
  ManualWindow* manualWindow() const { return manual_; }
  RopesWindow* ropesWindow() const { return ropes_; }
  // The statistics message of ropesight practice for the touch rung.
  void ShowRopesightStatistics();
  // The ropes docked over the tower view or floating, as
  // RopesInSeparateWindow says.
  void PlaceRopes();
  SplitterBar* splitter() const { return splitter_; }
  const TouchStatus& status() const { return status_; }
  StrikingAnalyser& striking() { return striking_; }
  StrikingDialog* strikingDialog() const { return strikingDialog_; }
  QString paneText(int pane) const;
  QProgressBar* progressBar() const { return progress_; }
  const std::vector<std::string>& towerNames() const { return towerNames_; }
  bool towerReady() const { return towerReady_; }
  // Drains the event queue now (as timer 2 does).
  void DrainEngineEvents();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  class EngineBridge;
  class ViewSound;

  void BuildStatusBar();
  void BuildMenuBar();
  void BuildCommandBar();
  void FillButtonMenu(QMenu* menu, int buttonId);
  void FillMenu(QMenu* menu, const MenuItem& item);
  void RefillMenu(QMenu* menu, int menuId);
  void ShowMenuHelp(const std::string& help);
  void RestorePane5();
  bool DoDataCommand(int id);
  bool DoViewCommand(int id);
  bool DoRingingCommand(int id);
  bool DoOtherCommand(int id);
  void DoKeyAction(const KeyAction& action);
  void Placeholder(const std::string& what);
  void ApplyPreferences(const PreferencesChange& change);
  // The library's dialogs (main_window_library.cpp).
  LibraryDialogContext LibraryContext();
  void ForgetRecord(const void* record);
  void OpenLibraryList(int which);  // 0 methods, 1 call-change sequences, 2 compositions
  void EditLast();
  void RestoreLibrary();
  void ToggleSetting(int setting);
  void ShowAbout();
  // The user's striking in the touch just ended joins their history.
  void RecordStrikingHistory();
  // The figures in words for the rows pane's copy; empty when the user did not ring.
  std::string StrikingText() const;
  void PlaceWindow();
  void SaveGeometry();
  void TowerReady();
  void MakeRingingWindows();
  void PictureLoaded();
  void SplitterReleased(int position);
  bool RowsShownInLayout() const;
  int RowsPaneWidth(int clientWidth) const;
  void ShowBellTip(QPoint global, QPoint local);
  // The ropes window (main_window_ropes.cpp).
  void CreateRopesWindow();
  void DestroyRopesWindow();
  void RopesTowerReady();
  void ShowRopes(bool shown);
  void RopesSettingsChanged();
  void ChooseOwnRope(int bell);
  void RopeClick(int bell);
  std::string RopeTip(int bell) const;
  int BellAtViewPoint(QPoint point) const;

  // DrainTarget.
  void paneChanged(int pane) override { UpdateStatus(pane); }
  void titleChanged() override { SetTitle(); }
  void decreaseClockSpeed() override;
  void clearPendingTouch() override;
  void startTouchClock() override;
  double ringingClock() const;
  void ringingEnded() override;
  void rowsChanged() override;
  // RingingControlListener.
  void touchStatusReset() override { ResetTouchStatus(); }
  void titleChanged(const std::string&) override { SetTitle(); }
  void clearRows() override;
  void callChangeAnnounced(const std::string& text) override;
  void clockSpeedChanged() override { UpdateStatus(0); }
  void pitchChanged() override { UpdateStatus(1); }
  void refreshToolBar() override { RefreshCommands(); }

  // Constructed first, destroyed last: it writes the settings back.
  SettingsStore settings_;
  MainWindowOptions options_;
  std::unique_ptr<TickSource> ownTicks_;
  TickSource* ticks_;
  Library library_;
  std::vector<std::string> towerNames_;
  RingingUiState uiState_;
  RingingControl control_;
  EngineEventQueue queue_;
  TouchStatus status_;
  // Fed by the engine, which it outlives.
  StrikingAnalyser striking_;
  StrikingDialog* strikingDialog_ = nullptr;

  QWidget* client_ = nullptr;
  TowerViewWidget* towerView_ = nullptr;
  SplitterBar* splitter_ = nullptr;
  RowsWindow* rows_ = nullptr;
  // Made with each tower, after the engine's views and before the engine.
  NumbersWindow* numbers_ = nullptr;
  ManualWindow* manual_ = nullptr;
  bool manualShown_ = false;
  RopesWindow* ropes_ = nullptr;
  std::unique_ptr<RopesFeed> ropesFeed_;
  std::array<QLabel*, 7> panes_{};
  QProgressBar* progress_ = nullptr;
  OvLibrary::KeyForwarder* keys_ = nullptr;
  CommandState commandState_;
  MenuModel menus_{commandState_};
  QMenu* popup_ = nullptr;
  int popupIndex_ = -1;
  int rememberedBell_ = -1;
  QTextBrowser* help_ = nullptr;
  CommandBar* commandBar_ = nullptr;
  RingableComposition ringable_;  // the composition rung last from a menu
  QBasicTimer clockTimer_, drainTimer_;

  std::unique_ptr<EngineBridge> bridge_;
  std::unique_ptr<ViewSound> sound_;
  std::unique_ptr<Tower> tower_;
  std::unique_ptr<TowerView> view_;
  TowerWindowPtr engine_;
  int totalImages_ = 0;
  bool towerReady_ = false;
  bool fullScreen_ = false;
  bool closing_ = false;
};

}  // namespace clangor
