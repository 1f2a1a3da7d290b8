#include "sound/pitch.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace clangor {

namespace {

constexpr double Semitone = 1.0594630943592953;  // 2^(1/12)

double SemitonePower(std::uint64_t exponent) {
  double result = 1.0;
  double base = Semitone;
  while (exponent != 0) {
    if (exponent & 1) result *= base;
    base *= base;
    exponent >>= 1;
  }
  return result;
}

}  // namespace

std::uint32_t PitchedFrequency(std::uint32_t rate, std::int64_t shift) {
  const std::uint64_t magnitude = shift < 0 ? 0 - static_cast<std::uint64_t>(shift) : static_cast<std::uint64_t>(shift);
  double factor = SemitonePower(magnitude);
  if (shift < 0) factor = 1.0 / factor;
  const double frequency = rate * factor;
  if (!(frequency < static_cast<double>(std::numeric_limits<std::uint32_t>::max()))) {
    return std::numeric_limits<std::uint32_t>::max();
  }
  return static_cast<std::uint32_t>(frequency);
}

int ReadSemitoneShift(const std::string& text) {
  errno = 0;
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > 1000 || (errno == ERANGE && value > 0)) return 1000;
  if (value < -1000 || (errno == ERANGE && value < 0)) return -1000;
  return static_cast<int>(value);
}

}  // namespace clangor
