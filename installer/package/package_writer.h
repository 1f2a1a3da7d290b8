// Writes a setup package: the header and sections in the reader's order,
// then every file's compressed data, split into volumes of a given size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "installer/package/setup_package.h"

namespace clangor::outfit {

// Writes `package` to `path` (and .002, .003 ... when `volumeSize` > 0),
// with `contents[i]` the bytes of `package.files[i]`; the files' positions,
// sizes and CRCs are filled in from the contents, except for files whose
// position is -1 (copied from the temporary folder). Returns the paths of
// the volumes written.
std::vector<std::string> WritePackage(const std::string& path, SetupPackage package,
                                      const std::vector<std::vector<std::uint8_t>>& contents,
                                      std::int32_t volumeSize = 0);

// Exposed for the reader's tests, which build damaged packages by hand.
class ByteWriter {
 public:
  std::vector<std::uint8_t> bytes;
  void Byte(std::uint8_t b) { bytes.push_back(b); }
  void U16(std::uint16_t v);
  void U32(std::uint32_t v);
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void Raw(const void* data, std::size_t size);
  void Text(const std::string& text);  // a compressed text
  void Stream(const std::vector<std::uint8_t>& compressed);  // length, then the stream
};

// Lays out the package data from the volume size on, with files at the
// positions already in `package.files`.
std::vector<std::uint8_t> EncodeHeaderAndSections(const SetupPackage& package, std::int32_t volumeSize);

}  // namespace clangor::outfit
