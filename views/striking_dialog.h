// The striking report of the own bell, in a dialog of its own: the figures
// for handstrokes and backstrokes, the worst blow, and the picture of every
// blow's error against its row. It is shown after each touch in which the
// user struck the own bell, and on demand while the bells ring.
#pragma once

#include <QDialog>

#include "engine/striking_analyser.h"

class QLabel;

namespace clangor {

class StrikingChart;

class StrikingDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit StrikingDialog(QWidget* parent = nullptr);
  // `what` names the touch ("Plain Bob Major on Eight Bells").
  void SetAnalysis(const StrikingAnalysis& analysis, const QString& what);

  QString figuresText() const;
  StrikingChart* chart() const { return chart_; }

 private:
  QLabel* heading_;
  QLabel* figures_;
  StrikingChart* chart_;
};

}  // namespace clangor
