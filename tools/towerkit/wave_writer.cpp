#include "tools/towerkit/wave_writer.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string>

namespace clangor::towerkit {

namespace {

void Put16(std::vector<char>& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8 & 0xFF));
}
void Put32(std::vector<char>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutId(std::vector<char>& out, const char* id) { out.insert(out.end(), id, id + 4); }

}  // namespace

void WriteWaveFile(const std::filesystem::path& path, const std::vector<float>& samples) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::vector<char> out;
  out.reserve(44 + dataBytes);
  PutId(out, "RIFF");
  Put32(out, 36 + dataBytes);
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);                // PCM
  Put16(out, 1);                // mono
  Put32(out, SampleRate);
  Put32(out, SampleRate * 2);   // bytes a second
  Put16(out, 2);                // block alignment
  Put16(out, 16);               // bits a sample
  PutId(out, "data");
  Put32(out, dataBytes);
  for (const float sample : samples) {
    const long value = std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f);
    Put16(out, static_cast<std::uint32_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))));
  }
  std::filesystem::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace clangor::towerkit
