#include "installer/setup/form_background.h"

#include <QLinearGradient>
#include <QPainter>

namespace clangor::outfit {

TFormBackground::TFormBackground(const QString& caption) : caption_(caption) {
  setWindowTitle(caption);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TFormBackground::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient gradient(0, 0, 0, height());
  gradient.setColorAt(0, QColor(0, 0, 128));
  gradient.setColorAt(1, Qt::black);
  painter.fillRect(rect(), gradient);
  QFont font = painter.font();
  font.setPointSize(28);
  font.setBold(true);
  font.setItalic(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(rect().adjusted(32, 24, -32, -24), Qt::AlignLeft | Qt::AlignTop, caption_);
}

}  // namespace clangor::outfit
