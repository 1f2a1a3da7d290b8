// The base picture: the bell chamber behind and round the bells. Stone walls
// with louvred windows high on the left and the light falling through them,
// the frame in its tiers (top sills with the bearings, posts, braces and the
// ground sills, on beams set into the walls), the ropes going down through
// the floor to the ringing chamber below.
#include "tools/towerkit/pictures/chamber_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tools/towerkit/pictures/bell_rig.h"
#include "tools/towerkit/pictures/picture_kit.h"
#include "tools/towerkit/pictures/timber.h"

namespace clangor::towerkit {

namespace {

constexpr double LightX = -0.62, LightY = -0.78;
const QPointF Light(LightX, LightY);

// Coursed ashlar, each stone a little different, darker away from the
// windows.
void Walls(QPainter& p, const TowerLayout& layout) {
  const double m = layout.pixelsPerMetre;
  const int course = static_cast<int>(0.3 * m);
  p.setPen(Qt::NoPen);
  for (int row = 0, y = 0; y < layout.height; ++row, y += course) {
    double x = -Scatter(static_cast<std::uint32_t>(row) * 31u) * 0.5 * m;
    for (int stone = 0; x < layout.width; ++stone) {
      const double length = (0.45 + 0.35 * Scatter(static_cast<std::uint32_t>(row * 977 + stone))) * m;
      const double tint = Scatter(static_cast<std::uint32_t>(row * 131 + stone * 7 + 5));
      QColor c(static_cast<int>(172 + 22 * tint), static_cast<int>(160 + 20 * tint), static_cast<int>(136 + 16 * tint));
      const QRectF block(x + 1.5, y + 1.5, length - 3, course - 3);
      QLinearGradient face(block.topLeft(), block.bottomRight());
      face.setColorAt(0, c.lighter(108));
      face.setColorAt(1, c.darker(112));
      p.setBrush(face);
      p.drawRoundedRect(block, 2.5, 2.5);
      x += length;
    }
  }
  // The mortar shows between the stones: drawn first as the wall's ground,
  // so only the shading of the whole wall is left: light from the left.
  QLinearGradient dusk(0, 0, layout.width, layout.height);
  dusk.setColorAt(0, QColor(255, 240, 210, 30));
  dusk.setColorAt(0.45, QColor(0, 0, 0, 40));
  dusk.setColorAt(1, QColor(0, 0, 0, 120));
  p.setBrush(dusk);
  p.drawRect(0, 0, layout.width, layout.height);
}

// A lancet window with louvre boards, its stone reveal splayed towards us.
void Window(QPainter& p, const QRectF& opening, double m) {
  const auto lancet = [](const QRectF& r) {
    QPainterPath path;
    const double w = r.width();
    path.moveTo(r.left(), r.bottom());
    path.lineTo(r.left(), r.top() + w * 0.9);
    path.quadTo(r.left(), r.top() + w * 0.2, r.center().x(), r.top());
    path.quadTo(r.right(), r.top() + w * 0.2, r.right(), r.top() + w * 0.9);
    path.lineTo(r.right(), r.bottom());
    path.closeSubpath();
    return path;
  };
  const double splay = 0.12 * m;
  const QRectF reveal = opening.adjusted(-splay, -splay * 1.6, splay, splay * 0.6);
  QLinearGradient stone(reveal.topLeft(), reveal.topRight());
  stone.setColorAt(0, QColor(150, 138, 116));
  stone.setColorAt(0.5, QColor(206, 194, 168));
  stone.setColorAt(1, QColor(232, 222, 196));
  p.setPen(QPen(QColor(96, 86, 70), 1.5));
  p.setBrush(stone);
  p.drawPath(lancet(reveal));
  // The sky beyond, bright.
  const QPainterPath hole = lancet(opening);
  QLinearGradient sky(opening.topLeft(), opening.bottomLeft());
  sky.setColorAt(0, QColor(255, 250, 230));
  sky.setColorAt(1, QColor(226, 236, 240));
  p.setBrush(sky);
  p.setPen(Qt::NoPen);
  p.drawPath(hole);
  // The louvre boards, sloping down outwards: we see their undersides, with
  // a slit of sky between each.
  p.save();
  p.setClipPath(hole);
  const double pitch = 0.13 * m;
  for (double y = opening.top() + pitch * 0.3; y < opening.bottom(); y += pitch) {
    QLinearGradient board(0, y, 0, y + pitch * 0.86);
    board.setColorAt(0, QColor(84, 64, 42));
    board.setColorAt(0.6, QColor(56, 40, 24));
    board.setColorAt(1, QColor(30, 20, 10));
    p.setBrush(board);
    p.drawRect(QRectF(opening.left(), y, opening.width(), pitch * 0.86));
  }
  // The mullion.
  p.setBrush(QColor(180, 168, 144));
  p.drawRect(QRectF(opening.center().x() - 0.03 * m, opening.top(), 0.06 * m, opening.height()));
  p.restore();
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(80, 70, 56), 2));
  p.drawPath(hole);
}

// The light through a window: a shaft falling to the right and down, and
// where it meets the floor.
void Shaft(QPainter& p, const QRectF& opening, const TowerLayout& layout) {
  const double dx = -LightX / -LightY;  // across per unit down
  const double fall = layout.floorY - opening.top();
  QPainterPath shaft;
  shaft.moveTo(opening.topLeft());
  shaft.lineTo(opening.topRight());
  shaft.lineTo(opening.right() + fall * dx, layout.floorY);
  shaft.lineTo(opening.left() + (layout.floorY - opening.bottom()) * dx, layout.floorY);
  shaft.lineTo(opening.bottomLeft());
  shaft.closeSubpath();
  QLinearGradient glow(opening.center(), QPointF(opening.center().x() + fall * dx, layout.floorY));
  glow.setColorAt(0, QColor(255, 236, 190, 70));
  glow.setColorAt(0.6, QColor(255, 232, 180, 28));
  glow.setColorAt(1, QColor(255, 228, 170, 10));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.setCompositionMode(QPainter::CompositionMode_Screen);
  p.drawPath(shaft);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// A squared timber with its grain, lit from the left and above.
void Beam(QPainter& p, const QRectF& beam, bool upright, TimberKind kind, double unit) {
  p.setPen(QPen(TimberEdge, 1.2));
  p.setBrush(upright ? TimberAlong(beam.topLeft(), beam.topRight(), Light, kind)
                     : TimberAlong(beam.topLeft(), beam.bottomLeft(), Light, kind));
  p.drawRect(beam);
  GrainAlong(p, beam, upright, unit);
}

// A brace from `from` to `to`, `width` across.
void Brace(QPainter& p, QPointF from, QPointF to, double width, double unit) {
  const QPointF along = to - from;
  const double length = std::hypot(along.x(), along.y());
  p.save();
  p.translate(from);
  p.rotate(std::atan2(along.y(), along.x()) * 180 / 3.14159265358979323846);
  const QRectF beam(0, -width / 2, length, width);
  Beam(p, beam, false, TimberKind::Oak, unit);
  p.restore();
}

// The frame of one tier, behind its bells: the far side frames (top sill,
// posts, braces), the bearings, the ground sill, and the beams under it
// built into the walls.
void Tier(QPainter& p, const TowerDefinition& tower, const TowerLayout& layout, int tier) {
  const double m = layout.pixelsPerMetre;
  const int count = static_cast<int>(tower.bells.size());
  double left = layout.width, right = 0;
  for (int b = 0; b < count; ++b) {
    if (layout.tierOf[static_cast<std::size_t>(b)] != tier) continue;
    const Box& box = layout.bells[static_cast<std::size_t>(b)];
    left = std::min<double>(left, box.x);
    right = std::max<double>(right, box.x + box.w);
  }
  const double gap = 0.2 * m;
  left -= gap;
  right += gap;
  const double gudgeon = layout.gudgeonY[static_cast<std::size_t>(tier)];
  const double sillTop = layout.beamY[static_cast<std::size_t>(tier)];
  const double sillBottom = sillTop + layout.beamHeight;
  const double topSill = gudgeon + 0.05 * m;
  const double depth = 0.2 * m;
  // The beams under the ground sill, their ends in the walls.
  for (const double x : {left - 0.2 * m, right - 0.25 * m}) {
    const QRectF end(x, sillBottom, 0.45 * m, 0.34 * m);
    p.setPen(QPen(QColor(30, 20, 10), 1.5));
    p.setBrush(QColor(40, 30, 22));
    p.drawRect(end.adjusted(-0.04 * m, -0.02 * m, 0.04 * m, 0.04 * m));
    p.setBrush(TimberShade(TimberKind::Oak, 0.8));
    p.drawRect(end);
    EndGrain(p, end, 1.0);
  }
  Beam(p, QRectF(left - 0.3 * m, sillBottom + 0.06 * m, right - left + 0.6 * m, 0.22 * m), false, TimberKind::Oak, 1.0);
  // Posts between the pits and at the ends, braces within each pit.
  for (int b = 0; b < count; ++b) {
    if (layout.tierOf[static_cast<std::size_t>(b)] != tier) continue;
    const Box& box = layout.bells[static_cast<std::size_t>(b)];
    const double mid = box.x + box.w / 2.0;
    const double w = 0.16 * m;
    Brace(p, QPointF(box.x + 0.05 * m, sillTop), QPointF(mid - 0.25 * m, topSill + depth), 0.13 * m, 1.0);
    Brace(p, QPointF(box.x + box.w - 0.05 * m, sillTop), QPointF(mid + 0.25 * m, topSill + depth), 0.13 * m, 1.0);
    for (const double x : {box.x - gap / 2 - w / 2, box.x + box.w + gap / 2 - w / 2}) {
      Beam(p, QRectF(x, topSill - 0.02 * m, w, sillBottom - topSill + 0.02 * m), true, TimberKind::Oak, 1.0);
    }
  }
  Beam(p, QRectF(left, topSill, right - left, depth), false, TimberKind::Oak, 1.0);
  // The bearings on the top sill, one at each bell's gudgeon.
  for (int b = 0; b < count; ++b) {
    if (layout.tierOf[static_cast<std::size_t>(b)] != tier) continue;
    const Box& box = layout.bells[static_cast<std::size_t>(b)];
    const double mid = box.x + box.w / 2.0;
    const QRectF bearing(mid - 0.11 * m, gudgeon - 0.05 * m, 0.22 * m, 0.1 * m);
    QLinearGradient iron(bearing.topLeft(), bearing.bottomLeft());
    iron.setColorAt(0, QColor(114, 110, 104));
    iron.setColorAt(1, QColor(38, 36, 32));
    p.setPen(QPen(QColor(20, 20, 24), 1.2));
    p.setBrush(iron);
    p.drawRoundedRect(bearing, 3, 3);
  }
  // The ground sill, which passes in front of the bells as well (their
  // masks leave it showing).
  Beam(p, QRectF(left, sillTop, right - left, layout.beamHeight), false, TimberKind::Oak, 1.0);
  p.setPen(QPen(QColor(255, 230, 180, 70), 1.5));
  p.drawLine(QPointF(left, sillTop + 1), QPointF(right, sillTop + 1));
}

// The floor, seen at its edge, with each rope going down through its boss.
void Floor(QPainter& p, const TowerDefinition& tower, const TowerLayout& layout) {
  const double m = layout.pixelsPerMetre;
  const QRectF floor(0, layout.floorY, layout.width, layout.height - layout.floorY);
  Beam(p, QRectF(0, layout.floorY, layout.width, 0.07 * m), false, TimberKind::Elm, 1.0);
  QLinearGradient below(floor.topLeft(), floor.bottomLeft());
  below.setColorAt(0, QColor(70, 52, 34));
  below.setColorAt(1, QColor(28, 20, 12));
  p.setPen(Qt::NoPen);
  p.setBrush(below);
  p.drawRect(floor.adjusted(0, 0.07 * m, 0, 0));
  const int count = static_cast<int>(tower.bells.size());
  for (int b = 0; b < count; ++b) {
    const Box& box = layout.bells[static_cast<std::size_t>(b)];
    const int source = layout.sourceBell[static_cast<std::size_t>(b)] - 1;
    const int tier = layout.tierOf[static_cast<std::size_t>(b)];
    const BellRig rig = RigOf(tower.bells[static_cast<std::size_t>(source)], box,
                              layout.beamY[static_cast<std::size_t>(tier)], m);
    const double x = box.x + box.w / 2.0 + rig.ropeX * m;
    const double width = std::max(3.0, 0.03 * m);
    p.setPen(QPen(QColor(120, 100, 64), width + 1.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x, box.y + box.h - 2), QPointF(x, layout.floorY + 0.05 * m));
    p.setPen(QPen(QColor(206, 184, 134), width - 0.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x, box.y + box.h - 2), QPointF(x, layout.floorY + 0.05 * m));
    // The rope's boss in the floor.
    QRadialGradient boss(QPointF(x - 0.02 * m, layout.floorY), 0.1 * m);
    boss.setColorAt(0, TimberShade(TimberKind::Ash, 1.1));
    boss.setColorAt(1, TimberShade(TimberKind::Ash, 0.5));
    p.setPen(QPen(TimberEdge, 1));
    p.setBrush(boss);
    p.drawRect(QRectF(x - 0.08 * m, layout.floorY - 0.03 * m, 0.16 * m, 0.05 * m));
  }
}

}  // namespace

QImage ChamberPicture(const TowerDefinition& tower, const TowerLayout& layout) {
  QImage image = NewPicture(layout.width, layout.height, QColor(120, 108, 88));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double m = layout.pixelsPerMetre;
  Walls(p, layout);
  // Windows along the wall behind the upper tier, the light from the left.
  const int windows = std::max(2, static_cast<int>(layout.width / (3.2 * m)));
  std::vector<QRectF> openings;
  for (int w = 0; w < windows; ++w) {
    const double x = layout.width * (w + 0.5) / windows - 0.35 * m;
    const double top = 0.3 * m;
    const double bottom = std::max(top + 1.2 * m, layout.gudgeonY.front() - 0.3 * m);
    openings.emplace_back(x, top, 0.7 * m, std::min(2.2 * m, bottom - top));
  }
  for (const QRectF& opening : openings) Window(p, opening, m);
  for (const QRectF& opening : openings) Shaft(p, opening, layout);
  // The lowest tier first: each tier above stands in front of the ropes and
  // frame beneath it.
  for (int t = static_cast<int>(layout.gudgeonY.size()) - 1; t >= 0; --t) Tier(p, tower, layout, t);
  Floor(p, tower, layout);
  return image;
}

QImage SillMask(const Box& box, int sillY, int sillHeight) {
  QImage image = NewPicture(box.w, box.h, Qt::white);
  QPainter p(&image);
  p.fillRect(QRect(0, sillY - box.y, box.w, sillHeight), KeyColour);
  return image;
}

}  // namespace clangor::towerkit
