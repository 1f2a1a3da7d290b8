#include "views/tower_view_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "views/tower_view.h"

namespace clangor {

TowerViewWidget::TowerViewWidget(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  setMinimumSize(1, 1);
}

void TowerViewWidget::SetView(TowerView* view, DrawLocker locker, Redrawer redrawer) {
  view_ = view;
  locker_ = std::move(locker);
  redrawer_ = std::move(redrawer);
  if (view_) view_->setClientSize(width(), height());
  update();
}

void TowerViewWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  bool painted = false;
  if (view_ && locker_) {
    locker_([&] {
      const QImage& frame = view_->composition();
      if (frame.size() != size()) return;
      painter.drawImage(event->rect(), frame, event->rect());
      painted = true;
    });
  }
  if (!painted) painter.fillRect(event->rect(), Qt::black);
}

void TowerViewWidget::resizeEvent(QResizeEvent*) {
  if (!view_) return;
  view_->setClientSize(width(), height());
  if (redrawer_) redrawer_();
}

void TowerViewWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit clicked(event->position().toPoint());
}

}  // namespace clangor
