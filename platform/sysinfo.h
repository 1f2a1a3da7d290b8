// Facts about the machine that the tower view scales its pictures by.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

namespace clangor {

// Total physical memory in bytes, from the "MemTotal:" line of
// /proc/meminfo (or of the given file); 0 when it cannot be read.
std::uint64_t TotalPhysicalMemory(const std::string& meminfoPath = "/proc/meminfo");
// The same from a meminfo text already open.
std::uint64_t MemTotalFromMeminfo(std::istream& meminfo);

}  // namespace clangor
