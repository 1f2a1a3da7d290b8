// The ropes window: the ropes of the bells side by side as a ringer sees
// them, floating in a tool window of its own or docked over the tower view.
// It holds the drawing surface (RopesContent), takes the mouse for it (the
// rope under the pointer, clicks, the context menu, the tips), keeps its
// place and size in the settings while it floats, and refuses a size too
// small for its ropes.
//
// Threads: user-interface thread only, except content(), whose own rules
// say which operations another thread may call.
#pragma once

#include <QBasicTimer>
#include <QRect>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

#include "views/ropes_content.h"

namespace clangor {

class SettingsStore;
class TickSource;

class RopesWindow final : public QWidget {
  Q_OBJECT
 public:
  struct Hooks {
    // A left click on a rope (the bell, or -1).
    std::function<void(int bell)> ropeClick;
    // The context menu at `global` over rope `bell` (-1 for none).
    std::function<void(int bell, QPoint global)> contextMenu;
    // The tip for a bell's rope ("" for none).
    std::function<std::string(int bell)> tip;
    // The window was docked or floated (the moving numbers go on top).
    std::function<void()> placed;
  };

  // Floating, it is a tool window of `mainWindow`; docked, a child of `dockHost`.
  RopesWindow(SettingsStore& settings, TickSource& ticks, int bellCount, QWidget* mainWindow, QWidget* dockHost,
              Hooks hooks);
  ~RopesWindow() override;

  RopesContent* content() const { return content_; }
  void Show(bool shown);
  bool shownFlag() const { return shown_; }
  // Docked over `area` (the dock host's coordinates), or floating at the
  // place and size the settings keep.
  void Dock(std::optional<QRect> area);
  bool floating() const { return floating_; }
  // The settings the drawing reads, read again (after a command changed one).
  void ReadSettings();

  // Forwarded to the content.
  void Relayout() { content_->Relayout(); }
  int SetOwnRope(int bell) { return content_->SetOwnRope(bell); }
  int OwnRope() const { return content_->OwnRope(); }
  void ResetScores() { content_->ResetScores(); }
  void ComputeAboveBelow(bool followedBelow) { content_->ComputeAboveBelow(followedBelow); }
  int RopeAt(int x, bool mapToBells) const { return content_->RopeAt(x, mapToBells); }
  // The statistics message's text: the scores, or the no-statistics text.
  std::string StatisticsText(int changesRung) const;

 protected:
  bool event(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  bool SizeAllowed(QSize size) const;
  bool Restored() const;

  SettingsStore& settings_;
  QWidget* mainWindow_;
  QWidget* dockHost_;
  Hooks hooks_;
  RopesContent* content_;
  bool shown_ = false;
  bool floating_ = true;
  QSize lastGoodSize_;
  bool snapping_ = false;
  QBasicTimer staleTimer_;  // draws what skipped animation steps brought
};

}  // namespace clangor
