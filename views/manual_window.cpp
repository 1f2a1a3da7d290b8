#include "views/manual_window.h"

#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "shell/settings_store.h"
#include "tower/bell.h"

namespace clangor {

namespace {
QRect ToRect(const GaugeSpan& s) { return QRect(s.left, s.top, s.right - s.left, s.bottom - s.top); }
}  // namespace

ManualWindow::ManualWindow(SettingsStore& settings, std::vector<std::string> bellNames, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      settings_(settings),
      bellNames_(std::move(bellNames)),
      mainWindow_(mainWindow),
      control_(ManualControl::Hooks{
          [this](int bell) {
            const std::string name =
                bell >= 0 && bell < static_cast<int>(bellNames_.size()) ? bellNames_[static_cast<std::size_t>(bell)] : "";
            QMetaObject::invokeMethod(this, [this, title = TitleFor(bell, name)] {
              setWindowTitle(title);
              update();
            }, Qt::QueuedConnection);
          },
          [this] {
            if (!repaintPosted_.exchange(true)) QMetaObject::invokeMethod(this, [this] { update(); }, Qt::QueuedConnection);
          }}) {
  setObjectName("CLManualWindow");
  setWindowTitle(QString());
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::ArrowCursor);
  setFocusPolicy(Qt::NoFocus);
  setMouseTracking(true);
  // The saved rectangle is the window's, frame included; the frame is known
  // only once the window is shown, so the client takes it whole at first.
  move(settings.GetInt(setting::ManualWLeft), settings.GetInt(setting::ManualWTop));  // the frame's corner
  resize(std::max(settings.GetInt(setting::ManualWWidth), 1), std::max(settings.GetInt(setting::ManualWHeight), 1));
  control_.SetSize(width(), height());
}

ManualWindow::~ManualWindow() {
  const QRect r = frameGeometry();
  settings_.SetInt(setting::ManualWLeft, r.x());
  settings_.SetInt(setting::ManualWTop, r.y());
  settings_.SetInt(setting::ManualWWidth, r.width());
  settings_.SetInt(setting::ManualWHeight, r.height());
}

QString ManualWindow::TitleFor(int bell, const std::string& name) {
  if (bell < 0) return QString();
  return QString::number(bell + 1) + " (" + QString::fromStdString(name) + ")";
}

void ManualWindow::Show(bool shown) {
  if (!shown) {
    hide();
    return;
  }
  show();
  control_.Refresh();
  GiveFocusBack();
}

void ManualWindow::paintEvent(QPaintEvent*) {
  repaintPosted_ = false;
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const int amplitude = control_.amplitude();
  if (control_.ownBell() < 0 || amplitude <= 0) return;
  const GaugePicture p = control_.gauge().Picture(control_.angle(), amplitude, Bell::PullLimitAngle, control_.showZones());
  painter.fillRect(ToRect(p.leftBand), QColor(LeftBandColour));
  painter.fillRect(ToRect(p.rightBand), QColor(RightBandColour));
  for (const GaugeSpan& line : {p.midLine, p.leftZoneLine, p.rightZoneLine, p.marker})
    if (!line.Empty()) painter.fillRect(ToRect(line), Qt::black);
}

void ManualWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  control_.SetPointer(at.x(), at.y());
}

void ManualWindow::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  control_.SetPointer(at.x(), at.y());
  if (event->button() == Qt::LeftButton) control_.Click();
}

void ManualWindow::mouseReleaseEvent(QMouseEvent*) { GiveFocusBack(); }

void ManualWindow::resizeEvent(QResizeEvent*) { control_.SetSize(width(), height()); }

// The saved rectangle is the window's: once the frame is known, the client
// gives up its share, so the window keeps its size from run to run.
void ManualWindow::showEvent(QShowEvent*) {
  if (framed_) return;
  framed_ = true;
  const QSize frame = frameGeometry().size() - size();
  if (frame.width() > 0 || frame.height() > 0) resize((size() - frame).expandedTo(QSize(1, 1)));
}

void ManualWindow::GiveFocusBack() {
  if (mainWindow_) mainWindow_->activateWindow();
}

}  // namespace clangor
