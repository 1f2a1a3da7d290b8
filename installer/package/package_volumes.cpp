#include "installer/package/package_volumes.h"

#include <cstdio>
#include <filesystem>

#include "installer/package/package_error.h"
#include "installer/package/zlib_streams.h"

namespace clangor::outfit {

namespace {

std::uint32_t LittleEndian32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The largest compressed text or block the reader accepts before it
// inflates it: a zlib stream never needs more than its output plus a little.
constexpr std::int32_t MaxCompressedText = static_cast<std::int32_t>(MaxTextSize + MaxTextSize / 8 + 1024);

}  // namespace

std::string VolumePath(const std::string& packagePath, int volume) {
  if (volume <= 1) return packagePath;
  char extension[16];
  std::snprintf(extension, sizeof extension, ".%03d", volume);
  return std::filesystem::path(packagePath).replace_extension(extension).string();
}

PackageVolumes::PackageVolumes(std::string packagePath, MissingVolumePrompt prompt)
    : path_(std::move(packagePath)), prompt_(std::move(prompt)) {
  auto first = std::make_unique<std::ifstream>(path_, std::ios::binary);
  if (!*first) throw PackageError("The setup package " + path_ + " cannot be opened.");
  open_.push_back(std::move(first));
  std::uint8_t field[4];
  open_[0]->seekg(PackageOffsetField);
  if (!open_[0]->read(reinterpret_cast<char*>(field), 4))
    throw PackageError("The file " + path_ + " is not a setup package: it is too short.");
  dataStart_ = LittleEndian32(field);
  open_[0]->seekg(dataStart_);
  if (dataStart_ < PackageOffsetField + 4 || !open_[0]->read(reinterpret_cast<char*>(field), 4))
    throw PackageError("The file " + path_ + " is not a setup package: its data offset lies outside it.");
  volumeSize_ = static_cast<std::int32_t>(LittleEndian32(field));
  if (volumeSize_ > 0 && dataStart_ + 4 > volumeSize_)
    throw PackageError("The setup package " + path_ + " is damaged: its volume size is smaller than its start.");
}

std::ifstream& PackageVolumes::Volume(int k) {
  while (static_cast<int>(open_.size()) < k) open_.push_back(nullptr);
  auto& slot = open_[k - 1];
  while (!slot) {
    std::string path = VolumePath(path_, k);
    if (std::filesystem::exists(path)) {
      slot = std::make_unique<std::ifstream>(path, std::ios::binary);
      if (!*slot) throw PackageError("The volume " + path + " of the setup package cannot be opened.");
    } else if (!prompt_ || !prompt_(k)) {
      throw PackageError("The volume " + path + " of the setup package is missing.");
    }
  }
  return *slot;
}

void PackageVolumes::Read(std::int64_t position, std::span<std::uint8_t> out) {
  if (position < 0) throw PackageError("The setup package " + path_ + " is damaged: a position lies before its start.");
  while (!out.empty()) {
    int volume = 1;
    std::int64_t offset = position;
    std::size_t count = out.size();
    if (volumeSize_ > 0) {
      volume = static_cast<int>(position / volumeSize_) + 1;
      offset = position % volumeSize_;
      count = std::min<std::size_t>(count, static_cast<std::size_t>(volumeSize_ - offset));
    }
    std::ifstream& in = Volume(volume);
    in.clear();
    in.seekg(offset);
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(count));
    if (static_cast<std::size_t>(in.gcount()) != count)
      throw PackageError("The setup package is damaged: " + VolumePath(path_, volume) + " ends too soon.");
    out = out.subspan(count);
    position += static_cast<std::int64_t>(count);
  }
}

std::vector<std::uint8_t> PackageCursor::Bytes(std::size_t count) {
  std::vector<std::uint8_t> bytes;
  // Read in pieces, so that a count larger than the package fails at its
  // end rather than by asking for that much memory first.
  constexpr std::size_t piece = 1 << 20;
  while (bytes.size() < count) {
    std::size_t n = std::min(piece, count - bytes.size());
    bytes.resize(bytes.size() + n);
    volumes_.Read(position_, std::span(bytes).last(n));
    position_ += static_cast<std::int64_t>(n);
  }
  return bytes;
}

std::uint8_t PackageCursor::Byte() { return Bytes(1)[0]; }

std::uint16_t PackageCursor::U16() {
  auto b = Bytes(2);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t PackageCursor::U32() { return LittleEndian32(Bytes(4).data()); }

std::string PackageCursor::Text(const char* what) {
  std::int32_t length = I32();
  if (length < 1) return {};
  if (length > MaxCompressedText) throw PackageError(std::string("The setup package is damaged: its ") + what + " is too long.");
  auto stream = Bytes(static_cast<std::size_t>(length));
  auto text = InflateBounded(stream, MaxTextSize);
  if (!text) throw PackageError(std::string("The setup package is damaged: its ") + what + " cannot be unpacked.");
  return std::string(text->begin(), text->end());
}

std::vector<std::string> PackageCursor::Lines(const char* what) { return SplitLines(Text(what)); }

std::vector<std::uint8_t> PackageCursor::Block(std::size_t size, const char* what) {
  std::int32_t length = I32();
  if (length < 1 || length > MaxCompressedText)
    throw PackageError(std::string("The setup package is damaged: its ") + what + " has a wrong length.");
  auto stream = Bytes(static_cast<std::size_t>(length));
  auto block = InflateBounded(stream, size);
  if (!block || block->size() != size)
    throw PackageError(std::string("The setup package is damaged: its ") + what + " has a wrong size.");
  return *block;
}

std::vector<std::string> SplitFields(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

}  // namespace clangor::outfit
