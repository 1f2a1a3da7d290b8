// The program's own pictures in "Program Stuff/": the 19 digit cells of the
// moving numbers, the rope sallies, the tool bar strips, the arrows of the
// Volume, Speed and Pitch dialog and the tick of the method lists.
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <string>
#include <vector>

#include "tools/towerkit/pictures/picture_kit.h"
#include "tools/towerkit/pictures/pictures.h"

namespace clangor::towerkit {

namespace {

constexpr int DigitWidth = 150;   // the NumbersDigitWidth default
constexpr int DigitHeight = 170;  // the NumbersDigitHeight default
constexpr int SallyWidth = 30;    // RopeImageWidth
constexpr int SallyHeight = 600;  // SallyImageHeight
constexpr int ToolPicture = 16;
constexpr int Arrow = 28;
constexpr const char* BellCharacters = "1234567890ETABCDFG";

// 19 cells side by side, one key-coloured column between them: the 18 bell
// characters and, last, the cross.
QImage Digits() {
  QImage image = NewPicture(19 * DigitWidth + 18, DigitHeight);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing, false);  // no fringe against the key colour
  p.setFont(CharacterFont(DigitHeight * 80 / 100));
  p.setPen(Qt::black);
  for (int i = 0; i < 18; ++i) {
    const QRect cell((DigitWidth + 1) * i, 0, DigitWidth, DigitHeight);
    p.drawText(cell, Qt::AlignCenter, QString(QChar(BellCharacters[i])));
  }
  const QRect cross((DigitWidth + 1) * 18, 0, DigitWidth, DigitHeight);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(QColor(200, 0, 0), DigitWidth / 8, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(cross.topLeft() + QPoint(30, 30), cross.bottomRight() - QPoint(30, 30));
  p.drawLine(cross.topRight() + QPoint(-30, 30), cross.bottomLeft() + QPoint(30, -30));
  return image;
}

// A rope with its sally: tufts of wool in bands of `colours`, `drop` pixels
// lower when the rope is pulled down.
QImage Sally(const std::vector<QColor>& colours, int drop) {
  QImage image = NewPicture(SallyWidth, SallyHeight);
  QPainter p(&image);
  const int rope = SallyWidth / 5;
  p.fillRect(QRect((SallyWidth - rope) / 2, 0, rope, SallyHeight), QColor(214, 196, 150));
  const int top = SallyHeight / 3 + drop;
  const int length = SallyHeight / 4;
  const int band = length / static_cast<int>(colours.size() * 3);
  for (int y = 0, i = 0; y < length; y += band, ++i) {
    p.fillRect(QRect(2, top + y, SallyWidth - 4, band), colours[static_cast<std::size_t>(i) % colours.size()]);
  }
  return image;
}

// One 16-pixel picture of a tool bar button, drawn in `ink`.
using ToolDrawing = void (*)(QPainter&, const QColor&);

void BellIcon(QPainter& p, const QColor& ink) {
  QPainterPath path;
  path.moveTo(5, 3);
  path.lineTo(11, 3);
  path.cubicTo(12, 7, 12, 10, 14, 12);
  path.lineTo(2, 12);
  path.cubicTo(4, 10, 4, 7, 5, 3);
  p.fillPath(path, ink);
  p.fillRect(QRect(7, 13, 2, 2), ink);
}
void Lines(QPainter& p, const QColor& ink) {
  for (int y = 3; y <= 12; y += 3) p.fillRect(QRect(2, y, 12, 2), ink);
}
void Steps(QPainter& p, const QColor& ink) {
  p.setPen(QPen(ink, 2));
  p.drawLine(3, 3, 8, 8);
  p.drawLine(8, 8, 3, 13);
  p.drawLine(9, 3, 14, 8);
  p.drawLine(14, 8, 9, 13);
}
void Play(QPainter& p, const QColor& ink) { p.setBrush(ink); p.setPen(Qt::NoPen); p.drawPolygon(QPolygonF({QPointF(4, 2), QPointF(13, 8), QPointF(4, 14)})); }
void Again(QPainter& p, const QColor& ink) { p.setPen(QPen(ink, 2)); p.drawArc(QRect(3, 3, 10, 10), 30 * 16, 300 * 16); p.fillRect(QRect(11, 2, 3, 3), ink); }
void Rounds(QPainter& p, const QColor& ink) { p.setPen(QPen(ink, 2)); p.drawEllipse(QRect(3, 3, 10, 10)); }
void Stand(QPainter& p, const QColor& ink) { p.fillRect(QRect(3, 10, 10, 3), ink); p.fillRect(QRect(7, 3, 2, 7), ink); }
void Stop(QPainter& p, const QColor& ink) { p.fillRect(QRect(3, 3, 10, 10), ink); }
void Pause(QPainter& p, const QColor& ink) { p.fillRect(QRect(4, 3, 3, 10), ink); p.fillRect(QRect(9, 3, 3, 10), ink); }
void Step(QPainter& p, const QColor& ink) { Play(p, ink); p.fillRect(QRect(12, 2, 2, 12), ink); }
void Slower(QPainter& p, const QColor& ink) { p.setBrush(ink); p.setPen(Qt::NoPen); p.drawPolygon(QPolygonF({QPointF(13, 3), QPointF(3, 8), QPointF(13, 13)})); }
void Faster(QPainter& p, const QColor& ink) { p.setBrush(ink); p.setPen(Qt::NoPen); p.drawPolygon(QPolygonF({QPointF(3, 3), QPointF(8, 8), QPointF(3, 13)})); p.drawPolygon(QPolygonF({QPointF(8, 3), QPointF(13, 8), QPointF(8, 13)})); }
void Options(QPainter& p, const QColor& ink) { p.fillRect(QRect(3, 4, 10, 2), ink); p.fillRect(QRect(3, 10, 10, 2), ink); p.fillRect(QRect(5, 2, 2, 6), ink); p.fillRect(QRect(9, 8, 2, 6), ink); }
void View(QPainter& p, const QColor& ink) { p.setPen(QPen(ink, 2)); p.drawRect(QRect(2, 3, 12, 10)); p.fillRect(QRect(2, 3, 12, 3), ink); }
void Volume(QPainter& p, const QColor& ink) { p.setBrush(ink); p.setPen(Qt::NoPen); p.drawPolygon(QPolygonF({QPointF(2, 6), QPointF(6, 6), QPointF(10, 2), QPointF(10, 14), QPointF(6, 10), QPointF(2, 10)})); p.fillRect(QRect(12, 5, 2, 6), ink); }
void Preferences(QPainter& p, const QColor& ink) { p.setPen(QPen(ink, 2)); p.drawEllipse(QRect(4, 4, 8, 8)); p.fillRect(QRect(7, 1, 2, 14), ink); p.fillRect(QRect(1, 7, 14, 2), ink); }
void Ropes(QPainter& p, const QColor& ink) { p.fillRect(QRect(4, 1, 2, 14), ink); p.fillRect(QRect(10, 1, 2, 14), ink); p.fillRect(QRect(3, 6, 4, 5), QColor(200, 40, 40)); p.fillRect(QRect(9, 6, 4, 5), QColor(40, 40, 200)); }
void Exit(QPainter& p, const QColor& ink) { p.setPen(QPen(ink, 2)); p.drawLine(3, 3, 13, 13); p.drawLine(13, 3, 3, 13); }

struct Band {
  const char* name;
  std::vector<ToolDrawing> pictures;
};

QImage Strip(const Band& band, const QColor& ink) {
  QImage image = NewPicture(ToolPicture * static_cast<int>(band.pictures.size()), ToolPicture);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  for (std::size_t i = 0; i < band.pictures.size(); ++i) {
    p.save();
    p.translate(ToolPicture * static_cast<int>(i), 0);
    band.pictures[i](p, ink);
    p.restore();
  }
  return image;
}

// An arrow of the Volume, Speed and Pitch dialog, pointing `turns` quarter
// turns clockwise from the right.
QImage ArrowPicture(int turns) {
  QImage image = NewPicture(Arrow, Arrow, QColor(212, 208, 200));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(Arrow / 2.0, Arrow / 2.0);
  p.rotate(90.0 * turns);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawPolygon(QPolygonF({QPointF(-9, -3), QPointF(1, -3), QPointF(1, -9), QPointF(10, 0), QPointF(1, 9),
                           QPointF(1, 3), QPointF(-9, 3)}));
  return image;
}

QImage Tick() {
  QImage image = NewPicture(16, 16, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 128, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(6.5, 12), QPointF(13, 3.5)}));
  return image;
}

}  // namespace

void DrawProgramPictures(const std::filesystem::path& stuff) {
  SaveBitmap(Digits(), stuff / "digits.bmp");
  SaveBitmap(Sally({QColor(200, 30, 30), QColor(250, 250, 250), QColor(30, 50, 180)}, 0), stuff / "rope_sally.bmp");
  SaveBitmap(Sally({QColor(240, 200, 20), QColor(20, 140, 40)}, 0), stuff / "own_sally.bmp");
  SaveBitmap(Sally({QColor(200, 30, 30), QColor(250, 250, 250), QColor(30, 50, 180)}, SallyHeight / 5),
             stuff / "down_sally.bmp");
  const std::vector<Band> bands = {
      {"rings", {BellIcon}},
      {"touch", {Lines, Steps}},
      {"ringing", {Play, Again, Rounds, Stand, Stop, Pause, Step, Slower, Faster, Options}},
      {"options", {View, Volume, Preferences, Ropes, Exit}},
  };
  for (const Band& band : bands) {
    const std::string name = band.name;
    SaveBitmap(Strip(band, Qt::black), stuff / (name + "_bar_standard.bmp"));
    SaveBitmap(Strip(band, QColor(0, 70, 200)), stuff / (name + "_bar_hot.bmp"));
    SaveBitmap(Strip(band, QColor(150, 150, 150)), stuff / (name + "_bar_disabled.bmp"));
  }
  SaveBitmap(ArrowPicture(2), stuff / "left.bmp");
  SaveBitmap(ArrowPicture(0), stuff / "right.bmp");
  SaveBitmap(ArrowPicture(3), stuff / "up.bmp");
  SaveBitmap(ArrowPicture(1), stuff / "down.bmp");
  SaveBitmap(Tick(), stuff / "tick.bmp");
}

}  // namespace clangor::towerkit
