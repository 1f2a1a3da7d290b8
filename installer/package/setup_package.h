// What a setup package holds, as the reader finds it and the writer lays it
// out. The fields the package format leaves to us are given their meaning here:
//
//  * setup data: the form-feed separated fields of `PackageSettings`, in
//    the order below, then the one flag character;
//  * behind that flag: the welcome text, the folder list (one folder a line:
//    variable, tab, caption, tab, path with "*" in front when shared) and
//    the list of files unpacked to the temporary folder;
//  * the text after the component folders: one line per file of both lists,
//    component index, tab, overwrite mode, tab, flags ("s" shared, "k" kept
//    by the uninstaller);
//  * the option byte after the programs: bit 2 brings the shortcuts (a
//    16-bit count and one line each: component, name, target, arguments,
//    description, icon, icon index, tab separated; each shortcut is made in
//    every folder of its component);
//  * the last three option bytes: bit 1 of the first brings the package's
//    own variables ("name", optional "*", value, "%"), the finish text and
//    the background caption; bit 0 of the first shows the background.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace clangor::outfit {

// The last two files of every package are the uninstaller programs.
inline constexpr const char* UninstallerBeforeVista = "Unoutfit.exe";
inline constexpr const char* UninstallerFromVista = "UnoutfitV.exe";
// The low version word that means "this file has no version".
inline constexpr std::uint32_t NoVersion = 0xB669FD2E;

struct PackageSettings {
  std::string applicationName;
  std::string publisher;
  std::string version;
  std::string uninstallKey;
  std::string caption;  // the wizard's title
  int year = 2000, month = 1, day = 1;
  std::string helpLink, urlInfoUpdate, urlInfoAbout;
  std::string displayIcon;  // a path with a folder variable
  int iconIndex = -1;       // -1: none given
};

struct PackageFolder {
  std::string variable;  // "APPFOLDER", without the "%"
  std::string caption;
  std::string path;      // the default folder, usually under a shell-folder variable
  bool shared = false;
};

struct Component {
  bool required = false;  // bit 0 of the flags
  bool selected = true;   // bit 1
  std::string name;
  std::vector<std::uint8_t> data;
  std::string description;
  std::vector<std::string> folders;  // where its shortcuts go
};

enum OverwriteMode : int { OverwriteAlways = 0, OverwriteOlder = 1, OverwriteNever = 2 };

struct PackageFile {
  std::string name;        // target path (second list) or file name (temporary list)
  bool temporary = false;  // unpacked to the temporary folder
  bool copiedFromTemporary = false;  // position -1: copied from the temporary file of its name
  std::int32_t position = -1;
  std::uint32_t dosDateTime = 0;  // date in the high word, time in the low word
  std::uint32_t versionLow = NoVersion, versionHigh = 0;
  std::uint32_t size = 0;
  std::uint32_t crc = 0;
  int component = 0;
  int overwriteMode = OverwriteAlways;
  bool shared = false;
  bool keep = false;  // the uninstaller leaves it
  bool HasVersion() const { return versionLow != NoVersion; }
};

struct FileTypeAction {
  std::string verb;
  std::uint16_t value = 0;
  std::string command;
};

struct FileType {
  char flag = 0;
  std::string extension, description;
  std::uint16_t value = 0;
  std::uint8_t byte = 0;
  std::vector<FileTypeAction> actions;
  // "ext -> description (verb, verb)".
  std::string Listing() const;
};

struct AdditionalProgram {
  // file, parameters, folder, caption, "before" or "after", and three more texts.
  std::array<std::string, 8> texts;
  std::uint32_t wait = 0, show = 0;
};

struct DotNetRequirement {
  std::uint8_t flags = 0;
  std::string installerFile, downloadAddress;
  std::uint32_t installerSize = 0;
  std::int32_t installerPosition = -1;
};

struct Shortcut {
  int component = 0;
  std::string name;  // "Clangor.lnk"
  std::string target, arguments, description, icon;
  int iconIndex = 0;
};

struct SetupPackage {
  std::vector<std::string> messages;
  PackageSettings settings;
  std::string welcome;
  std::vector<PackageFolder> folders;
  bool portable = false;
  std::array<std::uint8_t, 2> portableBytes{};
  std::string portableFolder;
  std::array<std::uint8_t, 68> raw68{};
  std::uint8_t byteA = 0, byteB = 0;
  std::array<std::uint8_t, 39> raw39{};
  std::optional<std::array<std::uint8_t, 97>> block97;

  std::vector<Component> components;
  std::vector<PackageFile> files;  // the temporary list first, then the target list
  std::string textAfterFolders;    // kept as read: the file attributes
  std::vector<FileType> fileTypes;
  DotNetRequirement dotNet;
  std::vector<AdditionalProgram> programs;
  std::uint8_t shortcutOptions = 0;
  std::vector<Shortcut> shortcuts;
  int runAfterInstall = 0;  // 1-based file index, 0: none
  std::string runParameters;
  bool uninstallShortcut = true;
  std::array<std::uint8_t, 3> finalOptions{};
  std::string variables, finishText, backgroundCaption;

  // The package's message `index`, empty when it has none.
  const std::string& Message(std::size_t index) const;
  bool ShowsBackground() const { return finalOptions[0] & 1; }
};

// A message of the package with its "%s" and "%d" filled in turn.
std::string FormatMessage(const std::string& pattern, const std::vector<std::string>& arguments);

}  // namespace clangor::outfit
