// The main window's commands: the menu bar rebuilt each time a menu opens,
// the pop-ups at the mouse, the keyboard map, the help window and what each
// command identifier does.
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextBrowser>

#include <filesystem>

#include "engine/ringing_state.h"
#include "library/library.h"
#include "resources/string_table.h"
#include "ringing/change_generator.h"
#include "ringing/method.h"
#include "shell/command_bar.h"
#include "shell/command_ids.h"
#include "shell/framework/message_box.h"
#include "shell/main_window.h"
#include "shell/main_window_parts.h"
#include "shell/status_panes.h"
#include "sound/tower_sound.h"
#include "tower/tower.h"
#include "views/manual_window.h"
#include "views/numbers_window.h"
#include "views/ropes_window.h"
#include "views/rows_window.h"
#include "views/tower_view.h"

namespace clangor {

namespace cmd = command;

namespace {
// Places every bell must be able to move for a method to be started from rounds.
constexpr int PlacesToStartMethod = 3;
constexpr int MinimumRowsClientHeight = 166;
}  // namespace

// ---------------------------------------------------------------- state

CommandState MainWindow::ReadCommandState() const {
  CommandState s;
  const RingingState& r = Ringing();
  s.towerLoaded = tower_ != nullptr && engine_ != nullptr;
  s.loading = !engine_ || engine_->loading();
  s.towers = towerNames_;
  s.currentTower = tower_ ? tower_->name() : std::string();
  s.library = &library_;
  s.currentMethod = uiState_.lastTouch;
  s.menuBar = settings_.GetInt(fullScreen_ ? setting::FSMenuBar : setting::MenuBar) == 1;
  s.toolBar = settings_.GetInt(fullScreen_ ? setting::FSToolBar : setting::ToolBar) == 1;
  s.statusBar = settings_.GetInt(fullScreen_ ? setting::FSStatusBar : setting::StatusBar) == 1;
  s.rows = RowsShownInLayout();
  s.ropes = settings_.GetInt(setting::ShowRopes) == 1;
  s.movingNumbers = settings_.GetInt(setting::ShowMovingNumbers) == 1;
  s.manualControl = manualShown_;
  s.fullScreen = fullScreen_;
  const int mode = settings_.GetInt(setting::RopesightMode);
  s.flashes = (mode & 1) != 0;
  s.cumulative = (mode & 2) != 0;
  s.tapOwnBell = settings_.GetInt(setting::TapOwnBells) == 1;
  s.ownVolumeMax = settings_.GetInt(setting::OwnVolumeMax) == 1;
  s.flashDelay = settings_.GetInt(setting::FlashDelay);
  s.silenced = sound_ && sound_->soundOff();
  s.rememberedBell = rememberedBell_;
  if (!s.towerLoaded) return s;
  s.halfMuffled = settings_.GetTowerInt(tower_setting::Clappers) != 0;
  s.wholePull = settings_.GetTowerInt(tower_setting::WholePullChanges) != 0;
  for (const RingEntry& ring : tower_->rings()) s.rings.push_back(ring.first);
  for (const RingEntry& ring : tower_->otherRings()) s.otherRings.push_back(ring.first);
  s.bellCount = engine_->bellCount();
  if (s.loading) return s;
  s.ringing = engine_->ringing() || engine_->goRequested();
  s.paused = engine_->paused();
  s.standRequested = r.standRequested;
  s.firing = r.firing;
  s.canFire = control_.CanFire();
  s.canGoAgain = control_.CanGoAgain();
  s.ownBell = ropes_ ? ropes_->OwnRope() : engine_->ownBell();
  for (int bell = 0; bell < s.bellCount; ++bell) {
    const bool in = engine_->IsBellInPlay(bell);
    s.inPlay.push_back(in);
    s.bellsInPlay += in ? 1 : 0;
    if (in && engine_->TimingLevel(bell, r.pealSpeedInUse) < PlacesToStartMethod) s.everyBellCanChange = false;
  }
  engine_->WithTouch([&s](ChangeGenerator* g) {
    if (g == nullptr) return 0;
    s.methodInProgress = g->method() != nullptr && !g->holding();
    s.compositionInProgress = s.methodInProgress && g->composition() != nullptr;
    for (int i = 1; i < g->callTable().size(); ++i) s.calls.push_back(g->callTable().CallName(i));
    s.callInForce = g->selectedCall() - 1;
    return 0;
  });
  return s;
}

KeyState MainWindow::ReadKeyState() const {
  const CommandState s = ReadCommandState();
  KeyState k;
  k.ringing = engine_ && engine_->ringing();
  k.paused = s.paused;
  k.methodInProgress = s.methodInProgress;
  k.tapOwnBell = s.tapOwnBell;
  k.bellCount = s.bellCount;
  k.bellsInPlay = s.bellsInPlay;
  return k;
}

// ---------------------------------------------------------------- menus

void MainWindow::BuildMenuBar() {
  for (const int id : {cmd::FileMenu, cmd::ViewMenu, cmd::RingingMenu, cmd::HelpMenu}) {
    QMenu* menu = menuBar()->addMenu(QString::fromStdString(CommandText(id)));
    menu->setObjectName(QString::fromStdString(PlainMenuText(CommandText(id))));
    connect(menu, &QMenu::aboutToShow, this, [this, menu, id] {
      rememberedBell_ = -1;  // opening the menu bar forgets the right click's bell
      RefillMenu(menu, id);
    });
    connect(menu, &QMenu::aboutToHide, this, [this] { RestorePane5(); });
  }
  menuBar()->setVisible(settings_.GetInt(fullScreen_ ? setting::FSMenuBar : setting::MenuBar) == 1);
}

void MainWindow::RefillMenu(QMenu* menu, int menuId) {
  commandState_ = ReadCommandState();
  MenuItem item;
  switch (menuId) {
    case cmd::FileMenu: item = menus_.FileMenu(); break;
    case cmd::ViewMenu: item = menus_.ViewMenu(); break;
    case cmd::RingingMenu: item = menus_.RingingMenu(); break;
    default: item = menus_.HelpMenu(); break;
  }
  menu->clear();
  FillMenu(menu, item);
}

void MainWindow::FillMenu(QMenu* menu, const MenuItem& item) {
  menu->setEnabled(item.enabled);
  for (const MenuItem& child : item.items) {
    if (child.separator()) {
      menu->addSeparator();
      continue;
    }
    const QString text = QString::fromStdString(child.text);
    if (child.popup) {
      QMenu* sub = menu->addMenu(text);
      FillMenu(sub, child);
      const std::string help = child.help;
      connect(sub->menuAction(), &QAction::hovered, this, [this, help] { ShowMenuHelp(help); });
      continue;
    }
    QAction* action = menu->addAction(text);
    action->setEnabled(child.enabled);
    action->setCheckable(child.checkable);
    action->setChecked(child.checked);
    action->setData(child.id);
    const int id = child.id;
    const std::string help = child.help;
    connect(action, &QAction::triggered, this, [this, id] { DoCommand(id); });
    connect(action, &QAction::hovered, this, [this, help] { ShowMenuHelp(help); });
  }
}

void MainWindow::ShowMenuHelp(const std::string& help) { panes_[pane::Call]->setText(QString::fromStdString(help)); }

// The commands built from data stay known after the menu closes: Qt hides
// the menu before it triggers the chosen item.
void MainWindow::RestorePane5() { UpdateStatus(pane::Call); }

void MainWindow::BuildCommandBar() {
  commandBar_ = new CommandBar(this, SettingsStore::AppDataPath("Program Stuff"), [this](int id) { DoCommand(id); },
                               [this](QMenu* menu, int id) { FillButtonMenu(menu, id); });
  commandBar_->ShowBands(settings_.GetInt(fullScreen_ ? setting::FSToolBar : setting::ToolBar) == 1);
  RefreshCommands();
}

void MainWindow::FillButtonMenu(QMenu* menu, int buttonId) {
  commandState_ = ReadCommandState();
  menus_.Restart();
  MenuItem item;
  if (buttonId == cmd::SelectBells) item = menus_.ContextMenu(1);
  else if (buttonId == cmd::SequencesButton) item = menus_.SequencesPopup();
  else if (buttonId == cmd::RingingOptions) item = menus_.OptionsPopup();
  else if (buttonId == cmd::ViewMenu) item = menus_.ViewMenu();
  else if (buttonId == cmd::Ropes) item = menus_.RopesightPopup();
  else item = menus_.MethodsPopup(buttonId - cmd::StageButtonBase);
  menu->clear();
  FillMenu(menu, item);
  menu->setEnabled(true);
}

void MainWindow::RefreshCommands() {
  if (commandBar_ == nullptr) return;
  commandBar_->Refresh(ReadCommandState());
}

bool MainWindow::ShowPopup(int index, QPoint global) {
  commandState_ = ReadCommandState();
  const MenuItem item = menus_.ContextMenu(index);
  if (item.items.empty()) return false;
  if (popup_) popup_->close();
  popup_ = new QMenu(this);
  popup_->setAttribute(Qt::WA_DeleteOnClose);
  popupIndex_ = index;
  FillMenu(popup_, item);
  popup_->setEnabled(true);
  connect(popup_, &QMenu::aboutToHide, this, [this] {
    RestorePane5();
    if (commandBar_) commandBar_->SetSelectBellsPressed(false);
  });
  connect(popup_, &QObject::destroyed, this, [this] {
    popup_ = nullptr;
    popupIndex_ = -1;
  });
  if (index == 1 && commandBar_) commandBar_->SetSelectBellsPressed(true);
  popup_->popup(global.x() < 0 ? QCursor::pos() : global);
  return true;
}

void MainWindow::ContextMenuAt(QPoint viewPoint, QPoint global) {
  rememberedBell_ = BellAtViewPoint(viewPoint);
  ShowPopup(0, global);
}

// ---------------------------------------------------------------- keys

void MainWindow::keyPressEvent(QKeyEvent* event) {
  const KeyState state = ReadKeyState();
  const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
  const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
  KeyAction action = ActionForKey(event->key(), ctrl, shift, state);
  if (action.kind == KeyAction::None && event->key() == Qt::Key_Tab) action = ActionForCharacter('\t', state);
  if (action.kind == KeyAction::None && event->text().size() == 1 && !ctrl)
    action = ActionForCharacter(event->text().at(0).toLatin1(), state);
  if (action.kind == KeyAction::None) {
    QMainWindow::keyPressEvent(event);
    return;
  }
  DoKeyAction(action);
}

// Tab moves the focus in Qt before a key press arrives; the ringer's Tab is Pause.
bool MainWindow::focusNextPrevChild(bool) { return false; }

void MainWindow::DoKeyAction(const KeyAction& a) {
  switch (a.kind) {
    case KeyAction::Command: DoCommand(a.value); break;
    case KeyAction::Popup: ShowPopup(a.value); break;
    case KeyAction::ToggleBell: control_.ToggleBell(a.value); break;
    case KeyAction::CallChange: control_.CallChangeFor(a.value); break;
    case KeyAction::Call: control_.MakeCall(static_cast<char>(a.value)); break;
    case KeyAction::PealTime:
      control_.ChangePealTime(a.up);
      UpdateStatus(pane::ClockSpeed);
      break;
    case KeyAction::Pitch: control_.ChangePitch(a.up); break;
    case KeyAction::Volume: control_.Volume(a.up); break;
    case KeyAction::ClockSpeed: control_.ClockSpeed(a.up, a.shift); break;
    case KeyAction::CloseProgram: close(); break;
    case KeyAction::TapOwnBell: control_.TapOwnBell(); break;
    case KeyAction::ShowScaling:
      OvLibrary::ShowMessageBox(this, "Clangor", "RAM Scaling Factor: " + (view_ ? std::to_string(view_->memoryScale()) : std::string("1")));
      break;
    case KeyAction::EditLast: EditLast(); break;
    case KeyAction::None: break;
  }
  SetTitle();
  RefreshCommands();
}

// ---------------------------------------------------------------- commands

bool MainWindow::DoCommand(int id) {
  const bool done = (id >= cmd::SequenceBase && id < cmd::DataEnd) ? DoDataCommand(id)
                    : (id >= cmd::ViewMenu && id < cmd::RingingMenu) ? DoViewCommand(id)
                    : (id >= cmd::RingingMenu && id < cmd::HelpMenu) ? DoRingingCommand(id)
                                                                     : DoOtherCommand(id);
  SetTitle();
  RefreshCommands();
  return done;
}

bool MainWindow::DoDataCommand(int id) {
  if (id >= cmd::OtherRingBase || id >= cmd::RingBase) {
    if (!tower_ || !engine_ || engine_->ringing()) return false;
    const bool other = id >= cmd::OtherRingBase;
    const RingEntry ring = tower_->ring(id - (other ? cmd::OtherRingBase : cmd::RingBase), !other);
    if (ring.second.empty()) return false;
    control_.SelectRing(ring.second);
    return true;
  }
  if (id >= cmd::TowerBase) {
    const int i = id - cmd::TowerBase;
    if (i >= static_cast<int>(towerNames_.size()) || (engine_ && engine_->ringing())) return false;
    const std::string name = towerNames_[static_cast<std::size_t>(i)];
    if (tower_ && tower_->name() == name) return false;
    UnloadTower();
    LoadTower(name);
    return true;
  }
  if (id >= cmd::FlashDelayBase) {
    settings_.SetInt(setting::FlashDelay, id - cmd::FlashDelayBase);
    RopesSettingsChanged();
    return true;
  }
  if (id >= cmd::OwnRopeBase) {
    if (!engine_ || id - cmd::OwnRopeBase >= engine_->bellCount()) return false;
    ChooseOwnRope(id - cmd::OwnRopeBase);
    return true;
  }
  if (id >= cmd::CallBase) return control_.MakeCallIndex(id - cmd::CallBase);
  if (id >= cmd::CompositionBase) {
    const Composition* composition = menus_.CompositionFor(id);
    const Method* method = menus_.CompositionMethod();
    if (composition == nullptr || method == nullptr) return false;
    ringable_ = RingableComposition{const_cast<Composition*>(composition), composition->name, composition->stages, nullptr};
    control_.RingComposition(ringable_, method);
    return true;
  }
  if (id >= cmd::MethodBase) {
    const Method* method = menus_.MethodFor(id);
    if (method == nullptr) return false;
    control_.RingTouch(method);
    return true;
  }
  const CallChangeSequence* sequence = menus_.SequenceFor(id);
  if (sequence == nullptr) return false;
  control_.RingSequence(sequence);
  return true;
}

void MainWindow::ToggleSetting(int which) { settings_.SetInt(which, settings_.GetInt(which) == 1 ? 0 : 1); }

bool MainWindow::DoViewCommand(int id) {
  switch (id) {
    case cmd::MenuBar:
      ToggleSetting(fullScreen_ ? setting::FSMenuBar : setting::MenuBar);
      menuBar()->setVisible(settings_.GetInt(fullScreen_ ? setting::FSMenuBar : setting::MenuBar) == 1);
      return true;
    case cmd::ToolBar:
      ToggleSetting(fullScreen_ ? setting::FSToolBar : setting::ToolBar);
      if (commandBar_) commandBar_->ShowBands(settings_.GetInt(fullScreen_ ? setting::FSToolBar : setting::ToolBar) == 1);
      Layout();
      return true;
    case cmd::StatusBar:
      ToggleSetting(fullScreen_ ? setting::FSStatusBar : setting::StatusBar);
      statusBar()->setVisible(settings_.GetInt(fullScreen_ ? setting::FSStatusBar : setting::StatusBar) == 1);
      Layout();
      return true;
    case cmd::Rows: {
      const bool on = !RowsShownInLayout();
      if (on && client_->height() < MinimumRowsClientHeight) return false;
      ShowRows(on);
      return true;
    }
    case cmd::ManualControl:
      manualShown_ = !manualShown_;
      if (manual_) manual_->Show(manualShown_);
      return true;
    case cmd::MovingNumbers:
      ToggleSetting(setting::ShowMovingNumbers);
      if (numbers_) numbers_->Show(settings_.GetInt(setting::ShowMovingNumbers) == 1);
      return true;
    case cmd::Ropes:
      ToggleSetting(setting::ShowRopes);
      ShowRopes(settings_.GetInt(setting::ShowRopes) == 1);
      return true;
    case cmd::FullScreen:
      ToggleFullScreen();
      // Full screen keeps its own choice of menu bar and tool bar.
      menuBar()->setVisible(settings_.GetInt(fullScreen_ ? setting::FSMenuBar : setting::MenuBar) == 1);
      if (commandBar_) commandBar_->ShowBands(settings_.GetInt(fullScreen_ ? setting::FSToolBar : setting::ToolBar) == 1);
      return true;
    default:
      return false;
  }
}

bool MainWindow::DoRingingCommand(int id) {
  switch (id) {
    case cmd::SelectNone: control_.SelectNone(); return true;
    case cmd::Start:
      if (!engine_ || engine_->ringing() || Ringing().bellsInPlay == 0) return false;
      control_.Start();
      return true;
    case cmd::Rounds: control_.Rounds(); return true;
    case cmd::Stand: control_.Stand(); return true;
    case cmd::StopNow: control_.StopNow(); return true;
    case cmd::Pause: control_.Pause(); return true;
    case cmd::Step: control_.Step(); return true;
    case cmd::ClockSlower: control_.ClockSpeed(false, false); return true;
    case cmd::ClockFaster: control_.ClockSpeed(true, false); return true;
    case cmd::Fire: return control_.ToggleFiring();
    case cmd::Silence: control_.ToggleSilence(); return true;
    case cmd::GoAgain: control_.GoAgain(); return true;
    case cmd::HalfMuffled: control_.ToggleHalfMuffled(); return true;
    case cmd::WholePull: control_.ToggleWholePull(); return true;
    case cmd::MyRope:
      if (engine_ && rememberedBell_ >= 0 && engine_->IsBellInPlay(rememberedBell_)) ChooseOwnRope(rememberedBell_);
      rememberedBell_ = -1;
      return true;
    case cmd::Flashes:
    case cmd::Cumulative:
      settings_.SetInt(setting::RopesightMode, settings_.GetInt(setting::RopesightMode) ^ (id == cmd::Flashes ? 1 : 2));
      RopesSettingsChanged();
      return true;
    case cmd::TapOwnBell: ToggleSetting(setting::TapOwnBells); return true;
    case cmd::OwnVolumeMax: ToggleSetting(setting::OwnVolumeMax); return true;
    case cmd::HitBar:
      ToggleSetting(setting::ShowRopesightScore);
      RopesSettingsChanged();
      return true;
    case cmd::RopesightScore: ShowRopesightStatistics(); return true;
    case cmd::MethodList: OpenLibraryList(0); return true;
    case cmd::CompositionList: OpenLibraryList(2); return true;
    case cmd::CallChangeList: OpenLibraryList(1); return true;
    case cmd::CopyRows: CopyRows(); return true;
    case cmd::StrikingReport: ShowStrikingReport(); return true;
    default: return false;
  }
}

bool MainWindow::DoOtherCommand(int id) {
  switch (id) {
    case cmd::VolumeSpeedPitch: OpenVolumeSpeedPitch(); return true;
    case cmd::Preferences: OpenPreferences(); return true;
    case cmd::RestoreLibrary: RestoreLibrary(); return true;
    case cmd::Exit: close(); return true;
    case cmd::HelpContents:
    case cmd::Help: OpenHelp("contents.html"); return true;
    case cmd::HelpIndex: OpenHelp("index.html"); return true;
    case cmd::About: ShowAbout(); return true;
    default: return false;
  }
}

void MainWindow::Placeholder(const std::string& what) {
  OvLibrary::ShowMessageBox(this, "Clangor", what + " is not available in this version yet.");
}

void MainWindow::RestoreLibrary() {
  const auto answer = OvLibrary::ShowMessageBox(
      this, "Restore Methods and Compositions",
      "Would you like to restore the original methods and compositions when you next start the program?",
      QMessageBox::Yes | QMessageBox::No, QMessageBox::Question);
  settings_.SetInt(setting::LoadFromDefaults, answer == QMessageBox::Yes ? 1 : 0);
}

void MainWindow::ShowAbout() {
  std::string text = "Clangor\nA change-ringing simulator for up to eighteen bells.\n\nOrvanta";
  // What plays the bells: driver, device, period and latency.
  TowerSound* sound = towerReady_ && view_ ? view_->sound() : nullptr;
  if (const SoundDevice* device = sound ? sound->device() : nullptr) text += "\n\nSound: " + device->description();
  OvLibrary::ShowMessageBox(this, "About Clangor", text);
}

void MainWindow::OpenHelp(const std::string& page) {
  const std::string folder = SettingsStore::AppDataPath("Help/clangor_help");
  if (folder.empty() || !std::filesystem::is_directory(folder)) return;
  if (help_ == nullptr) {
    // A window of its own, not the main window's child: it stays usable
    // while a settings dialog holds the main window (their Help buttons).
    help_ = new QTextBrowser();
    help_->setAttribute(Qt::WA_QuitOnClose, false);
    help_->setWindowTitle("Clangor Help");
    help_->setObjectName("ClangorHelp");
    help_->setSearchPaths({QString::fromStdString(folder)});
    help_->resize(640, 520);
  }
  // A topic may name a place in its page ("library.html#methods").
  const auto hash = page.find('#');
  QUrl url = QUrl::fromLocalFile(QString::fromStdString((std::filesystem::path(folder) / page.substr(0, hash)).string()));
  if (hash != std::string::npos) url.setFragment(QString::fromStdString(page.substr(hash + 1)));
  help_->setSource(url);
  help_->show();
  help_->raise();
}

}  // namespace clangor
