#include "tower/picture_sequence.h"

#include <algorithm>

#include "tower/tower_text.h"

namespace clangor {

std::vector<int> ParsePictureSequence(std::string_view text, int count, int imageCount) {
  std::vector<int> pictures;
  if (count <= 0) return pictures;
  text = text.substr(0, MaxSequenceText);
  const auto keep = [&](int picture) {
    if (picture >= 0 && picture < imageCount) pictures.push_back(picture);
    return static_cast<int>(pictures.size()) < count;
  };
  while (!text.empty()) {
    const auto comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    // "a-b": the hyphen after the first number's digits (a leading "-" would
    // be a sign, and picture numbers are never negative).
    const auto start = item.find_first_not_of(' ');
    const auto hyphen = start == std::string_view::npos ? start : item.find('-', start + 1);
    const int first = ReadInt(item);
    const int last = hyphen == std::string_view::npos ? first : ReadInt(item.substr(hyphen + 1));
    // Only the part of a range that names pictures is walked.
    if (last >= first) {
      for (int picture = std::max(first, 0); picture <= std::min(last, imageCount - 1); ++picture) {
        if (!keep(picture)) return pictures;
      }
    } else {
      for (int picture = std::min(first, imageCount - 1); picture >= std::max(last, 0); --picture) {
        if (!keep(picture)) return pictures;
      }
    }
  }
  return pictures;
}

}  // namespace clangor
