#include "installer/steps/file_stamps.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>
#include <vector>

#include "installer/package/zlib_streams.h"

namespace clangor::outfit {

std::time_t DosDateTimeToTime(std::uint32_t dosDateTime) {
  std::tm t{};
  std::uint32_t date = dosDateTime >> 16, time = dosDateTime & 0xFFFF;
  t.tm_year = static_cast<int>((date >> 9) + 80);
  t.tm_mon = static_cast<int>(((date >> 5) & 15)) - 1;
  t.tm_mday = static_cast<int>(date & 31);
  t.tm_hour = static_cast<int>(time >> 11);
  t.tm_min = static_cast<int>((time >> 5) & 63);
  t.tm_sec = static_cast<int>((time & 31) * 2);
  return timegm(&t);
}

std::uint32_t TimeToDosDateTime(std::time_t time) {
  std::tm t{};
  gmtime_r(&time, &t);
  if (t.tm_year < 80) return (1u << 5 | 1u) << 16;  // the stamp starts in 1980
  std::uint32_t date = static_cast<std::uint32_t>((t.tm_year - 80) << 9 | (t.tm_mon + 1) << 5 | t.tm_mday);
  std::uint32_t clock = static_cast<std::uint32_t>(t.tm_hour << 11 | t.tm_min << 5 | t.tm_sec / 2);
  return date << 16 | clock;
}

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
