// Putting one packaged file in place: inflated beside its target into a
// file named "ftx…", checked against its size and CRC-32, then moved over
// the target. When the target cannot be opened for writing (a program that
// is running), the new file waits in the pending-rename list until the next
// installer or uninstaller starts. A file that does not unpack whole never
// replaces anything.
#pragma once

#include <functional>
#include <string>

#include "installer/package/package_reader.h"

namespace clangor::outfit {

enum class Placed { Written, Pending };

// Extracts file `index` of the package to `target` (whose folder is made),
// clears a read-only target first and gives the new file the packaged date.
// Throws PackageError on failure, with nothing left behind.
Placed ExtractFileTo(PackageReader& reader, std::size_t index, const std::string& target,
                     const std::function<void()>& pump = {});

// Extracts file `index` to the temporary folder under its own name, or with
// "2", "3" ... before its extension when that name is taken. Returns the path.
std::string ExtractToTemporaryFolder(PackageReader& reader, std::size_t index, const std::string& fallbackFolder);

// The free name in `folder` for `fileName`: the name itself, else with a
// number from 2 on before its extension.
std::string FreeName(const std::string& folder, const std::string& fileName);

}  // namespace clangor::outfit
