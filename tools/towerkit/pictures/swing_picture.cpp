// One swing picture: the bell seen along its axle at one angle, with its
// headstock, stay and wheel turning with it, and the slider, gudgeon, ground
// pulley and rope fixed in the frame. One light, high on the left where the
// louvres are, shades every part whatever the angle.
#include "tools/towerkit/pictures/swing_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/towerkit/pictures/picture_kit.h"
#include "tools/towerkit/pictures/timber.h"

namespace clangor::towerkit {

namespace {

constexpr double Pi = 3.14159265358979323846;

// The light, as the direction towards it in the picture (y down) and how
// much of it comes from the viewer's side.
constexpr double LightX = -0.62, LightY = -0.78, LightZ = 0.55;

const QColor BronzeDeep(52, 32, 14);
const QColor Bronze(170, 118, 56);
const QColor BronzeShine(255, 226, 160);
const QColor Iron(46, 44, 40);
const QColor IronLit(124, 120, 112);
const QColor RopeColour(206, 184, 134);
const QColor RopeShade(120, 100, 64);

QColor Mix(const QColor& a, const QColor& b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                          static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                          static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// The light's direction in the bell's own frame when the bell is turned by
// `degrees` (clockwise on the picture).
QPointF LightInBell(double degrees) {
  const double a = degrees * Pi / 180;
  return {std::cos(a) * LightX + std::sin(a) * LightY, -std::sin(a) * LightX + std::cos(a) * LightY};
}

// Bronze on a surface turned round the bell's axis, across its width: dark
// at the edges, bright where the surface faces the light.
QLinearGradient Cylinder(double halfWidth, QPointF light, const QColor& deep, const QColor& body, const QColor& shine) {
  QLinearGradient g(-halfWidth, 0, halfWidth, 0);
  for (int i = 0; i <= 16; ++i) {
    const double u = i / 16.0;
    const double nx = 2 * u - 1;
    const double nz = std::sqrt(std::max(0.0, 1 - nx * nx));
    const double diffuse = std::max(0.0, nx * light.x() * 0.8 + nz * LightZ);
    // Where the light's reflection comes to the eye.
    const double half = std::max(0.0, nx * light.x() * 0.5 + nz * 0.86);
    const double gloss = std::pow(half, 28) * std::max(0.0, -light.y() * 0.4 + 0.6);
    QColor c = Mix(deep, body, 0.18 + 0.95 * diffuse);
    c = Mix(c, shine, gloss * 0.85);
    g.setColorAt(u, c);
  }
  return g;
}

// The bell's outline, mouth down, in metres from the gudgeons: flat crown,
// rounded shoulder, the waist drawn in and flaring to the thick sound bow,
// and the lip. Unit: the mouth diameter.
QPainterPath BellOutline(const BellShape& shape) {
  const double d = shape.mouthDiameter;
  const double top = shape.crownDrop;
  const auto at = [&](double x, double y) { return QPointF(x * d, top + y * d); };
  QPainterPath path;
  path.moveTo(at(-0.25, 0));
  path.lineTo(at(0.25, 0));
  path.cubicTo(at(0.30, 0.0), at(0.315, 0.045), at(0.315, 0.09));                 // shoulder
  path.cubicTo(at(0.315, 0.30), at(0.335, 0.50), at(0.40, 0.62));                 // waist
  path.cubicTo(at(0.45, 0.685), at(0.50, 0.70), at(0.507, 0.752));                // sound bow
  path.cubicTo(at(0.51, 0.772), at(0.495, 0.78), at(0.462, 0.78));                // lip
  path.lineTo(at(-0.462, 0.78));
  path.cubicTo(at(-0.495, 0.78), at(-0.51, 0.772), at(-0.507, 0.752));
  path.cubicTo(at(-0.50, 0.70), at(-0.45, 0.685), at(-0.40, 0.62));
  path.cubicTo(at(-0.335, 0.50), at(-0.315, 0.30), at(-0.315, 0.09));
  path.cubicTo(at(-0.315, 0.045), at(-0.30, 0.0), at(-0.25, 0));
  path.closeSubpath();
  return path;
}

// A line round the bell (a moulding wire), seen a little from above: half an
// ellipse across the bell at depth y (unit: the mouth diameter).
void Wire(QPainter& p, const BellShape& shape, double y, double halfWidth, const QColor& colour, double width) {
  const double d = shape.mouthDiameter;
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
  p.setBrush(Qt::NoBrush);
  const QRectF r(-halfWidth * d, shape.crownDrop + (y - 0.012) * d, 2 * halfWidth * d, 0.024 * d);
  p.drawArc(r, 180 * 16, 180 * 16);
}

void DrawBell(QPainter& p, const BellShape& shape, double degrees, double unit) {
  const double d = shape.mouthDiameter;
  const QPointF light = LightInBell(degrees);
  const QPainterPath outline = BellOutline(shape);
  p.setPen(QPen(BronzeDeep, 0.9 * unit));
  p.setBrush(Cylinder(0.51 * d, light, BronzeDeep, Bronze, BronzeShine));
  p.drawPath(outline);
  // Light and shade along the bell: the shoulder faces the crown, the sound
  // bow faces out and towards the mouth.
  QLinearGradient along(0, shape.crownDrop, 0, shape.reach);
  const double fromCrown = std::max(0.0, -light.y()), fromMouth = std::max(0.0, light.y());
  along.setColorAt(0.0, QColor(255, 236, 190, static_cast<int>(110 * fromCrown)));
  along.setColorAt(0.12, QColor(255, 236, 190, static_cast<int>(40 * fromCrown)));
  along.setColorAt(0.35, QColor(0, 0, 0, 40));
  along.setColorAt(0.62, QColor(0, 0, 0, 55));
  along.setColorAt(0.82, QColor(255, 230, 170, static_cast<int>(90 * fromMouth)));
  along.setColorAt(0.93, QColor(0, 0, 0, 30));
  along.setColorAt(1.0, QColor(0, 0, 0, 90));
  p.setPen(Qt::NoPen);
  p.setBrush(along);
  p.drawPath(outline);
  // Mouldings: wires under the shoulder and above the sound bow.
  const QColor wireDark(70, 44, 18, 200), wireLit(240, 200, 130, 150);
  for (const double y : {0.11, 0.135}) {
    Wire(p, shape, y, 0.316, wireDark, 1.2 * unit);
    Wire(p, shape, y + 0.006, 0.316, wireLit, 0.7 * unit);
  }
  for (const double y : {0.645, 0.665}) {
    Wire(p, shape, y, 0.425 + (y - 0.645) * 1.5, wireDark, 1.3 * unit);
    Wire(p, shape, y + 0.006, 0.425 + (y - 0.645) * 1.5, wireLit, 0.7 * unit);
  }
  // The mouth, seen from a little above when the bell is up: the dark inside
  // beyond the lip.
  const double up = -std::cos(degrees * Pi / 180);
  if (up > 0.05) {
    const double depth = 0.16 * d * up;
    const QRectF mouth(-0.462 * d, shape.reach - depth / 2, 0.924 * d, depth);
    QRadialGradient inside(QPointF(0, shape.reach), 0.47 * d);
    inside.setColorAt(0, QColor(20, 12, 6));
    inside.setColorAt(1, QColor(70, 44, 20));
    p.setPen(QPen(Mix(Bronze, BronzeShine, 0.35), 1.4 * unit));
    p.setBrush(inside);
    p.drawEllipse(mouth);
  }
}

// The headstock, seen end on above the crown, with the crown staples and
// the stay bolted to it.
void DrawHeadstock(QPainter& p, const BellRig& rig, double degrees, double unit) {
  const double d = rig.shape.mouthDiameter;
  const double top = -0.14 * d;
  const double bottom = rig.shape.crownDrop + 0.01 * d;
  const QPointF light = LightInBell(degrees);
  // The stay: an ash bar from the headstock, thinning towards its end.
  const double w = 0.035 + 0.02 * d;
  QPainterPath stay;
  stay.moveTo(-w / 2, top + 0.01);
  stay.lineTo(-w * 0.38, -rig.stay);
  stay.lineTo(w * 0.38, -rig.stay);
  stay.lineTo(w / 2, top + 0.01);
  stay.closeSubpath();
  p.setPen(QPen(TimberEdge, 0.8 * unit));
  p.setBrush(TimberAcross(w / 2, light, TimberKind::Ash));
  p.drawPath(stay);
  // The headstock's end: elm, its end grain in rings.
  const QRectF block(-0.21 * d, top, 0.42 * d, bottom - top);
  p.setPen(QPen(TimberEdge, unit));
  p.setBrush(TimberAcross(0.21 * d, light, TimberKind::Elm));
  p.drawRect(block);
  EndGrain(p, block, unit);
  // The crown staples' bolts through it, and their nuts on top.
  for (const double x : {-0.14 * d, 0.14 * d}) {
    p.setPen(Qt::NoPen);
    p.setBrush(Iron);
    p.drawRect(QRectF(x - 0.012 * d, top - 0.02 * d, 0.024 * d, bottom - top + 0.05 * d));
    p.setBrush(IronLit);
    p.drawRect(QRectF(x - 0.03 * d, top - 0.035 * d, 0.06 * d, 0.02 * d));
  }
}

// The wheel: the sole with the shrouding that makes the rope's groove, the
// spokes in two pairs either side of the headstock, and the garter hole the
// rope comes through.
void DrawWheel(QPainter& p, const BellRig& rig, double degrees, double garter, double unit) {
  const double r = rig.wheel;
  const QPointF light = LightInBell(degrees);
  const double spoke = 0.045 + 0.02 * r;
  const double offset = 0.24 * rig.shape.mouthDiameter;
  p.setPen(QPen(TimberEdge, 0.8 * unit));
  for (const int turn : {0, 90}) {
    p.save();
    p.rotate(turn);
    const QPointF l = LightInBell(degrees + turn);
    for (const double x : {-offset, offset}) {
      const double len = std::sqrt(std::max(0.0, r * r - x * x));
      p.setBrush(TimberAlong(QPointF(x - spoke / 2, 0), QPointF(x + spoke / 2, 0), l, TimberKind::Oak));
      p.drawRect(QRectF(x - spoke / 2, -len, spoke, 2 * len));
    }
    p.restore();
  }
  // The sole and the shrouding: one ring, lit on the side towards the light.
  const double inner = r - 0.06 - 0.03 * r, outer = r + 0.035;
  QPainterPath ring;
  ring.addEllipse(QPointF(0, 0), outer, outer);
  ring.addEllipse(QPointF(0, 0), inner, inner);
  QLinearGradient shade(-outer * light.x(), -outer * light.y(), outer * light.x(), outer * light.y());
  shade.setColorAt(0, TimberShade(TimberKind::Oak, 0.35));
  shade.setColorAt(0.5, TimberShade(TimberKind::Oak, 0.7));
  shade.setColorAt(1, TimberShade(TimberKind::Oak, 1.15));
  p.setPen(QPen(TimberEdge, unit));
  p.setBrush(shade);
  p.drawPath(ring);
  // The groove between sole and shrouding, and the joints of the shrouding.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(40, 24, 10, 170), 1.2 * unit));
  p.drawEllipse(QPointF(0, 0), r, r);
  p.setPen(QPen(QColor(40, 24, 10, 140), 0.8 * unit));
  for (int j = 0; j < 8; ++j) {
    const double a = (j * 45 + 22.5) * Pi / 180;
    p.drawLine(QPointF(inner * std::cos(a), inner * std::sin(a)), QPointF(outer * std::cos(a), outer * std::sin(a)));
  }
  // The garter hole.
  const double g = garter * Pi / 180;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(20, 12, 6));
  p.drawEllipse(QPointF((r - 0.035) * std::cos(g), (r - 0.035) * std::sin(g)), 0.02, 0.02);
}

// Points round a circle from `from` degrees through `sweep` degrees.
void ArcPoints(std::vector<QPointF>& points, QPointF centre, double radius, double from, double sweep) {
  const int steps = std::max(2, static_cast<int>(std::abs(sweep) / 3));
  for (int i = 0; i <= steps; ++i) {
    const double a = (from + sweep * i / steps) * Pi / 180;
    points.emplace_back(centre.x() + radius * std::cos(a), centre.y() + radius * std::sin(a));
  }
}

void DrawRope(QPainter& p, const std::vector<QPointF>& points, double unit) {
  const double width = std::max(0.03, 3 * unit);  // metres
  QPainterPath path;
  path.moveTo(points.front());
  for (std::size_t i = 1; i < points.size(); ++i) path.lineTo(points[i]);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(RopeShade, width + 1.5 * unit, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  p.drawPath(path);
  p.setPen(QPen(RopeColour, width - 0.5 * unit, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  p.drawPath(path);
  // The lay of the strands.
  QPen lay(QColor(150, 126, 84), width * 0.3, Qt::CustomDashLine, Qt::FlatCap);
  lay.setDashPattern({1.2, 1.8});
  p.setPen(lay);
  p.drawPath(path);
}

}  // namespace

QImage SwingPicture(const BellRig& rig, int w, int h, double pixelsPerMetre, int angle) {
  QImage image = NewPicture(w, h);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(w / 2.0, h / 2.0);
  p.scale(pixelsPerMetre, pixelsPerMetre);
  const double unit = 1.0 / pixelsPerMetre;  // one pixel, in metres
  const double degrees = angle / 100.0;
  const double d = rig.shape.mouthDiameter;

  // The slider under the bell, on its runner: its block sits where the stay
  // last pushed it, on the side the bell is set, unless the stay is pushing
  // it over now.
  const double sliderY = rig.stay + 0.03;
  const double set = -18500 / 100.0;
  const double push = std::abs(degrees) > 180 ? degrees : set;
  const double blockX = rig.stay * std::sin(push * Pi / 180);
  const double run = 0.32 * rig.stay;
  p.setPen(QPen(TimberEdge, unit));
  p.setBrush(TimberAlong(QPointF(0, sliderY + 0.04), QPointF(0, sliderY + 0.09), QPointF(LightX, LightY), TimberKind::Oak));
  p.drawRect(QRectF(-run - 0.06, sliderY + 0.04, 2 * run + 0.12, 0.05));
  p.setBrush(TimberAlong(QPointF(0, sliderY), QPointF(0, sliderY + 0.04), QPointF(LightX, LightY), TimberKind::Ash));
  const double slide = std::clamp(blockX, -run * 0.4, run * 0.4);
  p.drawRect(QRectF(slide - run * 0.6, sliderY, run * 1.2, 0.04));
  p.drawRect(QRectF(blockX - 0.035, sliderY - 0.045, 0.07, 0.05));

  p.save();
  p.rotate(degrees);
  DrawHeadstock(p, rig, degrees, unit);
  DrawBell(p, rig.shape, degrees, unit);
  p.restore();

  // The rope: from the garter hole in the groove round the wheel to where
  // it leaves for the ground pulley, round the pulley and down.
  const QPointF pulley(rig.pulleyX, rig.pulleyY);
  const double rho = std::hypot(pulley.x(), pulley.y());
  const double groove = rig.wheel + 0.012;
  double leave = 180;  // degrees, where the rope leaves the wheel
  if (rho > groove - rig.pulleyRadius + 1e-6) {
    const double base = std::atan2(pulley.y(), pulley.x()) * 180 / Pi;
    const double spread = std::acos(std::clamp((groove - rig.pulleyRadius) / rho, -1.0, 1.0)) * 180 / Pi;
    // Of the two tangents on the rope's side, the one further out.
    const double a1 = base + spread, a2 = base - spread;
    leave = std::cos(a1 * Pi / 180) < std::cos(a2 * Pi / 180) ? a1 : a2;
  }
  const QPointF n(std::cos(leave * Pi / 180), std::sin(leave * Pi / 180));
  const QPointF t1 = n * groove;
  const QPointF t2 = pulley + n * rig.pulleyRadius;
  // The rope comes round the wheel towards the leaving point: the wound part
  // lies on the side away from the pulley.
  const QPointF towards = t2 - t1;
  const double sense = (towards.x() * -n.y() + towards.y() * n.x()) > 0 ? -1.0 : 1.0;
  const double wound = 195 + sense * degrees;  // 10 to 380 degrees over the swing
  std::vector<QPointF> rope;
  ArcPoints(rope, QPointF(0, 0), groove, leave + sense * wound, -sense * wound);
  rope.push_back(t2);
  const double round = std::fmod(180 - leave + 360, 360);
  ArcPoints(rope, pulley, rig.pulleyRadius, leave, std::min(round, 360 - round) == round ? round : round - 360);
  rope.emplace_back(rig.ropeX, rig.halfHeight + 0.01);

  // Wheel in front of the bell, the rope in its groove, then the gudgeon
  // and the pulley, fixed in the frame.
  p.save();
  p.rotate(degrees);
  DrawWheel(p, rig, degrees, leave + sense * wound - degrees, unit);
  p.restore();
  DrawRope(p, rope, unit);
  p.setPen(QPen(Iron, unit));
  QRadialGradient steel(QPointF(-0.01, -0.012) , 0.05 * d);
  steel.setColorAt(0, IronLit);
  steel.setColorAt(1, Iron);
  p.setBrush(steel);
  p.drawEllipse(QPointF(0, 0), 0.035 * d, 0.035 * d);
  QRadialGradient sheave(pulley + QPointF(-0.3, -0.4) * rig.pulleyRadius, rig.pulleyRadius * 1.3);
  sheave.setColorAt(0, TimberShade(TimberKind::Elm, 1.1));
  sheave.setColorAt(1, TimberShade(TimberKind::Elm, 0.4));
  p.setBrush(sheave);
  p.setPen(QPen(TimberEdge, unit));
  p.drawEllipse(pulley, rig.pulleyRadius * 0.82, rig.pulleyRadius * 0.82);
  p.setBrush(Iron);
  p.drawEllipse(pulley, rig.pulleyRadius * 0.18, rig.pulleyRadius * 0.18);
  // The pulley's frame on the sill.
  p.setBrush(TimberAlong(QPointF(rig.pulleyX + rig.pulleyRadius, 0), QPointF(rig.pulleyX + rig.pulleyRadius + 0.05, 0),
                         QPointF(LightX, LightY), TimberKind::Oak));
  p.drawRect(QRectF(rig.pulleyX + rig.pulleyRadius * 0.9, rig.pulleyY - rig.pulleyRadius * 1.1, 0.045,
                    rig.sillTop - rig.pulleyY + rig.pulleyRadius * 1.1));
  return image;
}

}  // namespace clangor::towerkit
