#include "installer/steps/file_stamps.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>
#include <vector>

#include "installer/package/zlib_streams.h"

namespace clangor::outfit {

bool SetFileDate(const std::string& path, std::uint32_t dosDateTime) {
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = DosDateTimeToTime(dosDateTime);
  times[0].tv_nsec = times[1].tv_nsec = 0;
  return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

std::optional<ExistingFile> LookAtFile(const std::string& path) {
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return ExistingFile{static_cast<std::uint64_t>(info.st_size), info.st_mtime};
}

std::optional<std::uint32_t> FileCrc32(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::uint32_t crc = 0;
  std::vector<std::uint8_t> chunk(65536);
  while (in) {
    in.read(reinterpret_cast<char*>(chunk.data()), static_cast<std::streamsize>(chunk.size()));
    crc = Crc32(std::span(chunk.data(), static_cast<std::size_t>(in.gcount())), crc);
  }
  return in.bad() ? std::nullopt : std::optional(crc);
}

}  // namespace clangor::outfit
