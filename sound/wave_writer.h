// Writes 16-bit PCM samples as a RIFF/WAVE file, whole or as they come.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

namespace clangor {

// `samples` holds frames × channels interleaved values. The file is written
// beside its final name and renamed over it, so a failed write leaves no
// half file. Returns false when the file cannot be written.
bool WriteWaveFile(const std::string& path, const std::int16_t* samples, std::size_t frames,
                   int channels, std::uint32_t sampleRate);

// A WAV file written as its samples are made, so a long render need not be
// held in memory. It is written beside its final name and renamed over it by
// finish; a stream destroyed unfinished, or one that failed, leaves no file.
class WaveStream {
 public:
  WaveStream(const std::string& path, int channels, std::uint32_t sampleRate);
  ~WaveStream();
  WaveStream(const WaveStream&) = delete;
  WaveStream& operator=(const WaveStream&) = delete;

  // False once the file could not be opened or written, or would outgrow
  // the 32-bit sizes of its header.
  bool ok() const { return !failed_; }
  bool append(const std::int16_t* samples, std::size_t frames);
  // Fills in the header's sizes and puts the file in place.
  bool finish();

 private:
  void fail();

  std::string path_;
  std::string partial_;
  int channels_;
  std::uint32_t sampleRate_;
  std::uint64_t dataBytes_ = 0;
  std::ofstream out_;
  bool failed_ = false;
  bool finished_ = false;
};

}  // namespace clangor
