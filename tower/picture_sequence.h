// A bell's picture sequence as control.txt writes it: comma-separated picture
// numbers and ranges "a-b" that run up or down ("12-10" is 12, 11, 10).
#pragma once

#include <string_view>
#include <vector>

namespace clangor {

// The longest sequence text that is read.
inline constexpr std::size_t MaxSequenceText = 195;

// Expands `text` into at most `count` picture numbers. Numbers outside
// 0..imageCount-1 name no picture and are left out.
std::vector<int> ParsePictureSequence(std::string_view text, int count, int imageCount);

}  // namespace clangor
