#include "ringing/call_change_sequence.h"

#include <algorithm>

#include "ringing/bells.h"

namespace clangor {

std::string ToPlaceNotation(const CallChangeSequence& sequence) {
  const int stage = std::clamp(sequence.stage, 0, MaxBells);
  const std::string rounds(BellChars.substr(0, static_cast<std::size_t>(stage)));
  std::string working = rounds;
  std::string notation = sequence.notation;
  if (notation.empty() || notation.back() != '.') notation.push_back('.');

  std::string result;
  int q = 0;       // the next position of the change still to be decided
  int places = 0;  // places made so far in this change
  for (const char c : notation) {
    if (c == '.') {
      if (q < stage) {
        result.append(rounds, static_cast<std::size_t>(q), std::string::npos);
        places += stage - q;
      }
      result.push_back(places > 0 ? '.' : '-');
      q = 0;
      places = 0;
      continue;
    }
    // The listed bell changes with the bell behind it; every position before
    // it that it does not pass makes a place.
    while (q < stage) {
      if (working[static_cast<std::size_t>(q)] == c) {
        if (q + 1 < stage) std::swap(working[static_cast<std::size_t>(q)], working[static_cast<std::size_t>(q + 1)]);
        q += 2;
        break;
      }
      result.push_back(rounds[static_cast<std::size_t>(q)]);
      ++q;
      ++places;
    }
  }
  return result;
}

std::string CallText(const Row& row, const std::string& change, int stage, bool callUp) {
  auto isPlace = [&](int p) {
    for (const char c : change) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte >= MaxBells) break;  // "-" or the end of the change
      if (byte == p) return true;
    }
    return false;
  };
  const int n = std::min<int>(stage, static_cast<int>(row.size()));
  std::string text;
  for (int p = 0; p < n;) {
    if (isPlace(p) || p + 1 >= n) {
      ++p;
      continue;
    }
    if (!text.empty()) text += ", ";
    const auto at = [&](int i) { return std::to_string(row[static_cast<std::size_t>(i)] + 1); };
    if (callUp) {
      text += at(p) + " to " + at(p + 1);
    } else {
      text += at(p + 1) + (p == 0 ? std::string(" lead") : " to " + at(p - 1));
    }
    p += 2;
  }
  return text;
}

}  // namespace clangor
