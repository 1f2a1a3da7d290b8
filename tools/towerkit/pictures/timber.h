// Timber as the kit paints it: the woods of a bell frame and its fittings,
// shaded under the one light, with their grain.
#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPointF>
#include <QRectF>

namespace clangor::towerkit {

enum class TimberKind { Oak, Elm, Ash };

inline const QColor TimberEdge(46, 28, 12);

// The wood's colour at `light` (1 = its own colour; less is in shade).
QColor TimberShade(TimberKind kind, double light);

// Shading across a round-edged timber `halfWidth` either side of x = 0, lit
// from `light` (the direction towards the light).
QLinearGradient TimberAcross(double halfWidth, QPointF light, TimberKind kind);
// Shading from edge `from` to edge `to` of a flat timber.
QLinearGradient TimberAlong(QPointF from, QPointF to, QPointF light, TimberKind kind);

// Rings of end grain in `block`, seen end on.
void EndGrain(QPainter& p, const QRectF& block, double unit);
// Grain along a beam lying in `beam`, horizontal or upright, the same every
// time for the same beam.
void GrainAlong(QPainter& p, const QRectF& beam, bool upright, double unit);

}  // namespace clangor::towerkit
