// Reads a setup package: the header when the installer starts, the
// sections when the wizard is prepared. A package that breaks the format
// (short volumes, lying counts, streams that do not inflate to what they
// claim) raises PackageError with a text for the user.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "installer/package/package_volumes.h"
#include "installer/package/setup_package.h"

namespace clangor::outfit {

class PackageReader {
 public:
  explicit PackageReader(std::string packagePath, PackageVolumes::MissingVolumePrompt prompt = {});

  // Reads the header (messages, settings, folders, portable folder, raw
  // fields), then the sections; the package is whole once both are read.
  void ReadHeader();
  void ReadSections();
  const SetupPackage& Package() const { return package_; }
  SetupPackage& Package() { return package_; }
  PackageVolumes& Volumes() { return volumes_; }
  // Where the sections start (the component count), once the header is read.
  std::int64_t SectionsStart() const { return sections_; }

  // Inflates file `index` into `target`, 65536 bytes at a time, calling
  // `progress` after every chunk. The file must inflate to exactly its
  // stated size and CRC-32, or PackageError is raised (the caller removes
  // what was written).
  void ExtractFile(std::size_t index, std::ostream& target, const std::function<void()>& progress = {});

 private:
  void ReadComponents(PackageCursor& in);
  void ReadFileTables(PackageCursor& in);
  void ReadShortcuts(PackageCursor& in);
  void ApplyFileAttributes();

  PackageVolumes volumes_;
  SetupPackage package_;
  std::int64_t sections_ = -1;  // where the sections start, once the header is read
};

// Reads the whole package (header and sections).
SetupPackage ReadPackage(const std::string& path, PackageVolumes::MissingVolumePrompt prompt = {});

}  // namespace clangor::outfit
