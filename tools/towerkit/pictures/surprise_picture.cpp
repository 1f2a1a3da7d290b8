#include "tools/towerkit/pictures/surprise_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "tools/towerkit/pictures/picture_kit.h"

namespace clangor::towerkit {

namespace {

// The board's outline: a rectangle with a rounded pediment, as peal boards
// are made.
QPainterPath BoardOutline(int w, int h) {
  const double crest = h * 0.16;
  QPainterPath path;
  path.moveTo(2, crest);
  path.lineTo(w * 0.3, crest);
  path.quadTo(w * 0.5, -crest * 0.6, w * 0.7, crest);
  path.lineTo(w - 2, crest);
  path.lineTo(w - 2, h - 2);
  path.lineTo(2, h - 2);
  path.closeSubpath();
  return path;
}

}  // namespace

QImage SurpriseBoard(int w, int h) {
  QImage image = NewPicture(w, h);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const QPainterPath outline = BoardOutline(w, h);
  // The moulded frame: dark varnished oak, lit from the upper left.
  QLinearGradient frame(0, 0, w, h);
  frame.setColorAt(0, QColor(120, 72, 36));
  frame.setColorAt(0.5, QColor(70, 40, 18));
  frame.setColorAt(1, QColor(36, 20, 8));
  p.setPen(QPen(QColor(24, 12, 4), 2));
  p.setBrush(frame);
  p.drawPath(outline);
  // The panel, painted black-green, inside a gilt bead.
  const double inset = h * 0.07;
  QPainterPath panel = BoardOutline(static_cast<int>(w - 2 * inset), static_cast<int>(h - 2 * inset))
                           .translated(inset, inset);
  QLinearGradient paint(0, inset, 0, h - inset);
  paint.setColorAt(0, QColor(30, 46, 36));
  paint.setColorAt(1, QColor(12, 20, 16));
  p.setPen(QPen(QColor(214, 172, 80), h * 0.015));
  p.setBrush(paint);
  p.drawPath(panel);
  // Gilt lettering with a shadow, and the rule under it.
  QFont font = CharacterFont(static_cast<int>(h * 0.3));
  font.setItalic(true);
  p.setFont(font);
  const QRectF text(inset, h * 0.24, w - 2 * inset, h * 0.46);
  QLinearGradient gilt(0, text.top(), 0, text.bottom());
  gilt.setColorAt(0, QColor(255, 236, 160));
  gilt.setColorAt(0.55, QColor(214, 164, 60));
  gilt.setColorAt(1, QColor(150, 104, 30));
  QPainterPath letters;
  letters.addText(0, 0, font, "Surprise!");
  const QRectF bounds = letters.boundingRect();
  letters.translate(text.center() - bounds.center());
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 160));
  p.drawPath(letters.translated(h * 0.012, h * 0.015));
  p.setBrush(QBrush(gilt));
  p.setPen(QPen(QColor(110, 74, 20), h * 0.006));
  p.drawPath(letters);
  p.setPen(QPen(QColor(214, 172, 80), h * 0.012));
  p.drawLine(QPointF(w * 0.25, h * 0.78), QPointF(w * 0.75, h * 0.78));
  for (const double x : {w * 0.22, w * 0.78}) {
    p.setBrush(QColor(214, 172, 80));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(x, h * 0.78), h * 0.018, h * 0.018);
  }
  return image;
}

QImage SurpriseBoardMask(int w, int h) {
  QImage mask = NewPicture(w, h, Qt::white);
  QPainter p(&mask);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawPath(BoardOutline(w, h));
  return mask;
}

}  // namespace clangor::towerkit
