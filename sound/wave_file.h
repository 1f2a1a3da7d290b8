// Reads a RIFF/WAVE recording: its format and its sample data.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace clangor {

// The "fmt " chunk: the 16 fixed bytes and, for formats other than PCM, the
// extra bytes that follow the 16-bit extra size.
struct WaveFormat {
  std::uint16_t formatTag = 0;
  std::uint16_t channels = 0;
  std::uint32_t samplesPerSec = 0;
  std::uint32_t avgBytesPerSec = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 0;
  std::vector<std::uint8_t> extra;
};

inline constexpr std::uint16_t WaveFormatPcm = 1;
inline constexpr std::uint16_t WaveFormatIeeeFloat = 3;
// The extensible format: the real format is the sub-format in the extra bytes.
inline constexpr std::uint16_t WaveFormatExtensible = 0xFFFE;

// The format the samples are in: the tag, or for the extensible format its
// sub-format (PCM or float); 0 when an extensible format names none.
std::uint16_t SampleFormatTag(const WaveFormat& format);

// Whether the mixer can play samples of this format: PCM of 8 or 16 bits or
// 32-bit floats (plain or in the extensible format), one or two channels, a sample rate, and a block alignment that
// matches the channels and sample size.
bool IsPlayableWaveFormat(const WaveFormat& format);

class WaveFile {
 public:
  static constexpr std::int32_t Ok = 0;
  static constexpr std::int32_t Failed = static_cast<std::int32_t>(0x80004005u);  // E_FAIL

  WaveFile() = default;
  WaveFile(const WaveFile&) = delete;
  WaveFile& operator=(const WaveFile&) = delete;

  // Opens the file and finds its format and its "data" chunk. Returns Ok, or
  // Failed with the file closed.
  std::int32_t Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_.is_open(); }

  const WaveFormat& Format() const { return format_; }
  // Bytes of sample data: the "data" chunk's size, cut to what the file holds.
  std::uint32_t Size() const { return dataSize_; }

  // Copies up to `bytes` bytes of sample data from where the last read ended;
  // never past the end of "data". Returns the number of bytes copied.
  std::uint32_t Read(std::uint8_t* destination, std::uint32_t bytes);

  // Reads the whole of the sample data (Open first). Empty on failure.
  std::vector<std::uint8_t> ReadAll();

 private:
  struct Chunk {
    char id[4];
    std::uint32_t size = 0;       // as the header states it
    std::uint64_t dataOffset = 0; // first byte after the header
  };

  bool ReadChunkHeader(std::uint64_t at, Chunk& chunk);
  bool FindChunk(const char* id, std::uint64_t from, std::uint64_t end, Chunk& found);
  bool ReadFormat(const Chunk& fmt);
  std::int32_t Fail();

  std::ifstream file_;
  std::uint64_t fileSize_ = 0;
  WaveFormat format_;
  std::uint64_t dataOffset_ = 0;
  std::uint32_t dataSize_ = 0;
  std::uint32_t dataRead_ = 0;
};

}  // namespace clangor
