// Bell characters and stages: the only place where bells meet text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace clangor {

inline constexpr int MaxBells = 18;
inline constexpr int MinStage = 3;
inline constexpr int MaxStage = 18;

// Bell index i (0 = treble) is written as BellChars[i]; keys use BellKeys.
inline constexpr std::string_view BellChars = "1234567890ETABCDFG";
inline constexpr std::string_view BellKeys = "1234567890etabcdfg";

// The character of bell index i; '?' outside 0..17.
char BellChar(int index);

// The index of c in BellChars (upper case only), or none.
std::optional<int> BellIndex(char c);

// True for stages 3..18, the only ones methods and sequences hold.
constexpr bool IsStage(int stage) { return stage >= MinStage && stage <= MaxStage; }

// "Singles" .. "Eighteen"; the empty string outside 3..18.
const std::string& StageName(int stage);

}  // namespace clangor
