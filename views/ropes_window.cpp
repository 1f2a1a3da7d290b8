#include "views/ropes_window.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QTimer>
#include <QToolTip>

#include "shell/settings_store.h"

namespace clangor {

RopesWindow::RopesWindow(SettingsStore& settings, TickSource& ticks, int bellCount, QWidget* mainWindow,
                         QWidget* dockHost, Hooks hooks)
    : QWidget(mainWindow, Qt::Tool),
      settings_(settings),
      mainWindow_(mainWindow),
      dockHost_(dockHost ? dockHost : mainWindow),
      hooks_(std::move(hooks)) {
  setObjectName("CLRopesWindow");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
  setMinimumSize(1, 1);
  content_ = new RopesContent(ticks, bellCount, this);
  content_->setVisible(false);
  ReadSettings();
  // Created floating and hidden, at the stored place.
  setGeometry(settings_.GetInt(setting::RopesLeft), settings_.GetInt(setting::RopesTop),
              settings_.GetInt(setting::RopesWidth), settings_.GetInt(setting::RopesHeight));
  lastGoodSize_ = size();
}

RopesWindow::~RopesWindow() = default;

void RopesWindow::ReadSettings() {
  RopesSettings s;
  s.imageWidth = settings_.GetInt(setting::RopeImageWidth);
  s.imageHeight = settings_.GetInt(setting::SallyImageHeight);
  s.showDownRopes = settings_.GetInt(setting::ShowDownRopes) == 1;
  s.hitBar = settings_.GetInt(setting::ShowRopesightScore) == 1;
  s.mode = settings_.GetInt(setting::RopesightMode);
  s.flashDelay = settings_.GetInt(setting::FlashDelay);
  content_->SetSettings(s);
}

void RopesWindow::Show(bool shown) {
  shown_ = shown;
  setVisible(shown);
  if (shown) raise();
  content_->Show(shown);
  if (shown) staleTimer_.start(static_cast<int>(RopesContent::RedrawMs), this);
  else staleTimer_.stop();
  // The keys stay with the main window.
  if (mainWindow_ && shown) mainWindow_->activateWindow();
}

void RopesWindow::Dock(std::optional<QRect> area) {
  const bool wasVisible = shown_;
  if (area) {
    floating_ = false;
    setParent(dockHost_, Qt::Widget);
    setGeometry(*area);
  } else {
    floating_ = true;
    setParent(mainWindow_, Qt::Tool);
    setGeometry(settings_.GetInt(setting::RopesLeft), settings_.GetInt(setting::RopesTop),
                settings_.GetInt(setting::RopesWidth), settings_.GetInt(setting::RopesHeight));
  }
  lastGoodSize_ = size();
  setVisible(wasVisible);
  if (wasVisible) raise();
  if (hooks_.placed) hooks_.placed();
}

std::string RopesWindow::StatisticsText(int changesRung) const {
  const std::string text = RopesightStatistics(content_->Scores(), changesRung);
  return text.empty() ? NoRopesightStatistics : text;
}

bool RopesWindow::Restored() const { return !isMinimized() && !isMaximized() && !isFullScreen(); }

// ---------------------------------------------------------------- events

void RopesWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (floating_ && Restored()) {
    settings_.SetInt(setting::RopesLeft, geometry().x());
    settings_.SetInt(setting::RopesTop, geometry().y());
  }
}

void RopesWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isMinimized()) return;
  // A frame dragged too small for the ropes snaps back.
  if (floating_ && !snapping_ && !content_->SizeAllowed(size()) && content_->SizeAllowed(lastGoodSize_)) {
    snapping_ = true;
    QTimer::singleShot(0, this, [this] {
      resize(lastGoodSize_);
      snapping_ = false;
    });
    return;
  }
  lastGoodSize_ = size();
  if (floating_ && Restored()) {
    settings_.SetInt(setting::RopesWidth, width());
    settings_.SetInt(setting::RopesHeight, height());
  }
  content_->setGeometry(rect());
  content_->Relayout();
}

void RopesWindow::mouseMoveEvent(QMouseEvent* event) {
  content_->SetMouseX(static_cast<int>(event->position().x()));
  QWidget::mouseMoveEvent(event);
}

void RopesWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && hooks_.ropeClick)
    hooks_.ropeClick(content_->RopeAt(static_cast<int>(event->position().x()), true));
}

void RopesWindow::contextMenuEvent(QContextMenuEvent* event) {
  if (hooks_.contextMenu) hooks_.contextMenu(content_->RopeAt(event->pos().x(), true), event->globalPos());
}

void RopesWindow::timerEvent(QTimerEvent* event) {
  if (event->timerId() == staleTimer_.timerId()) content_->DrawIfStale();
  else QWidget::timerEvent(event);
}

bool RopesWindow::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  auto* help = static_cast<QHelpEvent*>(event);
  const int bell = content_->RopeAt(help->pos().x(), true);
  const std::string text = bell >= 0 && hooks_.tip ? hooks_.tip(bell) : std::string();
  if (text.empty()) {
    QToolTip::hideText();
    event->ignore();
  } else {
    QToolTip::showText(help->globalPos(), QString::fromStdString(text), this, content_->ColumnRect(bell));
  }
  return true;
}

}  // namespace clangor
