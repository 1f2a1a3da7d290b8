// The manual control window: a tall, narrow tool window in which the ringer
// rings the own bell with the mouse. The gauge shows the bell's height in its
// swing; moving the pointer down below the marker, in the right zone as the
// bell leaves its balance, pulls the rope with a strength the bell's swing
// takes at its next step. A click takes hold of the rope (and starts the
// ringing when nothing is rung) or lets go of it.
//
// Threads: the engine feeds control() on its worker thread; the worker never
// touches this widget: it asks for a new title or a repaint by queued calls,
// and the gauge is drawn on the user-interface thread from control()'s atomics.
#pragma once

#include <QWidget>

#include <atomic>
#include <string>
#include <vector>

#include "views/manual_control.h"

namespace clangor {

class SettingsStore;

class ManualWindow final : public QWidget {
  Q_OBJECT
 public:
  static constexpr QRgb LeftBandColour = 0xFF0000;
  static constexpr QRgb RightBandColour = 0x0000FF;

  // A hidden tool window over `mainWindow` at the saved window rectangle;
  // `bellNames` are the tower's bells' names, bell 0 first.
  ManualWindow(SettingsStore& settings, std::vector<std::string> bellNames, QWidget* mainWindow);
  // Stores the window rectangle.
  ~ManualWindow() override;

  // The view the engine feeds.
  ManualControl& control() { return control_; }
  void Show(bool shown);
  // The title for a bell (-1: none).
  static QString TitleFor(int bell, const std::string& name);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void GiveFocusBack();

  SettingsStore& settings_;
  std::vector<std::string> bellNames_;
  QWidget* mainWindow_;
  std::atomic<bool> repaintPosted_{false};
  bool framed_ = false;  // the saved rectangle has been given its frame
  ManualControl control_;
};

}  // namespace clangor
