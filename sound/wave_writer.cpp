#include "sound/wave_writer.h"

#include <cstdio>
#include <filesystem>
#include <limits>
#include <vector>

namespace clangor {

namespace {

// RIFF sizes are 32-bit: the form's size counts 36 header bytes besides the data.
constexpr std::uint64_t MaxDataBytes = std::numeric_limits<std::uint32_t>::max() - 36;

void Put16(std::vector<char>& b, std::uint16_t v) {
  b.push_back(static_cast<char>(v & 0xff));
  b.push_back(static_cast<char>(v >> 8));
}
void Put32(std::vector<char>& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}
void PutId(std::vector<char>& b, const char* id) { b.insert(b.end(), id, id + 4); }

std::vector<char> Header(int channels, std::uint32_t sampleRate, std::uint64_t dataBytes) {
  const auto blockAlign = static_cast<std::uint16_t>(channels * 2);
  std::vector<char> header;
  PutId(header, "RIFF");
  Put32(header, static_cast<std::uint32_t>(36 + dataBytes));
  PutId(header, "WAVE");
  PutId(header, "fmt ");
  Put32(header, 16);
  Put16(header, 1);  // PCM
  Put16(header, static_cast<std::uint16_t>(channels));
  Put32(header, sampleRate);
  Put32(header, sampleRate * blockAlign);
  Put16(header, blockAlign);
  Put16(header, 16);
  PutId(header, "data");
  Put32(header, static_cast<std::uint32_t>(dataBytes));
  return header;
}

}  // namespace

WaveStream::WaveStream(const std::string& path, int channels, std::uint32_t sampleRate)
    : path_(path), partial_(path + ".partial"), channels_(channels), sampleRate_(sampleRate) {
  if (channels < 1 || channels > 2) {
    failed_ = true;
    return;
  }
  out_.open(partial_, std::ios::binary | std::ios::trunc);
  if (!out_) {
    failed_ = true;
    return;
  }
  const std::vector<char> header = Header(channels_, sampleRate_, 0);
  if (!out_.write(header.data(), static_cast<std::streamsize>(header.size()))) fail();
}

WaveStream::~WaveStream() {
  if (!finished_ && !failed_) fail();
}

void WaveStream::fail() {
  failed_ = true;
  if (out_.is_open()) out_.close();
  std::remove(partial_.c_str());
}

bool WaveStream::append(const std::int16_t* samples, std::size_t frames) {
  if (failed_ || finished_) return false;
  const std::size_t count = frames * static_cast<std::size_t>(channels_);
  if (dataBytes_ + count * 2 > MaxDataBytes) {
    fail();
    return false;
  }
  // Little-endian values, written value by value so the bytes do not depend on the host.
  std::vector<char> body;
  body.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) Put16(body, static_cast<std::uint16_t>(samples[i]));
  if (!out_.write(body.data(), static_cast<std::streamsize>(body.size()))) {
    fail();
    return false;
  }
  dataBytes_ += count * 2;
  return true;
}

bool WaveStream::finish() {
  if (failed_ || finished_) return false;
  const std::vector<char> header = Header(channels_, sampleRate_, dataBytes_);
  out_.seekp(0);
  if (!out_.write(header.data(), static_cast<std::streamsize>(header.size())) || !out_.flush()) {
    fail();
    return false;
  }
  out_.close();
  std::error_code error;
  std::filesystem::rename(partial_, path_, error);
  if (error) {
    fail();
    return false;
  }
  finished_ = true;
  return true;
}

bool WriteWaveFile(const std::string& path, const std::int16_t* samples, std::size_t frames,
                   int channels, std::uint32_t sampleRate) {
  WaveStream stream(path, channels, sampleRate);
  return stream.append(samples, frames) && stream.finish();
}

}  // namespace clangor
