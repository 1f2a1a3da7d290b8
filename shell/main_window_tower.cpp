// The main window's tower: loading and unloading it, what the engine reports
// from its worker, the drain of its events, the status panes and the title.
#include <QLabel>
#include <QMetaObject>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimerEvent>
#include <QTime>

#include <cstdlib>

#include "engine/ringing_clock.h"
#include "engine/ringing_state.h"
#include "platform/sysinfo.h"
#include "shell/framework/key_forwarder.h"
#include "shell/framework/message_box.h"
#include "shell/main_window.h"
#include "shell/main_window_parts.h"
#include "shell/status_panes.h"
#include "sound/sound_card.h"
#include "sound/tower_sound.h"
#include "tower/tower.h"
#include "views/manual_window.h"
#include "views/numbers_window.h"
#include "views/ropes_feed.h"
#include "views/ropes_window.h"
#include "views/rows_window.h"
#include "views/tower_view.h"
#include "views/tower_view_widget.h"

namespace clangor {

// ---------------------------------------------------------------- loading

void MainWindow::LoadTower(const std::string& name) {
  tower_ = std::make_unique<Tower>(name, settings_);
  uiState_.semitoneShift = std::atoi(settings_.GetTowerString(tower_string::SemitoneShift).c_str());
  if (settings_.GetTowerInt(tower_setting::Remember_CWPC) == 0) {
    settings_.SetTowerInt(tower_setting::Clappers, 0);
    settings_.SetTowerInt(tower_setting::WholePullChanges, 0);
  }
  totalImages_ = 0;
  for (int b = 0; b < tower_->bellCount(); ++b) totalImages_ += std::atoi(tower_->bellProperty(b, "ImageCount").c_str());
  progress_->setRange(0, std::max(totalImages_, 1));
  progress_->setValue(0);

  bridge_ = std::make_unique<EngineBridge>(this);
  TowerView::Hooks hooks;
  QPointer<TowerViewWidget> widget = towerView_;
  hooks.present = [widget](int x, int y, int w, int h) {
    QMetaObject::invokeMethod(widget, [widget, x, y, w, h] { if (widget) widget->update(x, y, w, h); }, Qt::QueuedConnection);
  };
  EngineBridge* bridge = bridge_.get();
  hooks.report = [bridge](const std::string& caption, const std::string& text) {
    bridge->Post([caption, text](MainWindow* w) {
      OvLibrary::ShowMessageBox(w, caption, text, QMessageBox::Ok, QMessageBox::Warning);
    });
  };
  hooks.bellShown = [bridge](int) { bridge->Post([](MainWindow* w) { if (w->engine_) w->engine_->Redraw(); }); };
  SoundDeviceOpener opener = options_.soundOpener ? options_.soundOpener : SoundDeviceOpener(OpenSoundCard);
  const std::uint64_t memory = options_.physicalMemory ? options_.physicalMemory : TotalPhysicalMemory();
  view_ = std::make_unique<TowerView>(*tower_, settings_, SettingsStore::AppDataPath(), memory, hooks, opener);

  towerReady_ = false;
  setCursor(Qt::WaitCursor);
  MakeRingingWindows();
  CreateRopesWindow();
  EngineSetUp setUp;
  setUp.tower = tower_.get();
  setUp.ticks = ticks_;
  setUp.events = &queue_;
  setUp.settings = &settings_;
  setUp.usage = &library_;
  setUp.views.tower = view_.get();
  setUp.views.listener = bridge_.get();
  setUp.views.striking = &striking_;
  setUp.views.numbers = &numbers_->content();
  setUp.views.manual = &manual_->control();
  setUp.views.ropes = ropesFeed_.get();
  view_->setClientSize(towerView_->width(), towerView_->height());
  engine_ = TowerWindow::Open(setUp);
  numbers_->content().SetEngine(engine_.get());
  manual_->control().SetEngine(engine_.get());
  ropesFeed_->SetEngine(engine_.get());
  towerView_->SetView(view_.get(), [this](const std::function<void()>& f) {
    if (engine_) engine_->WithDrawLock(f);
    else f();
  }, [this] { if (engine_) engine_->Redraw(); });
  sound_ = std::make_unique<ViewSound>(*this);
  control_.SetEngine(engine_.get());
  control_.SetTower(tower_.get());
  control_.SetSound(sound_.get());

  Layout();
  SetTitle();
  drainTimer_.start(DrainIntervalMs, this);
  if (settings_.GetInt(setting::FullScreen) == 1 && !fullScreen_) ToggleFullScreen();
}

void MainWindow::UnloadTower() {
  drainTimer_.stop();
  control_.SetEngine(nullptr);
  control_.SetSound(nullptr);
  control_.SetTower(nullptr);
  towerView_->SetView(nullptr, {}, {});
  if (ropesFeed_) ropesFeed_->SetEngine(nullptr);
  engine_.reset();  // stops the worker before the view and the tower go
  delete numbers_;
  numbers_ = nullptr;
  delete manual_;  // stores its window rectangle
  manual_ = nullptr;
  DestroyRopesWindow();
  view_.reset();
  sound_.reset();
  bridge_.reset();
  queue_.Drain();
  tower_.reset();
  towerReady_ = false;
}

void MainWindow::TowerReady() {
  if (!engine_ || engine_->loading()) return;
  towerReady_ = true;
  unsetCursor();
  UpdateStatus(pane::ClockSpeed);
  UpdateStatus(pane::TenorNote);
  RefreshCommands();
  engine_->Redraw();
  numbers_->SetDigits(view_->digits());
  numbers_->Show(settings_.GetInt(setting::ShowMovingNumbers) == 1);
  manual_->Show(manualShown_);
  RopesTowerReady();
}

// The moving numbers and the manual control window of this tower, hidden
// until the tower is ready; their keys go to the main window.
void MainWindow::MakeRingingWindows() {
  std::vector<std::string> names;
  for (int b = 0; b < tower_->bellCount(); ++b) names.push_back(tower_->bellProperty(b, "Name"));
  manual_ = new ManualWindow(settings_, std::move(names), this);
  numbers_ = new NumbersWindow(settings_, *ticks_, tower_->bellCount(), this);
  keys_->Watch(manual_);
  keys_->Watch(numbers_);
}

// The bells' other pictures load after the tower is ready, while it stands.
void MainWindow::PictureLoaded() {
  if (progress_->value() >= totalImages_) return;
  progress_->show();
  progress_->setValue(progress_->value() + 1);
  if (progress_->value() >= totalImages_) progress_->hide();
}

// ---------------------------------------------------------------- events

void MainWindow::DrainEngineEvents() {
  if (DrainEvents(queue_, status_, rows_->store(), *this) > 0) RefreshCommands();
}

void MainWindow::timerEvent(QTimerEvent* event) {
  if (event->timerId() == drainTimer_.timerId()) DrainEngineEvents();
  else if (event->timerId() == clockTimer_.timerId() && settings_.GetInt(setting::ShowClock) == 1) UpdateStatus(pane::Time);
  else QMainWindow::timerEvent(event);
}

void MainWindow::decreaseClockSpeed() { control_.ClockSpeed(false, false); }

void MainWindow::clearPendingTouch() {
  if (engine_) engine_->ClearPendingTouch();
}

double MainWindow::ringingClock() const { return ReadClock(*ticks_, false); }

// No change of the touch is counted yet: its ropesight score starts afresh.
void MainWindow::startTouchClock() {
  uiState_.touchStart = ringingClock();
  if (ropes_) ropes_->ResetScores();
}

void MainWindow::ringingEnded() {
  if (striking_.UserRang()) {
    ShowStrikingReport();
    RecordStrikingHistory();
  }
  if (Ringing().clockStep != 0) {
    ResetClockSpeed();
    UpdateStatus(pane::ClockSpeed);
  }
}

void MainWindow::rowsChanged() { rows_->Refresh(); }

void MainWindow::clearRows() { rows_->Clear(); }

void MainWindow::callChangeAnnounced(const std::string& text) {
  status_.callText = text;
  UpdateStatus(pane::Call);
}

void MainWindow::ResetTouchStatus() {
  status_ = TouchStatus{};
  UpdateStatus(-1);
  SetTitle();
}

// ---------------------------------------------------------------- panes and title

QString MainWindow::paneText(int pane) const {
  return pane >= 0 && pane < static_cast<int>(panes_.size()) ? panes_[static_cast<std::size_t>(pane)]->text() : QString();
}

void MainWindow::UpdateStatus(int pane) {
  if (pane < 0) {
    for (int p = 0; p < static_cast<int>(panes_.size()); ++p) UpdateStatus(p);
    return;
  }
  std::string text;
  const RingingState& r = Ringing();
  switch (pane) {
    case pane::ClockSpeed: {
      const bool ringing = engine_ && engine_->ringing();
      text = ClockPaneText(r.clockStep, ringing ? r.clockFactor.load() : r.maxClockFactor.load(),
                           tower_ ? settings_.GetTowerInt(tower_setting::PealMins) : 0);
      break;
    }
    case pane::TenorNote:
      text = tower_ ? TenorNoteText(tower_->tenorKey(), uiState_.semitoneShift) : std::string();
      break;
    case pane::Name: {
      text = status_.nameText;
      const bool surprise = settings_.GetInt(setting::Surprise) == 1 && status_.nameText == DefaultSurpriseMethod;
      if (view_ && view_->surpriseOn() != surprise) {
        view_->setSurpriseAllowed(surprise);
        if (engine_) engine_->Redraw();
      }
      break;
    }
    case pane::RowCount:
      text = status_.rowCount ? std::to_string(status_.rowCount) : std::string();
      break;
    case pane::Row:
      text = status_.rowText;
      break;
    case pane::Call:
      text = CallPaneText(status_.callText, status_.noteText);
      break;
    case pane::Time:
      if (settings_.GetInt(setting::ShowClock) == 1) text = QTime::currentTime().toString("HH:mm:ss").toStdString();
      else if (status_.rowCount >= 1) text = RingingTimeText(ringingClock() - uiState_.touchStart);
      break;
    default:
      return;
  }
  panes_[static_cast<std::size_t>(pane)]->setText(QString::fromStdString(text));
}

void MainWindow::SetTitle() {
  const bool ringing = engine_ && (engine_->ringing() || engine_->goRequested());
  setWindowTitle(QString::fromStdString(MainWindowTitle(tower_ ? tower_->name() : std::string(), ringing)));
}

}  // namespace clangor
