#include "tower/bell_faults.h"

#include "tower/bell.h"
#include "tower/tower.h"

namespace clangor {

std::vector<BellFault> FindBellFaults(Tower& tower) {
  std::vector<BellFault> faults;
  for (int i = 0; i < tower.bellCount(); ++i) {
    Bell bell(i, false);
    bell.load(tower);
    if (!bell.data().canSwing) faults.push_back({i, bell.data().fault});
  }
  return faults;
}

std::string DescribeBellFault(const std::string& towerName, const BellFault& fault) {
  return "Bell " + std::to_string(fault.bell + 1) + " of \"" + towerName + "\" cannot ring: " + fault.reason;
}

}  // namespace clangor
