// Copies the hand-written product files into the data folder: the default
// library (to Defaults/Compendium/XII/ and Compendium/XII/) and the help
// pages (to Help/clangor_help/).
#pragma once

#include <filesystem>

namespace clangor::towerkit {

// `source` is the repository's data/ folder.
void CopyLibraryAndHelp(const std::filesystem::path& source, const std::filesystem::path& dataFolder);

}  // namespace clangor::towerkit
