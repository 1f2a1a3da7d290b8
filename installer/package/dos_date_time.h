// The package's file dates: the file-system date stamp, date in the high
// word and time of day in the low word, read as UTC.
#pragma once

#include <cstdint>
#include <ctime>

namespace clangor::outfit {

std::time_t DosDateTimeToTime(std::uint32_t dosDateTime);
// Times before 1980 become 1 January 1980, where the stamp begins.
std::uint32_t TimeToDosDateTime(std::time_t time);

}  // namespace clangor::outfit
