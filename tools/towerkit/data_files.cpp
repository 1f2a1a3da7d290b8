#include "tools/towerkit/data_files.h"

#include <algorithm>
#include <vector>

namespace clangor::towerkit {

namespace {

namespace fs = std::filesystem;

// Copies the files of `from` (not its sub-folders' order-dependent listing:
// names are sorted) so that a run always writes the same files.
void CopyFolder(const fs::path& from, const fs::path& to) {
  if (!fs::is_directory(from)) return;
  std::vector<fs::path> entries;
  for (const auto& entry : fs::directory_iterator(from)) entries.push_back(entry.path());
  std::sort(entries.begin(), entries.end());
  fs::create_directories(to);
  for (const fs::path& entry : entries) {
    if (fs::is_directory(entry)) {
      CopyFolder(entry, to / entry.filename());
    } else {
      fs::copy_file(entry, to / entry.filename(), fs::copy_options::overwrite_existing);
    }
  }
}

}  // namespace

void CopyLibraryAndHelp(const fs::path& source, const fs::path& dataFolder) {
  CopyFolder(source / "compendium", dataFolder / "Defaults" / "Compendium" / "XII");
  CopyFolder(source / "compendium", dataFolder / "Compendium" / "XII");
  CopyFolder(source / "help", dataFolder / "Help" / "clangor_help");
}

}  // namespace clangor::towerkit
