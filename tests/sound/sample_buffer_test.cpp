#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "sound/sample_buffer.h"

namespace clangor {
namespace {

WaveFormat Format(std::uint16_t tag, std::uint16_t channels, std::uint16_t bits) {
  WaveFormat f;
  f.formatTag = tag;
  f.channels = channels;
  f.samplesPerSec = 22050;
  f.bitsPerSample = bits;
  f.blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
  f.avgBytesPerSec = f.samplesPerSec * f.blockAlign;
  return f;
}

TEST(DecodeSamples, ConvertsEachSampleFormatToTheSameScale) {
  const std::vector<std::uint8_t> eight{0, 128, 255, 64};
  auto a = DecodeSamples(Format(WaveFormatPcm, 1, 8), eight.data(), eight.size());
  ASSERT_TRUE(a);
  EXPECT_EQ(a->samples, (std::vector<float>{-1.0f, 0.0f, 127 / 128.0f, -0.5f}));
  EXPECT_EQ(a->sampleRate, 22050u);

  // Little-endian 16-bit: -32768, 16384, -1.
  const std::vector<std::uint8_t> sixteen{0x00, 0x80, 0x00, 0x40, 0xff, 0xff};
  auto b = DecodeSamples(Format(WaveFormatPcm, 1, 16), sixteen.data(), sixteen.size());
  ASSERT_TRUE(b);
  EXPECT_EQ(b->samples, (std::vector<float>{-1.0f, 0.5f, -1 / 32768.0f}));

  // Floats beyond full scale are held to it; NaN becomes silence.
  const float floats[] = {0.25f, 3.0f, -7.0f, std::numeric_limits<float>::quiet_NaN()};
  std::vector<std::uint8_t> raw(sizeof floats);
  std::memcpy(raw.data(), floats, sizeof floats);
  auto c = DecodeSamples(Format(WaveFormatIeeeFloat, 2, 32), raw.data(), raw.size());
  ASSERT_TRUE(c);
  EXPECT_EQ(c->channels, 2);
  EXPECT_EQ(c->frames(), 2u);
  EXPECT_EQ(c->samples, (std::vector<float>{0.25f, 1.0f, -1.0f, 0.0f}));
}

TEST(DecodeSamples, DropsAPartFrameAndRefusesWhatCannotPlay) {
  const std::vector<std::uint8_t> data{1, 0, 2, 0, 3};  // one stereo frame and a stray byte
  auto a = DecodeSamples(Format(WaveFormatPcm, 2, 16), data.data(), data.size());
  ASSERT_TRUE(a);
  EXPECT_EQ(a->frames(), 1u);
  EXPECT_FALSE(DecodeSamples(Format(WaveFormatPcm, 1, 24), data.data(), data.size()));
  EXPECT_FALSE(DecodeSamples(Format(2, 1, 16), data.data(), data.size()));  // ADPCM
  EXPECT_FALSE(DecodeSamples(Format(WaveFormatPcm, 3, 16), data.data(), data.size()));
}

}  // namespace
}  // namespace clangor
