// The manifest mkoutfit builds a setup package from: one instruction a
// line, its fields separated by tabs, "#" starting a comment line.
//
//   application / publisher / version / uninstall-key / caption  TEXT
//   date  YEAR  MONTH  DAY          help-link, url-update, url-about  TEXT
//   display-icon  PATH  [INDEX]     welcome / finish / background  TEXT
//   volume-size  BYTES              message  INDEX  TEXT
//   folder  VARIABLE  CAPTION  PATH  [shared]
//   variable  NAME[*]VALUE%         portable  PATH
//   component  NAME  DESCRIPTION  [required] [unselected]
//   component-folder  PATH          (for the last component)
//   file  SOURCE  TARGET  [mode=N] [shared] [keep]   (in the last component)
//   tree  SOURCE-FOLDER  TARGET-FOLDER  [skip=SUB-FOLDER]... [mode=N] [shared] [keep]
//                                   (every file below, in name order)
//   temporary  SOURCE  NAME         program  NAME  PARAMETERS  before|after  [wait]
//   shortcut  NAME  TARGET  ARGUMENTS  DESCRIPTION  [ICON]
//   uninstaller  SOURCE             (carried under both uninstaller names, last)
//   run-after  TARGET  PARAMETERS   no-uninstall-shortcut
//
// Sources are relative to the manifest's folder unless absolute.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "installer/package/setup_package.h"

namespace clangor::outfit {

struct OutfitManifest {
  SetupPackage package;
  std::vector<std::string> sources;  // one per file of the package
  std::int32_t volumeSize = 0;
};

// Throws std::runtime_error naming the line of a fault.
OutfitManifest ParseManifest(const std::string& text, const std::string& baseFolder);

// Reads every source and writes the package; returns the volumes written.
std::vector<std::string> BuildPackage(const OutfitManifest& manifest, const std::string& packagePath);

}  // namespace clangor::outfit
