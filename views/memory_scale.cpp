#include "views/memory_scale.h"

#include <algorithm>
#include <cmath>

namespace clangor {

double MemoryScale(std::uint64_t physicalBytes, int ramMegabytes) {
  // The whole count: cut to 32 bits, the memory of a machine with more than
  // 4 GiB would wrap to a small number and shrink every picture for nothing.
  const auto total = static_cast<std::int64_t>(std::min<std::uint64_t>(physicalBytes, 1ULL << 62));
  const std::int64_t available = total - PictureMemoryReserve;
  const std::int64_t need = static_cast<std::int64_t>(ramMegabytes) << 20;
  if (need < available || available < 0) return 1.0;
  return std::sqrt(static_cast<double>(available) / static_cast<double>(need));
}

}  // namespace clangor
