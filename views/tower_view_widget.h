// The tower view's window: shows the frame the tower view composed, and
// tells it the client size. Painting copies the changed rectangle of the
// composition under the engine's draw lock.
#pragma once

#include <QWidget>

#include <functional>

namespace clangor {

class TowerView;

class TowerViewWidget final : public QWidget {
  Q_OBJECT
 public:
  // Runs its argument under the engine's draw lock (directly when there is
  // no engine).
  using DrawLocker = std::function<void(const std::function<void()>&)>;
  // Asks for a whole frame (the engine's Redraw).
  using Redrawer = std::function<void()>;

  explicit TowerViewWidget(QWidget* parent = nullptr);

  // The view of the loaded tower, or null between towers.
  void SetView(TowerView* view, DrawLocker locker, Redrawer redrawer);
  TowerView* view() const { return view_; }

 signals:
  void clicked(QPoint position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  TowerView* view_ = nullptr;
  DrawLocker locker_;
  Redrawer redrawer_;
};

}  // namespace clangor
