// The program's string table: the text of every command, its help text for
// the status bar and its tool bar tip, and the further help texts. The
// menus, the tool bar and the status bar all read it.
#pragma once

#include <string>

namespace clangor {

// A command's strings. The help text sits 1000 above the command and the
// tip 2000 above it (3101, 3102 and 3103 for 1103, 1104 and 1106).
struct CommandStrings {
  int id = 0;
  const char* text = "";
  const char* help = "";
  const char* tip = "";
};

// The strings of a command; none when the table has no entry for it.
const CommandStrings* FindCommandStrings(int id);

// The string of a string identifier: a command's text (its id), help text
// (id + 1000) or tip (id + 2000, or 3101-3103), or one of the further help
// texts; empty when there is none.
std::string LoadString(int stringId);

// The help text shown in status pane 5 while a menu item is highlighted.
std::string CommandHelp(int commandId);
// The tip of a tool bar button.
std::string CommandTip(int commandId);
// The menu text (with "&" marks and a "\t" before a key name).
std::string CommandText(int commandId);

// Further help texts.
inline constexpr int MethodItemHelp = 2998;
inline constexpr int CompositionItemHelp = 2999;
inline constexpr int StandardHeadingsHelp = 2389;
inline constexpr int CallItemHelp = 2390;

}  // namespace clangor
