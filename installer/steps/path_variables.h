// Folder variables of a setup package ("%APPFOLDER%\Towers") made into
// paths, and the guard that keeps every path a package names inside the
// folders it installs into: a package path must start with a folder
// variable, and what follows may not climb out of it ("..") or pass
// through a link.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "installer/package/setup_package.h"

namespace clangor::outfit {

struct FolderChoices {
  std::map<std::string, std::string> folders;  // variable -> the folder the user chose
  bool portable = false;
  std::string portableFolder;                  // the chosen portable folder, else the package's
  std::string setupFolder;                     // the folder of the package file
};

class PathVariables {
 public:
  PathVariables(const SetupPackage& package, FolderChoices choices);

  // The folder a variable names (without "%"); PackageError when it names
  // none or leads outside the machine's folders.
  std::string Folder(const std::string& variable) const;
  // The full path of a package path; PackageError when it is absolute,
  // climbs out of its folder or passes through a link there.
  std::string Resolve(const std::string& packagePath) const;
  // True when `folder` is one of the package's own shared folders.
  bool IsShared(const std::string& variable) const;
  // The package's own folders as paths (variable, path, shared).
  std::vector<PackageFolder> ResolvedFolders() const;

 private:
  std::string Resolve(const std::string& packagePath, int depth) const;
  std::string Folder(const std::string& variable, int depth) const;
  const SetupPackage& package_;
  FolderChoices choices_;
  std::map<std::string, std::pair<std::string, bool>> own_;  // the package's variable list
};

// Splits "%NAME%rest" into the variable and the rest; nothing when the
// path does not start with a variable.
std::optional<std::pair<std::string, std::string>> SplitVariable(const std::string& path);

// `base` followed by the parts of `relative` (separated by "\" or "/");
// PackageError when a part is "..", or when an existing part below `base`
// is a link.
std::string AppendInside(const std::string& base, const std::string& relative, const std::string& shownAs);

}  // namespace clangor::outfit
