#include "tower/control_table.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace clangor {

namespace {

std::int32_t LeInt32(const unsigned char* p) {
  const std::uint32_t u = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                          std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
  return static_cast<std::int32_t>(u);
}

double LeDouble(const unsigned char* p) {
  std::uint64_t u = 0;
  for (int i = 7; i >= 0; --i) u = u << 8 | p[i];
  double value;
  std::memcpy(&value, &u, sizeof value);
  return std::isfinite(value) ? value : 0.0;
}

}  // namespace

const double* ControlTable::Row(int bell, int ringing, int speed) const {
  const int n = bellCount;
  if (bell < 0 || bell >= n || ringing < 2 || ringing > n || speed < 150 || speed > 240) {
    return nullptr;
  }
  const std::size_t index = static_cast<std::size_t>(n - 1) * bell * ControlBlock +
                            (static_cast<std::size_t>(ringing - 2) * ControlSpeeds + (speed - 150)) *
                                ControlRowLength;
  if (index + ControlRowLength > values.size()) return nullptr;
  return values.data() + index;
}

ControlTable ReadControlTable(const std::string& path) {
  ControlTable table;
  std::ifstream in(path, std::ios::binary);
  unsigned char header[8];
  if (!in || !in.read(reinterpret_cast<char*>(header), sizeof header)) return table;
  const std::int32_t count = LeInt32(header);
  const std::int32_t version = LeInt32(header + 4);
  if (count < 1 || count > MaxTowerBells || version != 1) return table;

  table.bellCount = count;
  table.controlVersion = version;
  table.values.assign(static_cast<std::size_t>(count) * count * ControlBlock, 0.0);
  // Read in pieces; a short file leaves the rest 0.
  constexpr std::size_t Piece = 4096;
  unsigned char bytes[Piece * 8];
  std::size_t filled = 0;
  while (filled < table.values.size()) {
    const std::size_t want = std::min(Piece, table.values.size() - filled);
    in.read(reinterpret_cast<char*>(bytes), static_cast<std::streamsize>(want * 8));
    const std::size_t got = static_cast<std::size_t>(in.gcount()) / 8;
    for (std::size_t i = 0; i < got; ++i) table.values[filled + i] = LeDouble(bytes + 8 * i);
    filled += got;
    if (got < want) break;
  }
  return table;
}

}  // namespace clangor
