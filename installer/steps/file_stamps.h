// File dates as the package stores them (the file-system date stamp: date
// in the high word, time in the low word, read as UTC) and the facts about
// an existing file that the overwrite rules compare.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "installer/package/dos_date_time.h"

namespace clangor::outfit {

bool SetFileDate(const std::string& path, std::uint32_t dosDateTime);

struct ExistingFile {
  std::uint64_t size = 0;
  std::time_t modified = 0;
};
// What is at `path`: nothing when there is no regular file.
std::optional<ExistingFile> LookAtFile(const std::string& path);
std::optional<std::uint32_t> FileCrc32(const std::string& path);

}  // namespace clangor::outfit
