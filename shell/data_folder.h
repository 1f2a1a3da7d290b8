// Where the simulator finds its data folder: the common application-data
// folder of the shell-folder layer ($CLANGOR_COMMON_APPDATA when set), else
// the share folder of an installation beside the program
// (<prefix>/bin/clangor with <prefix>/share/Orvanta/Clangor).
#pragma once

#include <string>

namespace clangor {

// The common application-data folder to use, or empty to keep the layer's
// own: empty when the variable is set or the layer's folder holds towers.
std::string InstalledDataRoot(const std::string& programFolder);
// Points the shell-folder layer at InstalledDataRoot when it found one.
void UseInstalledDataFolder(const std::string& programFolder);

}  // namespace clangor
