// A tower's pictures: the ringing chamber, each bell at every angle its
// pictures show, the masks of the frame in front of the bells, and the
// surprise picture. Every bell is seen from along its axle, at the scale of
// the layout, so heavier bells are drawn larger.
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/towerkit/bell_layout.h"
#include "tools/towerkit/pictures/picture_kit.h"
#include "tools/towerkit/pictures/pictures.h"

namespace clangor::towerkit {

namespace {

const QColor Bronze(168, 118, 58);
const QColor BronzeDark(96, 62, 28);
const QColor Timber(120, 78, 40);
const QColor TimberDark(72, 44, 20);
const QColor Rope(214, 196, 150);
const QColor Stone(196, 186, 164);
const QColor StoneLine(168, 156, 134);

// The bell's outline, mouth down, in metres from the gudgeons (y down).
QPainterPath BellOutline(const BellShape& shape, double scale) {
  const double d = shape.mouthDiameter * scale;
  const double top = shape.crownDrop * scale;
  const double lip = shape.reach * scale;
  const double h = lip - top;
  QPainterPath path;
  path.moveTo(-0.25 * d, top);
  path.lineTo(0.25 * d, top);
  path.cubicTo(0.29 * d, top + 0.25 * h, 0.27 * d, top + 0.55 * h, 0.36 * d, top + 0.8 * h);
  path.cubicTo(0.42 * d, top + 0.9 * h, 0.5 * d, top + 0.95 * h, 0.5 * d, lip);
  path.lineTo(-0.5 * d, lip);
  path.cubicTo(-0.5 * d, top + 0.95 * h, -0.42 * d, top + 0.9 * h, -0.36 * d, top + 0.8 * h);
  path.cubicTo(-0.27 * d, top + 0.55 * h, -0.29 * d, top + 0.25 * h, -0.25 * d, top);
  path.closeSubpath();
  return path;
}

// The bell at `angle` (hundredths of a degree; 0 mouth down) in its picture.
QImage SwingPicture(const BellDefinition& bell, const Box& box, double scale, int angle) {
  QImage image = NewPicture(box.w, box.h);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const BellShape shape = ShapeOf(bell);
  const double wheel = bell.wheelRadius * scale;
  const double reach = shape.reach * scale;
  p.translate(box.w / 2.0, box.h / 2.0);

  // The slider, fixed in the frame below the gudgeons, where the stay comes
  // to rest when the bell is set.
  p.setPen(QPen(TimberDark, 1));
  p.setBrush(Timber);
  p.drawRect(QRectF(-0.45 * reach, 0.52 * reach, 0.9 * reach, 0.05 * reach));

  p.save();
  p.rotate(angle / 100.0);
  // Stay, headstock and bell turn together.
  p.setBrush(Timber);
  p.drawRect(QRectF(-0.025 * reach, -0.62 * reach, 0.05 * reach, 0.6 * reach));
  p.setPen(QPen(BronzeDark, 1.5));
  p.setBrush(Bronze);
  p.drawPath(BellOutline(shape, scale));
  // The sound bow: a darker band just above the lip.
  const double d = shape.mouthDiameter * scale;
  p.setPen(QPen(BronzeDark, std::max(1.0, 0.03 * d)));
  p.drawLine(QPointF(-0.46 * d, reach - 0.08 * d), QPointF(0.46 * d, reach - 0.08 * d));
  p.setPen(QPen(TimberDark, 1));
  p.setBrush(Timber);
  p.drawRect(QRectF(-0.34 * d, -0.06 * d, 0.68 * d, shape.crownDrop * scale + 0.06 * d));
  // The wheel: rim and spokes, nearer the eye than the bell.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(TimberDark, std::max(2.0, 0.05 * wheel)));
  p.drawEllipse(QPointF(0, 0), wheel, wheel);
  p.setPen(QPen(Timber, std::max(1.5, 0.025 * wheel)));
  for (int spoke = 0; spoke < 4; ++spoke) {
    const double a = spoke * 3.14159265358979 / 4 + 0.3;
    p.drawLine(QPointF(-wheel * std::cos(a), -wheel * std::sin(a)), QPointF(wheel * std::cos(a), wheel * std::sin(a)));
  }
  p.restore();

  // The rope: round the rim from the garter hole, which turns with the
  // wheel, to the side of the wheel, then straight down through the floor.
  const double wrap = std::clamp(190.0 - angle / 100.0, 8.0, 355.0);
  p.setPen(QPen(Rope, std::max(2.0, 0.03 * wheel)));
  p.setBrush(Qt::NoBrush);
  const QRectF rim(-wheel, -wheel, 2 * wheel, 2 * wheel);
  p.drawArc(rim, 180 * 16, static_cast<int>(std::lround(wrap * 16)));
  p.drawLine(QPointF(-wheel, 0), QPointF(-wheel, box.h / 2.0));
  return image;
}

// White, with the colour key where the frame's front beam passes in front.
QImage MaskPicture(const Box& box, int beamY, int beamHeight) {
  QImage image = NewPicture(box.w, box.h, Qt::white);
  QPainter p(&image);
  p.fillRect(QRect(0, beamY - box.y, box.w, beamHeight), KeyColour);
  return image;
}

QImage BasePicture(const TowerDefinition& tower, const TowerLayout& layout) {
  QImage image = NewPicture(layout.width, layout.height, Stone);
  QPainter p(&image);
  // Coursed stone.
  p.setPen(QPen(StoneLine, 1));
  for (int y = 0, course = 0; y < layout.height; y += 28, ++course) {
    p.drawLine(0, y, layout.width, y);
    for (int x = (course % 2) * 40; x < layout.width; x += 80) p.drawLine(x, y, x, y + 28);
  }
  // Each pit, darker behind its bell, and the frame's beams and posts.
  const int count = static_cast<int>(tower.bells.size());
  for (int b = 0; b < count; ++b) {
    const Box& box = layout.bells[static_cast<std::size_t>(b)];
    const int beam = layout.beamY[static_cast<std::size_t>(layout.tierOf[static_cast<std::size_t>(b)])];
    p.fillRect(QRect(box.x + box.w / 8, box.y + box.h / 2, box.w * 3 / 4, beam - box.y - box.h / 2), QColor(120, 110, 96));
  }
  for (std::size_t t = 0; t < layout.beamY.size(); ++t) {
    int left = layout.width, right = 0;
    for (int b = 0; b < count; ++b) {
      if (layout.tierOf[static_cast<std::size_t>(b)] != static_cast<int>(t)) continue;
      const Box& box = layout.bells[static_cast<std::size_t>(b)];
      left = std::min(left, box.x);
      right = std::max(right, box.x + box.w);
      p.fillRect(QRect(box.x - 6, layout.beamY[t] - box.h / 3, 10, box.h / 3 + layout.beamHeight), TimberDark);
      p.fillRect(QRect(box.x + box.w - 4, layout.beamY[t] - box.h / 3, 10, box.h / 3 + layout.beamHeight), TimberDark);
    }
    p.fillRect(QRect(left - 10, layout.beamY[t], right - left + 20, layout.beamHeight), Timber);
    p.setPen(QPen(TimberDark, 2));
    p.drawRect(QRect(left - 10, layout.beamY[t], right - left + 20, layout.beamHeight));
  }
  return image;
}

void SurprisePictures(const TowerLayout& layout, const std::filesystem::path& images) {
  const Box& s = layout.surprise;
  QImage picture = NewPicture(s.w, s.h);
  QImage mask = NewPicture(s.w, s.h, Qt::white);
  const QRectF banner(2, 2, s.w - 4, s.h - 4);
  {
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 20, 20), 3));
    p.setBrush(QColor(250, 214, 80));
    p.drawRoundedRect(banner, s.h / 4.0, s.h / 4.0);
    p.setFont(CharacterFont(s.h * 45 / 100));
    p.setPen(QColor(140, 20, 20));
    p.drawText(banner, Qt::AlignCenter, "Surprise!");
  }
  {
    QPainter p(&mask);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(banner, s.h / 4.0, s.h / 4.0);
  }
  SaveBitmap(picture, images / "surprise.bmp");
  SaveBitmap(mask, images / "surprise_mask.bmp");
}

}  // namespace

void DrawTowerPictures(const TowerDefinition& tower, const std::filesystem::path& dataFolder) {
  const TowerLayout layout = LayoutTower(tower);
  const auto images = dataFolder / "Towers" / "XII" / tower.name / "images";
  SaveBitmap(BasePicture(tower, layout), images / "base.bmp");
  SurprisePictures(layout, images);
  const std::vector<int> angles = PictureAngles(tower);
  for (std::size_t b = 0; b < tower.bells.size(); ++b) {
    const BellDefinition& bell = tower.bells[b];
    const Box& box = layout.bells[b];
    const std::string number = std::to_string(bell.number);
    for (std::size_t k = 0; k < angles.size(); ++k) {
      char name[32];
      std::snprintf(name, sizeof name, "%s-%03zu.bmp", number.c_str(), k);
      SaveBitmap(SwingPicture(bell, box, layout.pixelsPerMetre, angles[k]), images / number / name);
    }
    const int beam = layout.beamY[static_cast<std::size_t>(layout.tierOf[b])];
    SaveBitmap(MaskPicture(box, beam, layout.beamHeight), images / (number + "-mask.bmp"));
  }
}

}  // namespace clangor::towerkit
