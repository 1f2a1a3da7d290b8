// The bar between the tower view and the rows pane. Dragging it shows where
// it will go, kept within the limits its parent set; releasing it tells the
// parent the new position; a key while dragging cancels.
#pragma once

#include <QWidget>

class QRubberBand;

namespace clangor {

class SplitterBar final : public QWidget {
  Q_OBJECT
 public:
  static constexpr int Thickness = 5;

  explicit SplitterBar(QWidget* parent);
  // The lowest and highest left edge the bar may be dragged to (parent pixels).
  void SetLimits(int lowest, int highest);
  bool dragging() const { return dragging_; }
  // Where a drag to parent x `x` would leave the bar.
  int Limited(int x) const;

 signals:
  void released(int position);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int ParentX(QMouseEvent* event) const;

  int lowest_ = 0, highest_ = 0;
  bool dragging_ = false;
  QRubberBand* band_ = nullptr;
};

}  // namespace clangor
