// How much the tower view shrinks every bell picture so that a tower whose
// pictures need more memory than the machine has to spare still loads.
#pragma once

#include <cstdint>

namespace clangor {

// Memory kept back for everything else on the machine before the pictures.
inline constexpr std::int64_t PictureMemoryReserve = 30LL << 20;

// 1.0 when the tower's `ramMegabytes` fit in the memory left after the
// reserve (or that cannot be told), else the square root of the ratio: the
// pictures' area then shrinks with the memory there is.
double MemoryScale(std::uint64_t physicalBytes, int ramMegabytes);

}  // namespace clangor
