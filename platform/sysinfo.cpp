#include "platform/sysinfo.h"

#include <fstream>
#include <sstream>

namespace clangor {

std::uint64_t MemTotalFromMeminfo(std::istream& meminfo) {
  std::string line;
  while (std::getline(meminfo, line)) {
    if (!line.starts_with("MemTotal:")) continue;
    std::istringstream fields(line.substr(9));
    std::uint64_t amount = 0;
    std::string unit;
    if (!(fields >> amount)) return 0;
    fields >> unit;
    // The kernel gives kibibytes; a bare number would be bytes.
    if (unit == "kB") return amount * 1024;
    if (unit.empty()) return amount;
    return 0;
  }
  return 0;
}

std::uint64_t TotalPhysicalMemory(const std::string& meminfoPath) {
  std::ifstream meminfo(meminfoPath);
  if (!meminfo) return 0;
  return MemTotalFromMeminfo(meminfo);
}

}  // namespace clangor
