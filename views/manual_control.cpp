#include "views/manual_control.h"

#include <algorithm>
#include <cstdlib>

#include "engine/tower_window.h"
#include "tower/bell.h"

namespace clangor {

ManualGauge ManualControl::gauge() const {
  const std::uint64_t s = size_;
  return ManualGauge::ForSize(High(s), Low(s));
}

int ManualControl::AmplitudeOf(const Bell& record) {
  return std::max(std::abs(record.setAngle()), std::abs(record.otherStayAngle()));
}

bool ManualControl::Click() {
  TowerWindow* engine = engine_;
  if (engine == nullptr || bell_ < 0) return false;
  engine->PostManualPull(!pulling_);
  return true;
}

void ManualControl::Refresh() {
  TowerWindow* engine = engine_;
  setOwnBell(engine ? engine->ownBell() : -1);
}

void ManualControl::setOwnBell(int bell) {
  bell_ = bell;
  amplitude_ = 0;  // taken from the bell's record at its next step
  markerY_ = 0;
  showZones_ = false;
  if (hooks_.bellChanged) hooks_.bellChanged(bell);
}

void ManualControl::update(const Bell& record) {
  if (bell_ < 0) return;
  const int amplitude = AmplitudeOf(record);
  const int angle = record.state().angle;
  const int marker = gauge().MarkerY(angle, amplitude);
  amplitude_ = amplitude;
  const bool turned = angle_.exchange(angle) != angle;
  const bool moved = markerY_.exchange(marker) != marker;
  if ((turned || moved) && hooks_.repaint) hooks_.repaint();
}

double ManualControl::pullStrength(const Bell& record) {
  const int angle = record.state().angle;
  const ManualGauge g = gauge();
  const std::uint64_t p = pointer_;
  return g.PullStrength(angle, Bell::PullLimitAngle, g.MarkerY(angle, AmplitudeOf(record)), High(p), Low(p));
}

}  // namespace clangor
