// What the fuzz targets share: the input as text or lines, and as a file
// for the readers that take a path.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace clangor::fuzz {

inline std::string Text(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

// The input written to a file of this process's own, for readers of paths.
inline std::string AsFile(const std::uint8_t* data, std::size_t size, const char* suffix) {
  const std::string path = "/tmp/clangor_fuzz_" + std::to_string(::getpid()) + suffix;
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                               static_cast<std::streamsize>(size));
  return path;
}

}  // namespace clangor::fuzz
