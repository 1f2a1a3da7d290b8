#include "views/striking_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "engine/striking_text.h"

namespace clangor {

namespace {
constexpr int LeftMargin = 52, RightMargin = 12, TopMargin = 24, BottomMargin = 30;
constexpr int Dot = 3;
}  // namespace

const QColor StrikingChart::HandColour(200, 60, 40);
const QColor StrikingChart::BackColour(40, 90, 200);

StrikingChart::StrikingChart(QWidget* parent) : QWidget(parent) {
  setMinimumSize(480, 240);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
}

void StrikingChart::SetAnalysis(const StrikingAnalysis& analysis) {
  analysis_ = analysis;
  rows_ = 0;
  double worst = HeardErrorMs;
  for (const JudgedBlow& b : analysis_.blows) {
    rows_ = std::max(rows_, b.row);
    if (!b.missed) worst = std::max(worst, std::abs(b.errorMs));
  }
  // Steps of 20 ms up to 100, then of 50.
  const double step = worst <= 100 ? 20 : 50;
  scaleMs_ = std::ceil(worst * 1.1 / step) * step;
  update();
}

void StrikingChart::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QFontMetrics metrics(font());
  const QRectF plot(LeftMargin, TopMargin, width() - LeftMargin - RightMargin, height() - TopMargin - BottomMargin);
  const int rows = std::max(rows_, 1);
  const auto x = [&](double row) { return plot.left() + (rows == 1 ? 0.5 : (row - 1) / (rows - 1)) * plot.width(); };
  const auto y = [&](double ms) {
    return plot.center().y() - std::clamp(ms, -scaleMs_, scaleMs_) / scaleMs_ * plot.height() / 2;
  };

  // The band a listener does not hear as a fault.
  p.fillRect(QRectF(plot.left(), y(HeardErrorMs), plot.width(), y(-HeardErrorMs) - y(HeardErrorMs)),
             QColor(120, 200, 120, 70));
  p.setPen(QPen(QColor(160, 160, 160), 1));
  p.drawRect(plot);
  p.drawLine(QPointF(plot.left(), y(0)), QPointF(plot.right(), y(0)));

  // The scale: late above, early below.
  p.setPen(Qt::black);
  // The band's own labels only where they do not run into the line's.
  const bool bandLabelled = y(0) - y(HeardErrorMs) >= metrics.height();
  for (double ms : {scaleMs_, HeardErrorMs, 0.0, -HeardErrorMs, -scaleMs_}) {
    if (std::abs(ms) == HeardErrorMs && !bandLabelled) continue;
    const QString label = (ms > 0 ? "+" : "") + QString::number(ms, 'f', 0);
    p.drawText(QRectF(0, y(ms) - 8, LeftMargin - 6, 16), Qt::AlignRight | Qt::AlignVCenter, label);
  }
  p.drawText(QRectF(0, 0, LeftMargin + 80, TopMargin - 4), Qt::AlignLeft | Qt::AlignBottom, "ms late");
  p.drawText(QRectF(0, height() - 14, LeftMargin + 80, 14), Qt::AlignLeft | Qt::AlignBottom, "ms early");
  // Row 1, then every fifth (or tenth ...) row: about ten labels.
  const int tick = static_cast<int>(std::ceil(rows / 50.0)) * 5;
  for (int row = 1; row <= rows; row = (row / tick + 1) * tick) {
    p.drawLine(QPointF(x(row), plot.bottom()), QPointF(x(row), plot.bottom() + 4));
    p.drawText(QRectF(x(row) - 20, plot.bottom() + 4, 40, 14), Qt::AlignHCenter | Qt::AlignTop, QString::number(row));
  }
  p.drawText(QRectF(plot.left(), height() - 14, plot.width(), 14), Qt::AlignHCenter | Qt::AlignBottom, "row");

  // The key.
  int keyX = static_cast<int>(plot.right()) - 250;
  for (const auto& [colour, name] : {std::pair{HandColour, "handstroke"}, std::pair{BackColour, "backstroke"}}) {
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(keyX, TopMargin / 2.0), Dot, Dot);
    p.setPen(Qt::black);
    p.drawText(QPointF(keyX + 8, TopMargin / 2.0 + metrics.ascent() / 2.0 - 1), name);
    keyX += 16 + metrics.horizontalAdvance(name);
  }
  p.setPen(QPen(Qt::black, 1.5));
  p.drawLine(QPointF(keyX - 3, TopMargin / 2.0 - 3), QPointF(keyX + 3, TopMargin / 2.0 + 3));
  p.drawLine(QPointF(keyX - 3, TopMargin / 2.0 + 3), QPointF(keyX + 3, TopMargin / 2.0 - 3));
  p.drawText(QPointF(keyX + 8, TopMargin / 2.0 + metrics.ascent() / 2.0 - 1), "missed");

  // The blows: a place without a blow is a cross on the line of no error.
  for (const JudgedBlow& b : analysis_.blows) {
    const QColor colour = b.handstroke ? HandColour : BackColour;
    if (b.missed) {
      const QPointF at(x(b.row), y(0));
      p.setPen(QPen(Qt::black, 1.5));
      p.drawLine(at + QPointF(-3, -3), at + QPointF(3, 3));
      p.drawLine(at + QPointF(-3, 3), at + QPointF(3, -3));
      continue;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(x(b.row), y(b.errorMs)), Dot, Dot);
  }
}

}  // namespace clangor
