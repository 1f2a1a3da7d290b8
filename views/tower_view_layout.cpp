#include "views/tower_view_layout.h"

#include <algorithm>
#include <cmath>

namespace clangor {

namespace {

ViewRect Map(const ViewRect& r, const TowerViewLayout& l) {
  const auto at = [&](double v, double origin) { return static_cast<int>(std::lround((v - origin) * l.scale)); };
  const int x = at(r.x, l.visibleLeft), y = at(r.y, l.visibleTop);
  return ViewRect{x, y, at(r.x + r.w, l.visibleLeft) - x, at(r.y + r.h, l.visibleTop) - y};
}

}  // namespace

TowerViewLayout LayOutTowerView(const TowerGeometry& tower, int clientW, int clientH) {
  TowerViewLayout l;
  if (clientW <= 0 || clientH <= 0 || tower.minW <= 0 || tower.minH <= 0) return l;
  const double a = static_cast<double>(clientH) / clientW;
  const double minAspect = static_cast<double>(tower.minH) / tower.minW;
  double visibleW, visibleH;
  if (a >= minAspect) {
    l.scale = static_cast<double>(clientW) / tower.minW;
    visibleW = tower.minW;
    visibleH = tower.minW * a;
  } else {
    l.scale = static_cast<double>(clientH) / tower.minH;
    visibleH = tower.minH;
    visibleW = tower.minH / a;
  }
  l.visibleLeft = (tower.baseW - visibleW) / 2.0;
  l.visibleTop = (tower.baseH - visibleH) / 2.0;

  // The base picture's part that shows, trimmed to the client by whole pixels.
  const double left = std::max(l.visibleLeft, 0.0), top = std::max(l.visibleTop, 0.0);
  const double right = std::min(l.visibleLeft + visibleW, static_cast<double>(tower.baseW));
  const double bottom = std::min(l.visibleTop + visibleH, static_cast<double>(tower.baseH));
  l.target.x = static_cast<int>(std::lround((left - l.visibleLeft) * l.scale));
  l.target.y = static_cast<int>(std::lround((top - l.visibleTop) * l.scale));
  l.target.w = std::min(static_cast<int>(std::lround((right - left) * l.scale)), clientW - l.target.x);
  l.target.h = std::min(static_cast<int>(std::lround((bottom - top) * l.scale)), clientH - l.target.y);
  l.sourceX = left;
  l.sourceY = top;
  l.sourceW = l.target.w / l.scale;
  l.sourceH = l.target.h / l.scale;
  l.margins = l.target.x > 0 || l.target.y > 0 || l.target.right() < clientW || l.target.bottom() < clientH;

  l.surprise = Map(tower.surprise, l);
  l.bells.reserve(tower.bells.size());
  for (const ViewRect& bell : tower.bells) l.bells.push_back(Map(bell, l));
  // Scaled separately, the two bells could part or overlap by a pixel.
  if (tower.towerName == DefaultEightBellTower && l.bells.size() >= 5) l.bells[4].y = l.bells[3].bottom();
  return l;
}

void BasePoint(const TowerViewLayout& layout, int x, int y, int& baseX, int& baseY) {
  if (layout.scale <= 0) {
    baseX = baseY = -1;
    return;
  }
  baseX = static_cast<int>(std::floor(x / layout.scale + layout.visibleLeft));
  baseY = static_cast<int>(std::floor(y / layout.scale + layout.visibleTop));
}

std::vector<int> BellPaintOrder(const std::vector<int>& above, const std::vector<int>& beneath) {
  std::vector<int> order;
  const int count = static_cast<int>(std::min(above.size(), beneath.size()));
  const auto valid = [count](int b) { return b >= 0 && b < count; };
  for (int b = 0; b < count; ++b) {
    if (valid(above[static_cast<std::size_t>(b)])) order.push_back(above[static_cast<std::size_t>(b)]);
    order.push_back(b);
    if (valid(beneath[static_cast<std::size_t>(b)])) order.push_back(beneath[static_cast<std::size_t>(b)]);
  }
  return order;
}

}  // namespace clangor
