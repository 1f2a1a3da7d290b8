// The main window's construction, layout, geometry, keys, mouse and shutdown.
#include "shell/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolTip>

#include <algorithm>

#include "platform/ticks.h"
#include "shell/command_bar.h"
#include "shell/framework/key_forwarder.h"
#include "shell/framework/message_box.h"
#include "shell/main_window_parts.h"
#include "shell/preferences.h"
#include "shell/status_panes.h"
#include "shell/window_sizing.h"
#include "tower/tower.h"
#include "views/ropes_feed.h"
#include "views/ropes_window.h"
#include "views/rows_window.h"
#include "views/splitter_bar.h"
#include "views/tower_view.h"
#include "views/tower_view_widget.h"

namespace clangor {

MainWindow::MainWindow(MainWindowOptions options)
    : options_(std::move(options)),
      ownTicks_(options_.ticks ? nullptr : std::make_unique<SteadyTickSource>()),
      ticks_(options_.ticks ? options_.ticks : ownTicks_.get()),
      control_(settings_, *ticks_, uiState_) {
  setObjectName("Clangor");
  setWindowTitle("Clangor");
  control_.SetListener(this);
  PlaceWindow();

  library_.LoadLibrary(SettingsStore::AppDataPath(), &settings_);
  towerNames_ = Tower::listTowers();

  client_ = new QWidget(this);
  setCentralWidget(client_);
  towerView_ = new TowerViewWidget(client_);
  towerView_->installEventFilter(this);
  connect(towerView_, &TowerViewWidget::clicked, this, &MainWindow::ClickTowerView);
  splitter_ = new SplitterBar(client_);
  splitter_->hide();
  connect(splitter_, &SplitterBar::released, this, &MainWindow::SplitterReleased);
  rows_ = new RowsWindow(settings_.GetInt(setting::RowsLimit), client_);
  BuildStatusBar();
  BuildMenuBar();
  BuildCommandBar();
  keys_ = new OvLibrary::KeyForwarder(this);
  keys_->Watch(client_);
  keys_->Watch(statusBar());
  keys_->Watch(menuBar());
  for (int band = 0; band < 4; ++band) keys_->Watch(commandBar_->band(band));
  setFocusPolicy(Qt::StrongFocus);

  clockTimer_.start(ClockIntervalMs, this);
  std::string name = settings_.GetString(TowerNameSetting);
  if (name.empty() || std::find(towerNames_.begin(), towerNames_.end(), name) == towerNames_.end())
    name = std::string(DefaultTowerName);
  LoadTower(name);
}

MainWindow::~MainWindow() {
  closing_ = true;
  UnloadTower();
  clockTimer_.stop();
  drainTimer_.stop();
  library_.SaveMethods();
  library_.SaveCompositions();
  library_.SaveCallChangeSequences();
  delete help_;
  // The settings store, constructed first, is destroyed last and writes the settings.
}

void MainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(true);
  for (std::size_t i = 0; i < panes_.size(); ++i) {
    panes_[i] = new QLabel(bar);
    panes_[i]->setFixedWidth(StatusPaneWidths[i]);
    panes_[i]->setFrameShape(QFrame::Panel);
    panes_[i]->setFrameShadow(QFrame::Sunken);
    bar->addWidget(panes_[i]);
  }
  // The progress bar lies over the name pane while pictures load.
  progress_ = new QProgressBar(panes_[pane::Name]);
  progress_->setTextVisible(false);
  progress_->setGeometry(0, 0, StatusPaneWidths[pane::Name], 16);
  progress_->hide();
  bar->setVisible(settings_.GetInt(fullScreen_ ? setting::FSStatusBar : setting::StatusBar) == 1);
}

// The saved client rectangle, kept wholly on the screen.
void MainWindow::PlaceWindow() {
  QRect wanted(settings_.GetInt(setting::ClientLeft), settings_.GetInt(setting::ClientTop),
               settings_.GetInt(setting::ClientWidth), settings_.GetInt(setting::ClientHeight));
  wanted.setWidth(std::max(wanted.width(), MinimumClientWidth));
  wanted.setHeight(std::max(wanted.height(), MinimumClientHeight));
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    wanted.setSize(wanted.size().boundedTo(area.size()));
    if (!area.contains(wanted)) wanted.moveTo(area.topLeft() + QPoint(20, 40));
  }
  setMinimumSize(MinimumClientWidth, MinimumClientHeight);
  setGeometry(wanted);
}

void MainWindow::SaveGeometry() {
  if (closing_ || fullScreen_ || isMaximized() || isMinimized() || !isVisible()) return;
  const QRect r = geometry();
  settings_.SetInt(setting::ClientLeft, r.x());
  settings_.SetInt(setting::ClientTop, r.y());
  settings_.SetInt(setting::ClientWidth, r.width());
  settings_.SetInt(setting::ClientHeight, r.height());
}

// ---------------------------------------------------------------- layout

bool MainWindow::RowsShownInLayout() const {
  return settings_.GetInt(fullScreen_ ? setting::FSShowRows : setting::ShowRows) == 1;
}

int MainWindow::RowsPaneWidth(int clientWidth) const {
  return RowsPaneWidthFor(clientWidth, settings_.GetInt(setting::RowsWidth));
}

void MainWindow::Layout() {
  if (client_ == nullptr) return;
  const int w = client_->width(), h = client_->height();
  const bool rowsShown = RowsShownInLayout();
  int viewWidth = w;
  if (rowsShown) {
    const int paneWidth = RowsPaneWidth(w);
    viewWidth = w - paneWidth - RowsGap;
    splitter_->setGeometry(viewWidth, 0, RowsGap, h);
    rows_->setGeometry(viewWidth + RowsGap, 0, paneWidth, h);
    splitter_->SetLimits(SplitterLeftLimit, w - SplitterRightLimit);
  }
  splitter_->setVisible(rowsShown);
  rows_->Show(rowsShown);
  towerView_->setGeometry(0, 0, viewWidth, h);
  if (ropes_ && !ropes_->floating()) ropes_->setGeometry(towerView_->geometry());
  setMinimumWidth(rowsShown ? MinimumClientWidthWithRows : MinimumClientWidth);
}

void MainWindow::SplitterReleased(int position) {
  settings_.SetInt(setting::RowsWidth, client_->width() - position - RowsGap);
  Layout();
}

void MainWindow::ShowRows(bool shown) {
  settings_.SetInt(fullScreen_ ? setting::FSShowRows : setting::ShowRows, shown ? 1 : 0);
  Layout();
}

void MainWindow::CopyRows() {
  if (rows_->CopyToClipboard(StrikingText()))
    OvLibrary::ShowMessageBox(this, "Copy Rows...", std::to_string(static_cast<unsigned>(rows_->RowCount())) + " rows copied");
  else
    OvLibrary::ShowMessageBox(this, "Copy Rows...", "The copy operation failed for some reason");
}

void MainWindow::ToggleFullScreen() {
  fullScreen_ = !fullScreen_;
  settings_.SetInt(setting::FullScreen, fullScreen_ ? 1 : 0);
  statusBar()->setVisible(settings_.GetInt(fullScreen_ ? setting::FSStatusBar : setting::StatusBar) == 1);
  if (fullScreen_) showFullScreen();
  else if (settings_.GetInt(setting::Maximised) == 1) showMaximized();
  else showNormal();
  Layout();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  SaveGeometry();
  Layout();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  SaveGeometry();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && !fullScreen_ && !closing_ && !isMinimized())
    settings_.SetInt(setting::Maximised, isMaximized() ? 1 : 0);
}

// ---------------------------------------------------------------- keys and mouse

void MainWindow::SpaceBar() {
  control_.SpaceBar();
  SetTitle();  // the tower's name goes while the bells ring
}

void MainWindow::Escape() {
  if (control_.Escape()) close();
  else SetTitle();
}

int MainWindow::BellAtViewPoint(QPoint point) const {
  if (!engine_ || engine_->loading() || !view_) return -1;
  int x = -1, y = -1;
  engine_->WithDrawLock([&] { BasePoint(view_->layout(), point.x(), point.y(), x, y); });
  return engine_->BellAt(x, y);
}

void MainWindow::ClickTowerView(QPoint point) {
  const int bell = BellAtViewPoint(point);
  if (bell < 0) return;
  if (!engine_->ringing() && !engine_->goRequested()) {
    control_.ToggleBell(bell);
    return;
  }
  const std::string tip = control_.CallChangeFor(bell);
  if (!tip.empty()) QToolTip::showText(towerView_->mapToGlobal(point), QString::fromStdString(tip), towerView_);
}

// Each bell's tip names it while the tips are on.
void MainWindow::ShowBellTip(QPoint global, QPoint local) {
  const bool ringing = engine_ && engine_->ringing();
  const int bell = BellTipsActive(settings_.GetInt(setting::ShowTips), ringing) ? BellAtViewPoint(local) : -1;
  if (bell < 0 || !tower_) {
    QToolTip::hideText();
    return;
  }
  const std::string name = tower_->bellProperty(bell, "Name");
  QToolTip::showText(global, QString::fromStdString(std::to_string(bell + 1) + (name.empty() ? "" : ": " + name)));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == towerView_ && event->type() == QEvent::ContextMenu) {
    const auto* menu = static_cast<QContextMenuEvent*>(event);
    ContextMenuAt(menu->pos(), menu->globalPos());
    return true;
  }
  if (watched == towerView_ && event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    ShowBellTip(help->globalPos(), help->pos());
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  SaveGeometry();
  closing_ = true;
  event->accept();
}

}  // namespace clangor
