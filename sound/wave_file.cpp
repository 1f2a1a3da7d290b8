#include "sound/wave_file.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace clangor {

namespace {

std::uint32_t Le32(const unsigned char* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}
std::uint16_t Le16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

constexpr std::uint64_t ChunkHeaderBytes = 8;
constexpr std::uint32_t FixedFormatBytes = 16;

}  // namespace

// The extensible format's extra bytes: valid bits (2), channel mask (4), then
// the sub-format's GUID, whose first two bytes are the plain format tag; the
// rest of it is the same for every sub-format we play.
std::uint16_t SampleFormatTag(const WaveFormat& f) {
  if (f.formatTag != WaveFormatExtensible) return f.formatTag;
  constexpr std::size_t SubFormatAt = 6;
  constexpr std::uint8_t GuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                         0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  if (f.extra.size() < SubFormatAt + 16) return 0;
  if (!std::equal(std::begin(GuidTail), std::end(GuidTail), f.extra.begin() + SubFormatAt + 2)) return 0;
  return static_cast<std::uint16_t>(f.extra[SubFormatAt] | (f.extra[SubFormatAt + 1] << 8));
}

bool IsPlayableWaveFormat(const WaveFormat& f) {
  if (f.channels < 1 || f.channels > 2 || f.samplesPerSec == 0) return false;
  const std::uint16_t tag = SampleFormatTag(f);
  const bool pcm = tag == WaveFormatPcm && (f.bitsPerSample == 8 || f.bitsPerSample == 16);
  const bool floats = tag == WaveFormatIeeeFloat && f.bitsPerSample == 32;
  if (!pcm && !floats) return false;
  return f.blockAlign == f.channels * (f.bitsPerSample / 8);
}

std::int32_t WaveFile::Open(const std::string& path) {
  Close();
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) return Fail();
  fileSize_ = size;
  file_.open(path, std::ios::binary);
  if (!file_) return Fail();

  // The first chunk must be the RIFF form of type WAVE.
  Chunk riff;
  if (!ReadChunkHeader(0, riff) || std::memcmp(riff.id, "RIFF", 4) != 0) return Fail();
  unsigned char formType[4];
  if (!file_.seekg(riff.dataOffset) || !file_.read(reinterpret_cast<char*>(formType), 4) ||
      std::memcmp(formType, "WAVE", 4) != 0) {
    return Fail();
  }
  // A form that claims more than the file holds ends with the file.
  const std::uint64_t formEnd = std::min<std::uint64_t>(riff.dataOffset + riff.size, fileSize_);
  const std::uint64_t formBody = riff.dataOffset + 4;

  Chunk fmt;
  if (!FindChunk("fmt ", formBody, formEnd, fmt) || fmt.size < FixedFormatBytes) return Fail();
  if (!ReadFormat(fmt)) return Fail();

  // "data" is looked for from the start of the form again, so that it may come
  // before "fmt " as well as after it.
  Chunk data;
  if (!FindChunk("data", formBody, formEnd, data)) return Fail();
  dataOffset_ = data.dataOffset;
  // Truncated data: only what the file holds is read.
  dataSize_ = static_cast<std::uint32_t>(
      std::min<std::uint64_t>(data.size, fileSize_ - std::min(fileSize_, data.dataOffset)));
  dataRead_ = 0;
  return Ok;
}

void WaveFile::Close() {
  if (file_.is_open()) file_.close();
  file_.clear();
  format_ = WaveFormat{};
  fileSize_ = dataOffset_ = 0;
  dataSize_ = dataRead_ = 0;
}

std::int32_t WaveFile::Fail() {
  Close();
  return Failed;
}

bool WaveFile::ReadChunkHeader(std::uint64_t at, Chunk& chunk) {
  if (at + ChunkHeaderBytes > fileSize_) return false;
  unsigned char header[ChunkHeaderBytes];
  file_.clear();
  if (!file_.seekg(static_cast<std::streamoff>(at)) ||
      !file_.read(reinterpret_cast<char*>(header), ChunkHeaderBytes)) {
    return false;
  }
  std::memcpy(chunk.id, header, 4);
  chunk.size = Le32(header + 4);
  chunk.dataOffset = at + ChunkHeaderBytes;
  return true;
}

// Walks the chunks from `from` to `end`; each chunk's data is padded to an
// even length, as RIFF writers do.
bool WaveFile::FindChunk(const char* id, std::uint64_t from, std::uint64_t end, Chunk& found) {
  std::uint64_t at = from;
  while (at + ChunkHeaderBytes <= end) {
    Chunk chunk;
    if (!ReadChunkHeader(at, chunk)) return false;
    if (std::memcmp(chunk.id, id, 4) == 0) {
      found = chunk;
      return true;
    }
    at = chunk.dataOffset + chunk.size + (chunk.size & 1u);
  }
  return false;
}

bool WaveFile::ReadFormat(const Chunk& fmt) {
  unsigned char fixed[FixedFormatBytes];
  file_.clear();
  if (!file_.seekg(static_cast<std::streamoff>(fmt.dataOffset)) ||
      !file_.read(reinterpret_cast<char*>(fixed), FixedFormatBytes)) {
    return false;
  }
  format_.formatTag = Le16(fixed);
  format_.channels = Le16(fixed + 2);
  format_.samplesPerSec = Le32(fixed + 4);
  format_.avgBytesPerSec = Le32(fixed + 8);
  format_.blockAlign = Le16(fixed + 12);
  format_.bitsPerSample = Le16(fixed + 14);
  format_.extra.clear();
  // PCM has no extra bytes. Another format's 16-bit extra size follows the
  // fixed part; a chunk of exactly 16 bytes has none, and extra bytes are never
  // read beyond the end of the chunk.
  if (format_.formatTag == WaveFormatPcm || fmt.size < FixedFormatBytes + 2) return true;
  unsigned char extraSize[2];
  if (!file_.read(reinterpret_cast<char*>(extraSize), 2)) return false;
  const std::uint32_t extraBytes = Le16(extraSize);
  if (extraBytes > fmt.size - FixedFormatBytes - 2) return false;
  format_.extra.resize(extraBytes);
  return extraBytes == 0 ||
         static_cast<bool>(file_.read(reinterpret_cast<char*>(format_.extra.data()), extraBytes));
}

std::uint32_t WaveFile::Read(std::uint8_t* destination, std::uint32_t bytes) {
  if (!file_.is_open()) return 0;
  const std::uint32_t count = std::min(bytes, dataSize_ - dataRead_);
  if (count == 0) return 0;
  file_.clear();
  if (!file_.seekg(static_cast<std::streamoff>(dataOffset_ + dataRead_))) return 0;
  file_.read(reinterpret_cast<char*>(destination), count);
  const auto got = static_cast<std::uint32_t>(file_.gcount());
  dataRead_ += got;
  return got;
}

std::vector<std::uint8_t> WaveFile::ReadAll() {
  std::vector<std::uint8_t> samples(dataSize_ - dataRead_);
  samples.resize(Read(samples.data(), static_cast<std::uint32_t>(samples.size())));
  return samples;
}

}  // namespace clangor
