// The package's bytes as one run of positions across its volumes: volume 1
// is the package file, volume k the same name with the extension ".00k"
// (at least three digits). The 32-bit value at byte 144 of the package file
// is where the package data starts; there the volume size S is stored, and
// a position P lies in volume P / S + 1 at P mod S (S <= 0: one file).
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/text_lines.h"

namespace clangor::outfit {

inline constexpr std::uint32_t PackageOffsetField = 144;

// The name of volume k of the package `packagePath`.
std::string VolumePath(const std::string& packagePath, int volume);

class PackageVolumes {
 public:
  // Asked when volume k is needed and its file does not exist; true when
  // the user has put it in place (it is looked for again), false to give up.
  using MissingVolumePrompt = std::function<bool(int volume)>;

  // Opens the package file and reads where its data starts and its volume
  // size; throws PackageError when it is not a setup package.
  explicit PackageVolumes(std::string packagePath, MissingVolumePrompt prompt = {});

  const std::string& PackagePath() const { return path_; }
  std::int64_t DataStart() const { return dataStart_; }
  std::int32_t VolumeSize() const { return volumeSize_; }

  // Reads exactly out.size() bytes from position `position`, continuing in
  // the next volume at the end of one; throws PackageError when the package
  // ends first (a truncated volume, a missing one the user gave up on).
  void Read(std::int64_t position, std::span<std::uint8_t> out);

 private:
  std::ifstream& Volume(int k);
  std::string path_;
  MissingVolumePrompt prompt_;
  std::int64_t dataStart_ = 0;
  std::int32_t volumeSize_ = 0;
  std::vector<std::unique_ptr<std::ifstream>> open_;
};

// Sequential reading from a position on, with the package's primitives.
class PackageCursor {
 public:
  PackageCursor(PackageVolumes& volumes, std::int64_t position) : volumes_(volumes), position_(position) {}

  std::int64_t Position() const { return position_; }
  void Skip(std::int64_t bytes) { position_ += bytes; }

  std::vector<std::uint8_t> Bytes(std::size_t count);
  std::uint8_t Byte();
  std::uint16_t U16();
  std::uint32_t U32();
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  // A compressed text: length N (N < 1: empty), then N bytes of zlib stream.
  std::string Text(const char* what);
  std::vector<std::string> Lines(const char* what);
  // A compressed block that must inflate to exactly `size` bytes.
  std::vector<std::uint8_t> Block(std::size_t size, const char* what);

 private:
  PackageVolumes& volumes_;
  std::int64_t position_;
};

// Splits a text at every `separator` (a text without one is one field).
std::vector<std::string> SplitFields(const std::string& text, char separator);

}  // namespace clangor::outfit
