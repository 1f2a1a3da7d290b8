// The moving numbers window: a small floating strip of the bell numbers of
// the row just rung, one per place, each sliding to its place in the next row
// as the change is made; the crossing pairs or the place bells highlighted in
// the style the ringer chose (NumbersSwapOption). A click toggles a thin edge
// without a caption; sizing keeps one digit cell per bell of the tower.
//
// Threads: the engine feeds content() on its worker thread; the worker never
// touches this widget: it asks for a repaint by a queued call, and the strip
// is drawn on the user-interface thread from a copy of the content's state.
#pragma once

#include <QImage>
#include <QWidget>

#include <atomic>
#include <vector>

#include "views/numbers_content.h"
#include "views/numbers_sizing.h"

namespace clangor {

class SettingsStore;
class TickSource;

class NumbersWindow final : public QWidget {
  Q_OBJECT
 public:
  static constexpr QRgb Background = 0xEEEEFF;
  static constexpr QRgb FrameColour = 0x000040;

  // A hidden tool window over `mainWindow` (which takes the keys and the
  // focus back) at the saved place and size.
  NumbersWindow(SettingsStore& settings, TickSource& ticks, int towerBells, QWidget* mainWindow);

  // The view the engine feeds.
  NumbersContent& content() { return content_; }
  // The 19 digit pictures (the bell characters, then the cross).
  void SetDigits(std::vector<QImage> digits);
  // Shows or hides the strip, starting again from the row being rung.
  void Show(bool shown);
  void ToggleThinEdge();
  bool thinEdge() const { return thinEdge_; }
  const NumbersSizing& sizing() const { return sizing_; }

  // Draws the strip for `frame` into a client area of `size`: `places` bells
  // take part out of `towerBells`, highlighted in `style` (0 to 5).
  static void DrawStrip(QPainter& painter, QSize size, const NumbersFrame& frame, const std::vector<QImage>& digits,
                        int style, int towerBells, int places);
  // The digit pictures smoothed to one cell of the strip, so that each
  // drawing only copies them.
  static std::vector<QImage> ScaledDigits(const std::vector<QImage>& digits, QSize cell);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ApplyStyle();
  void GiveFocusBack();

  SettingsStore& settings_;
  QWidget* mainWindow_;
  NumbersSizing sizing_;
  std::vector<QImage> digits_;
  std::vector<QImage> scaled_;  // digits_ at scaledCell_
  QSize scaledCell_;
  std::atomic<bool> repaintPosted_{false};
  bool thinEdge_ = false;
  bool restyling_ = false;
  bool resizing_ = false;
  NumbersContent content_;
};

}  // namespace clangor
