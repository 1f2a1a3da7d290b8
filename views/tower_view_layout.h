// Where the tower view puts everything for a client area of a given size:
// the part of the base picture that shows, the margins when the window is
// wider or taller than the base picture, and every bell's rectangle. Plain
// arithmetic, no toolkit.
#pragma once

#include <string>
#include <vector>

namespace clangor {

struct ViewRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool empty() const { return w <= 0 || h <= 0; }
  int right() const { return x + w; }
  int bottom() const { return y + h; }
  bool intersects(const ViewRect& o) const {
    return !empty() && !o.empty() && x < o.right() && o.x < right() && y < o.bottom() && o.y < bottom();
  }
  bool operator==(const ViewRect&) const = default;
};

// The tower's base-picture geometry, in base-picture pixels.
struct TowerGeometry {
  std::string towerName;
  int baseW = 0, baseH = 0;
  int minW = 0, minH = 0;
  ViewRect surprise;
  std::vector<ViewRect> bells;
};

struct TowerViewLayout {
  double scale = 0;            // client pixels per base-picture pixel
  double visibleLeft = 0;      // base-picture position shown at the client's left edge
  double visibleTop = 0;
  // The part of the base picture drawn (base pixels, float) and where it goes.
  double sourceX = 0, sourceY = 0, sourceW = 0, sourceH = 0;
  ViewRect target;
  bool margins = false;        // the base picture does not cover the client area
  ViewRect surprise;
  std::vector<ViewRect> bells;
};

// The default eight-bell tower, whose fifth bell hangs under its fourth.
inline constexpr const char* DefaultEightBellTower = "Eight Bells";

// The minimum view fills the client area: its width when the window is
// taller than the minimum view's aspect, else its height.
TowerViewLayout LayOutTowerView(const TowerGeometry& tower, int clientW, int clientH);

// A client point in base-picture pixels (for finding the bell under it).
void BasePoint(const TowerViewLayout& layout, int x, int y, int& baseX, int& baseY);

// The order in which a whole frame paints the bells: each bell in bell
// order, its Above bell before it (behind) and its Beneath bell after it
// (in front). `above` and `beneath` hold bell indexes or -1.
std::vector<int> BellPaintOrder(const std::vector<int>& above, const std::vector<int>& beneath);

}  // namespace clangor
