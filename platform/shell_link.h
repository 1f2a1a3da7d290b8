// Shell links (shortcuts) as freedesktop desktop entries: a link asked for as
// "Clangor.lnk" is written as "Clangor.desktop" beside it, so the menus, the
// desktop and the autostart folder of a freedesktop session show it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace clangor {

struct ShellLink {
  std::string name;         // shown name; empty: the link's file name without its extension
  std::string target;       // the program (or document) the link opens
  std::vector<std::string> arguments;
  std::string workingFolder;
  std::string description;  // shown as the link's comment
  std::string iconFile;     // a desktop entry names one icon: the file's index is not kept
};

// The path a link is written to: `linkPath` with its extension replaced by ".desktop".
std::string DesktopEntryPath(const std::string& linkPath);

// Writes the link (replacing any link of that name at once, never leaving
// half a file). A target that is a document rather than a program (a file
// without execute permission, given no arguments) becomes a link to its
// location. Returns the path written; empty when it could not be written.
std::string WriteShellLink(const std::string& linkPath, const ShellLink& link);

// Reads a desktop entry written by WriteShellLink (or by hand) back.
std::optional<ShellLink> ReadShellLink(const std::string& path);

}  // namespace clangor
