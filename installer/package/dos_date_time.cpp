#include "installer/package/dos_date_time.h"

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

}  // namespace clangor::outfit
