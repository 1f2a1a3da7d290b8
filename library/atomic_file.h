// Replacing a file whole: the text goes to a temporary file in the same
// folder, which then takes the file's name, so that a crash or a full disk
// never leaves a half-written library behind.
#pragma once

#include <filesystem>
#include <string>

namespace clangor {

// Writes `text` as the new content of `path`; false (and the old file left
// as it was) when it cannot be written.
bool ReplaceFile(const std::filesystem::path& path, const std::string& text);

}  // namespace clangor
