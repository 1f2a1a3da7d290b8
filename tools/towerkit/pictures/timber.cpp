#include "tools/towerkit/pictures/timber.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <QPainterPath>

#include "tools/towerkit/pictures/picture_kit.h"

namespace clangor::towerkit {

namespace {

QColor Base(TimberKind kind) {
  switch (kind) {
    case TimberKind::Elm: return QColor(128, 86, 50);
    case TimberKind::Ash: return QColor(178, 146, 100);
    case TimberKind::Oak: break;
  }
  return QColor(132, 96, 58);
}

}  // namespace

QColor TimberShade(TimberKind kind, double light) {
  const QColor c = Base(kind);
  const auto scale = [&](int v) {
    // Above its own colour the wood bleaches towards a warm highlight.
    const double out = light <= 1 ? v * light : v + (235 - v) * (light - 1) * 1.4;
    return std::clamp(static_cast<int>(std::lround(out)), 0, 255);
  };
  return QColor(scale(c.red()), scale(c.green()), scale(c.blue()));
}

QLinearGradient TimberAcross(double halfWidth, QPointF light, TimberKind kind) {
  QLinearGradient g(-halfWidth, 0, halfWidth, 0);
  const double lx = light.x();
  for (int i = 0; i <= 8; ++i) {
    const double u = i / 8.0;
    const double nx = 2 * u - 1;
    const double facing = nx * lx * 0.7 + std::sqrt(std::max(0.0, 1 - nx * nx)) * 0.55;
    g.setColorAt(u, TimberShade(kind, 0.45 + 0.7 * std::max(0.0, facing)));
  }
  return g;
}

QLinearGradient TimberAlong(QPointF from, QPointF to, QPointF light, TimberKind kind) {
  QLinearGradient g(from, to);
  const QPointF across = to - from;
  const double length = std::hypot(across.x(), across.y());
  // The face turned towards the light is the brighter edge.
  const double towards = length > 0 ? (across.x() * light.x() + across.y() * light.y()) / length : 0;
  g.setColorAt(0, TimberShade(kind, 0.8 - 0.3 * towards));
  g.setColorAt(0.5, TimberShade(kind, 0.85));
  g.setColorAt(1, TimberShade(kind, 0.8 + 0.3 * towards));
  return g;
}

void EndGrain(QPainter& p, const QRectF& block, double unit) {
  p.save();
  p.setClipRect(block);
  p.setBrush(Qt::NoBrush);
  const QPointF heart = block.center() + QPointF(block.width() * 0.18, block.height() * 0.22);
  const double reach = std::hypot(block.width(), block.height());
  for (int ring = 1; ring < 9; ++ring) {
    const double r = reach * ring / 9.0;
    p.setPen(QPen(QColor(60, 36, 16, 60 + 8 * (ring % 3)), 0.9 * unit));
    p.drawEllipse(heart, r, r * 0.92);
  }
  // A check (a drying crack) from the heart.
  p.setPen(QPen(QColor(40, 22, 8, 150), 1.2 * unit));
  p.drawLine(heart, heart + QPointF(-block.width() * 0.3, -block.height() * 0.35));
  p.restore();
}

void GrainAlong(QPainter& p, const QRectF& beam, bool upright, double unit) {
  p.save();
  p.setClipRect(beam);
  const double across = upright ? beam.width() : beam.height();
  const double along = upright ? beam.height() : beam.width();
  const auto seed = static_cast<std::uint32_t>(beam.x() * 7 + beam.y() * 13 + beam.width() * 17 + beam.height() * 19);
  const int lines = std::max(3, static_cast<int>(across / (5 * unit)));
  for (int i = 0; i < lines; ++i) {
    const double at = across * (i + 0.5) / lines + (Scatter(seed + i) - 0.5) * across / lines;
    const double wave = (Scatter(seed + 100 + i) - 0.5) * across * 0.25;
    const int alpha = 30 + static_cast<int>(Scatter(seed + 200 + i) * 50);
    p.setPen(QPen(QColor(50, 30, 12, alpha), (0.6 + Scatter(seed + 300 + i)) * unit));
    QPainterPath line;
    const QPointF start = upright ? QPointF(beam.left() + at, beam.top()) : QPointF(beam.left(), beam.top() + at);
    line.moveTo(start);
    const int pieces = 4;
    for (int k = 1; k <= pieces; ++k) {
      const double s = along * k / pieces;
      const double w = wave * std::sin(k * 1.7 + i);
      line.lineTo(upright ? QPointF(beam.left() + at + w, beam.top() + s) : QPointF(beam.left() + s, beam.top() + at + w));
    }
    p.drawPath(line);
  }
  p.restore();
}

}  // namespace clangor::towerkit
