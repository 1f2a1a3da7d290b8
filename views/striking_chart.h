// The picture of the own bell's striking: each blow's error against the row
// it belonged to, handstrokes and backstrokes in two colours, with the band
// of +-20 ms within which a listener hears no fault; missed places as marks
// on the axis.
#pragma once

#include <QWidget>

#include "engine/striking_analyser.h"

namespace clangor {

class StrikingChart final : public QWidget {
  Q_OBJECT
 public:
  static const QColor HandColour;
  static const QColor BackColour;

  explicit StrikingChart(QWidget* parent = nullptr);
  void SetAnalysis(const StrikingAnalysis& analysis);
  // The error shown at the top and bottom edges (ms): at least the heard
  // band and the worst blow, rounded up to a tidy step.
  double ScaleMs() const { return scaleMs_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  StrikingAnalysis analysis_;
  int rows_ = 0;
  double scaleMs_ = 40;
};

}  // namespace clangor
