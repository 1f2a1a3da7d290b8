#include "views/numbers_window.h"

#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "shell/settings_store.h"

namespace clangor {

namespace {
constexpr int Inset = 2;
}  // namespace

NumbersWindow::NumbersWindow(SettingsStore& settings, TickSource& ticks, int towerBells, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool),
      settings_(settings),
      mainWindow_(mainWindow),
      sizing_(NumbersSizing::From(towerBells, settings.GetInt(setting::NumbersDigitWidth),
                                  settings.GetInt(setting::NumbersDigitHeight))),
      content_(
          ticks,
          [this] {
            if (!repaintPosted_.exchange(true))
              QMetaObject::invokeMethod(this, [this] { update(); }, Qt::QueuedConnection);
          },
          &settings) {
  setObjectName("CLNumbersWindow");
  setWindowTitle(QString());
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::ArrowCursor);
  setFocusPolicy(Qt::NoFocus);
  thinEdge_ = settings.GetInt(setting::NumbersThinEdge) == 1;
  ApplyStyle();
  const int height = std::max(settings.GetInt(setting::NumbersHeight), 1);
  resizing_ = true;
  setGeometry(settings.GetInt(setting::NumbersLeft), settings.GetInt(setting::NumbersTop), sizing_.WidthFor(height),
              height);
  resizing_ = false;
}

void NumbersWindow::ApplyStyle() {
  restyling_ = true;
  Qt::WindowFlags flags = Qt::Tool;
  if (thinEdge_) flags |= Qt::FramelessWindowHint;
  else flags |= Qt::WindowTitleHint | Qt::CustomizeWindowHint;
  setWindowFlags(flags);
  restyling_ = false;
}

void NumbersWindow::SetDigits(std::vector<QImage> digits) {
  digits_ = std::move(digits);
  scaledCell_ = QSize();
  update();
}

std::vector<QImage> NumbersWindow::ScaledDigits(const std::vector<QImage>& digits, QSize cell) {
  std::vector<QImage> scaled;
  if (cell.isEmpty()) return scaled;
  for (const QImage& digit : digits)
    scaled.push_back(digit.scaled(cell, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  return scaled;
}

void NumbersWindow::Show(bool shown) {
  content_.Show(shown);
  setVisible(shown);
  if (shown) GiveFocusBack();
}

// ---------------------------------------------------------------- drawing

void NumbersWindow::paintEvent(QPaintEvent*) {
  repaintPosted_ = false;
  const QSize cell(width() / sizing_.towerBells, height());
  if (cell != scaledCell_) {
    scaled_ = ScaledDigits(digits_, cell);
    scaledCell_ = cell;
  }
  QPainter painter(this);
  DrawStrip(painter, size(), content_.frame(), scaled_, settings_.GetInt(setting::NumbersSwapOption),
            sizing_.towerBells, NumbersContent::PlacesInPlay(sizing_.towerBells));
  if (thinEdge_) {
    painter.setPen(QColor(FrameColour));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void NumbersWindow::DrawStrip(QPainter& painter, QSize size, const NumbersFrame& frame,
                              const std::vector<QImage>& digits, int style, int towerBells, int places) {
  painter.fillRect(QRect(QPoint(0, 0), size), QColor(Background));
  if (!frame.HasRow() || places < 1 || towerBells < 1) return;
  const int w = size.width(), h = size.height();
  const int slot = w / places;
  const int digit = w / towerBells;
  const int offset = static_cast<int>(slot * frame.fraction);
  const int top = style == 3 ? 0 : Inset;
  const int bottom = style == 3 ? h : h - Inset;
  const auto slotRect = [&](int first, int count) {
    return QRect(first * slot + Inset, top, count * slot - 2 * Inset, bottom - top);
  };
  const auto picture = [&](int b) -> const QImage* {
    return b >= 0 && b < static_cast<int>(digits.size()) ? &digits[static_cast<std::size_t>(b)] : nullptr;
  };
  const auto outline = [&](const QRect& r) {
    painter.setPen(QColor(FrameColour));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
  };
  const bool on = frame.highlight;
  for (int i = 0; i < places; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const int b = frame.fromRow[at];
    int x = i * slot;
    bool placeBell = false, closesPair = false;
    if (frame.toRow[at] == b) {
      placeBell = true;
      if (on && (style == 4 || style == 5)) painter.fillRect(slotRect(i, 1), Qt::white);
    } else if (i >= 1 && frame.toRow[at - 1] == b) {
      closesPair = true;  // moving one place towards the front
      x = i * slot - offset;
    } else if (i + 1 < places) {
      // Moving one place towards the back: the first of a crossing pair.
      if (on) {
        const QRect pair = slotRect(i, 2);
        if (style == 2) painter.fillRect(pair, Qt::white);
        if ((style == 3 || style == 5) && picture(18))
          painter.drawImage(QRect((i + 1) * slot - digit / 2, pair.top(), digit, pair.height()), *picture(18));
      }
      x += offset;
    }
    if (const QImage* image = picture(b)) painter.drawImage(QRect(x + (slot - digit) / 2, 0, digit, h), *image);
    if (on && closesPair && (style == 1 || style == 2)) outline(slotRect(i - 1, 2));
    if (on && placeBell && (style == 4 || style == 5)) outline(slotRect(i, 1));
  }
}

// ---------------------------------------------------------------- the window

void NumbersWindow::ToggleThinEdge() {
  const QRect client = geometry();  // the client area stays where it is on the screen
  thinEdge_ = !thinEdge_;
  ApplyStyle();
  resizing_ = true;
  setGeometry(client);
  resizing_ = false;
  if (content_.shown()) show();
  settings_.SetInt(setting::NumbersThinEdge, thinEdge_ ? 1 : 0);
}

void NumbersWindow::GiveFocusBack() {
  if (mainWindow_) mainWindow_->activateWindow();
}

void NumbersWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) ToggleThinEdge();
}

void NumbersWindow::mouseReleaseEvent(QMouseEvent*) { GiveFocusBack(); }

void NumbersWindow::moveEvent(QMoveEvent*) {
  if (restyling_ || resizing_ || !isVisible() || isMinimized() || isMaximized()) return;
  settings_.SetInt(setting::NumbersLeft, geometry().x());
  settings_.SetInt(setting::NumbersTop, geometry().y());
}

void NumbersWindow::resizeEvent(QResizeEvent* event) {
  if (restyling_ || resizing_) return;
  int w = width(), h = height();
  sizing_.KeepAspect(event->oldSize().width(), event->oldSize().height(), w, h);
  if (w != width() || h != height()) {
    resizing_ = true;
    resize(w, h);
    resizing_ = false;
  }
  if (!isMinimized() && !isMaximized()) settings_.SetInt(setting::NumbersHeight, h);
}

}  // namespace clangor
