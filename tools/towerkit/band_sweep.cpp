#include "tools/towerkit/band_sweep.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace clangor::towerkit {

namespace {

constexpr double EdgeTolerance = 1e-13;  // in r
constexpr double TimeTolerance = 1e-10;  // seconds
constexpr double Inside = 4e-13;         // how far inside an edge the ends are taken

}  // namespace

BandSweep::BandSweep(std::function<int(double)> turn, std::function<double(double)> time, double limit)
    : turn_(std::move(turn)), time_(std::move(time)), limit_(limit) {
  // The lowest band ends at the strongest check.
  Band band;
  band.high = limit_;
  bands_.push_back(band);
  // Its lower edge is found as every other band's is.
  bands_.pop_back();
  NextBand();
}

bool BandSweep::NextBand() {
  if (top_) return false;
  const double high = bands_.empty() ? limit_ : bands_.back().low - 2 * Inside;
  if (high <= -limit_) {
    top_ = true;
    return false;
  }
  const int angle = turn_(high);
  // The band's lower edge: below it the bell turns higher (or goes over).
  double a = -limit_, b = high;
  if (turn_(a) <= angle) {
    a = -limit_;  // one band reaches the weakest check
  } else {
    while (b - a > EdgeTolerance) {
      const double mid = 0.5 * (a + b);
      if (mid <= a || mid >= b) break;
      (turn_(mid) > angle ? a : b) = mid;
    }
  }
  Band band;
  band.low = std::min(b + Inside, high);
  band.high = high;
  band.timeLow = time_(band.low);
  band.timeHigh = time_(band.high);
  bands_.push_back(band);
  if (a <= -limit_ || band.timeLow >= 1e8) top_ = true;
  return true;
}

double BandSweep::Root(const Band& band, double wanted) const {
  double a = band.low, b = band.high;
  double fa = time_(a) - wanted, fb = time_(b) - wanted;
  int lastSide = 0;
  for (int i = 0; i < 100; ++i) {
    double c;
    if (std::abs(fa) >= 1e8 || std::abs(fb) >= 1e8) {
      c = 0.5 * (a + b);
    } else {
      c = b - fb * (b - a) / (fb - fa);
      if (!(c > std::min(a, b) && c < std::max(a, b))) c = 0.5 * (a + b);
    }
    const double fc = time_(c) - wanted;
    if (std::abs(fc) < TimeTolerance || std::abs(b - a) < EdgeTolerance) return c;
    if ((fc > 0) == (fb > 0)) {
      b = c;
      fb = fc;
      if (lastSide == -1 && std::abs(fa) < 1e8) fa *= 0.5;
      lastSide = -1;
    } else {
      a = c;
      fa = fc;
      if (lastSide == 1 && std::abs(fb) < 1e8) fb *= 0.5;
      lastSide = 1;
    }
  }
  return 0.5 * (a + b);
}

BandSweep::Answer BandSweep::Solve(double wanted) {
  // The nearest band end, for a time that falls between two bands.
  double nearestR = 0, nearestTime = 0, nearestMiss = 1e300;
  const auto consider = [&](double r, double time) {
    if (time < 1e8 && std::abs(time - wanted) < nearestMiss) {
      nearestMiss = std::abs(time - wanted);
      nearestR = r;
      nearestTime = time;
    }
  };
  for (std::size_t i = current_;; ++i) {
    while (i >= bands_.size()) {
      if (!NextBand()) return {nearestR, nearestTime, false};
    }
    const Band& band = bands_[i];
    if ((band.timeLow - wanted) * (band.timeHigh - wanted) <= 0) {
      current_ = i;
      const double r = Root(band, wanted);
      const double t = time_(r);
      return {r, t, std::abs(t - wanted) < 1e-6};
    }
    consider(band.low, band.timeLow);
    consider(band.high, band.timeHigh);
    // Bands further on only take longer.
    if (std::min(band.timeLow, band.timeHigh) > wanted + 0.05) return {nearestR, nearestTime, false};
  }
}

}  // namespace clangor::towerkit
