// Solving a swing's time on the bell's stepped swing. The bell climbs in
// 0.2-degree steps and turns at the last step it can make, so the angle it
// turns at falls by whole steps as the check r grows; within one turning
// angle (a band of r) the time of the swing changes smoothly, and from one
// band to the next it jumps. Neighbouring bands overlap in the times they
// give, so every time within reach lies inside some band, where it has a
// true root.
//
// The sweep finds the bands from the strongest check (the bell turns lowest,
// the shortest swing) towards no check at all (it turns at the balance or
// goes over) and answers times in increasing order, each in the first band
// that holds it.
#pragma once

#include <functional>
#include <vector>

namespace clangor::towerkit {

class BandSweep {
 public:
  // `turn(r)`: where the bell turns (hundredths of a degree), larger than any
  // angle when it goes over the balance. `time(r)`: the swing's time, or a
  // huge value when it went over. r runs from -limit to limit.
  BandSweep(std::function<int(double)> turn, std::function<double(double)> time, double limit);

  struct Answer {
    double r = 0;
    double time = 0;  // what r really gives
    bool within = false;
  };
  // The r for `wanted` seconds; call with times in increasing order.
  Answer Solve(double wanted);
  int bandsFound() const { return static_cast<int>(bands_.size()); }

 private:
  struct Band {
    double low = 0, high = 0;        // r inside the band, just within its edges
    double timeLow = 0, timeHigh = 0;
  };
  // The next band above the last one (a higher turn, a weaker check); false
  // at the balance.
  bool NextBand();
  double Root(const Band& band, double wanted) const;

  std::function<int(double)> turn_;
  std::function<double(double)> time_;
  double limit_;
  std::vector<Band> bands_;
  std::size_t current_ = 0;
  bool top_ = false;  // the last band reaches the balance
};

}  // namespace clangor::towerkit
