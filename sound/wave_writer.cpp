#include "sound/wave_writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

namespace clangor {

namespace {

void Put16(std::vector<char>& b, std::uint16_t v) {
  b.push_back(static_cast<char>(v & 0xff));
  b.push_back(static_cast<char>(v >> 8));
}
void Put32(std::vector<char>& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}
void PutId(std::vector<char>& b, const char* id) { b.insert(b.end(), id, id + 4); }

}  // namespace

bool WriteWaveFile(const std::string& path, const std::int16_t* samples, std::size_t frames,
                   int channels, std::uint32_t sampleRate) {
  if (channels < 1 || channels > 2) return false;
  const std::uint64_t dataBytes = std::uint64_t{frames} * static_cast<std::uint64_t>(channels) * 2;
  // RIFF sizes are 32-bit: the form's size counts 36 header bytes besides the data.
  if (dataBytes > std::numeric_limits<std::uint32_t>::max() - 36) return false;
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

  const std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    // Little-endian values, written value by value so the bytes do not depend on the host.
    std::vector<char> body;
    body.reserve(static_cast<std::size_t>(dataBytes));
    const std::size_t count = frames * static_cast<std::size_t>(channels);
    for (std::size_t i = 0; i < count; ++i) Put16(body, static_cast<std::uint16_t>(samples[i]));
    out.write(body.data(), static_cast<std::streamsize>(body.size()));
    if (!out.flush()) {
      out.close();
      std::remove(partial.c_str());
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  if (error) std::filesystem::remove(partial, error);
  return !error;
}

}  // namespace clangor
