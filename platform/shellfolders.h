// The shell's folders, each mapped to its freedesktop counterpart, with path
// appending and folder enumeration. Every folder can be moved by an
// environment variable (the tests point them all into a temporary folder).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace clangor {

enum class ShellFolder {
  CommonAppData,    // $CLANGOR_COMMON_APPDATA, else $XDG_DATA_HOME, else ~/.local/share
  ProgramFiles,     // $CLANGOR_PROGRAM_FILES, else ~/.local/lib
  CommonFiles,      // $CLANGOR_COMMON_FILES, else <ProgramFiles>/Common Files
  StartMenu,        // $CLANGOR_START_MENU, else $XDG_DATA_HOME/applications
  ProgramsMenu,     // $CLANGOR_PROGRAMS_MENU, else $XDG_DATA_HOME/applications
  Desktop,          // $CLANGOR_DESKTOP, else XDG_DESKTOP_DIR of user-dirs.dirs, else ~/Desktop
  SendTo,           // $CLANGOR_SEND_TO, else $XDG_DATA_HOME/orvanta/SendTo (no desktop has one)
  Startup,          // $CLANGOR_STARTUP, else $XDG_CONFIG_HOME/autostart
  Documents,        // $CLANGOR_DOCUMENTS, else XDG_DOCUMENTS_DIR, else ~/Documents
  CommonDocuments,  // $CLANGOR_COMMON_DOCUMENTS, else XDG_PUBLICSHARE_DIR, else ~/Public
  AppData,          // roaming: $CLANGOR_APPDATA, else $XDG_CONFIG_HOME, else ~/.config
  LocalAppData,     // $CLANGOR_LOCAL_APPDATA, else $XDG_STATE_HOME, else ~/.local/state
  Temp,             // $TMPDIR, else /tmp
};

// The environment variable that moves a folder ("CLANGOR_DESKTOP").
std::string_view ShellFolderVariable(ShellFolder folder);

// The folder's path, without a trailing separator; empty when the system
// cannot supply it (no home folder). The folder need not exist yet.
std::string ShellFolderPath(ShellFolder folder);

// `base`, one "/", then `more` (without its leading separators); `base`
// unchanged when `more` is empty, so a trailing separator stays. A trailing
// separator of `more` stays too.
std::string PathAppend(std::string_view base, std::string_view more);

struct FolderItem {
  std::string name;
  bool isFolder = false;  // a folder, or a link to one
};

// The items of a folder ("." and ".." left out), in name order; empty when
// the folder cannot be read.
std::vector<FolderItem> ListFolder(const std::string& path);
std::vector<std::string> SubFolderNames(const std::string& path);
std::vector<std::string> FileNames(const std::string& path);

}  // namespace clangor
