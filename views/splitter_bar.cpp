#include "views/splitter_bar.h"

#include <QMouseEvent>
#include <QRubberBand>

#include <algorithm>

namespace clangor {

SplitterBar::SplitterBar(QWidget* parent) : QWidget(parent) {
  setObjectName("SplitterBar");
  setCursor(Qt::SplitHCursor);
  setFocusPolicy(Qt::NoFocus);
  setAutoFillBackground(true);
  setFixedWidth(Thickness);
}

void SplitterBar::SetLimits(int lowest, int highest) {
  lowest_ = lowest;
  highest_ = std::max(lowest, highest);
}

int SplitterBar::Limited(int x) const { return std::clamp(x, lowest_, highest_); }

int SplitterBar::ParentX(QMouseEvent* event) const { return mapToParent(event->position().toPoint()).x(); }

void SplitterBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  grabKeyboard();
  if (!band_) band_ = new QRubberBand(QRubberBand::Line, parentWidget());
  band_->setGeometry(Limited(ParentX(event)), y(), Thickness, height());
  band_->show();
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && band_) band_->move(Limited(ParentX(event)), y());
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_) return;
  dragging_ = false;
  releaseKeyboard();
  if (band_) band_->hide();
  emit released(Limited(ParentX(event)));
}

void SplitterBar::keyPressEvent(QKeyEvent*) {
  if (!dragging_) return;
  dragging_ = false;
  releaseKeyboard();
  if (band_) band_->hide();
}

}  // namespace clangor
