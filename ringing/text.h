// Text helpers shared by every reader of the library and tower files and by
// every editor.
#pragma once

#include <string>
#include <string_view>

namespace clangor {

// Removes leading and trailing blanks (spaces and tabs) and collapses every
// inner run of blanks to one space.
std::string NormaliseBlanks(std::string_view text);

}  // namespace clangor
