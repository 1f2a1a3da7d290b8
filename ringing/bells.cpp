#include "ringing/bells.h"

#include <array>

namespace clangor {

char BellChar(int index) {
  if (index < 0 || index >= MaxBells) return '?';
  return BellChars[static_cast<std::size_t>(index)];
}

std::optional<int> BellIndex(char c) {
  const auto at = BellChars.find(c);
  if (at == std::string_view::npos) return std::nullopt;
  return static_cast<int>(at);
}

const std::string& StageName(int stage) {
  static const std::array<std::string, MaxStage + 1> names = {
      "",        "",         "",         "Singles",  "Minimus", "Doubles", "Minor",
      "Triples", "Major",    "Caters",   "Royal",    "Cinques", "Maximus", "Thirteen",
      "Fourteen", "Fifteen", "Sixteen", "Seventeen", "Eighteen"};
  static const std::string none;
  if (stage < 0 || stage > MaxStage) return none;
  return names[static_cast<std::size_t>(stage)];
}

}  // namespace clangor
