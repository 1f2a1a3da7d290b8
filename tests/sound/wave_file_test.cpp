#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sound/wave_file.h"

namespace clangor {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(Bytes& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutId(Bytes& b, const char* id) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(id[i]));
}

Bytes Chunk(const char* id, const Bytes& body, std::uint32_t statedSize, bool pad = true) {
  Bytes b;
  PutId(b, id);
  Put32(b, statedSize);
  b.insert(b.end(), body.begin(), body.end());
  if (pad && body.size() % 2) b.push_back(0);
  return b;
}
Bytes Chunk(const char* id, const Bytes& body) {
  return Chunk(id, body, static_cast<std::uint32_t>(body.size()));
}

Bytes Fmt(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
  Bytes b;
  const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
  Put16(b, tag);
  Put16(b, channels);
  Put32(b, rate);
  Put32(b, rate * align);
  Put16(b, align);
  Put16(b, bits);
  return b;
}

Bytes Riff(const std::vector<Bytes>& chunks, const char* form = "WAVE", int sizeSlack = 0) {
  Bytes body;
  PutId(body, form);
  for (const auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
  Bytes b;
  PutId(b, "RIFF");
  Put32(b, static_cast<std::uint32_t>(body.size() + sizeSlack));
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

const Bytes kSamples = {1, 2, 3, 4, 5, 6, 7, 8};

class WaveFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("clangor_wave_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Write(const Bytes& bytes) {
    const auto path = (folder_ / "bell.wav").string();
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  std::filesystem::path folder_;
};

TEST_F(WaveFileTest, ReadsFormatAndSamplesOfAPlainFile) {
  WaveFile wave;
  ASSERT_EQ(wave.Open(Write(Riff({Chunk("fmt ", Fmt(1, 2, 44100, 16)), Chunk("data", kSamples)}))),
            WaveFile::Ok);
  EXPECT_EQ(wave.Format().formatTag, 1);
  EXPECT_EQ(wave.Format().channels, 2);
  EXPECT_EQ(wave.Format().samplesPerSec, 44100u);
  EXPECT_EQ(wave.Format().blockAlign, 4);
  EXPECT_EQ(wave.Format().bitsPerSample, 16);
  EXPECT_TRUE(wave.Format().extra.empty());
  EXPECT_TRUE(IsPlayableWaveFormat(wave.Format()));
  EXPECT_EQ(wave.Size(), kSamples.size());
  EXPECT_EQ(wave.ReadAll(), kSamples);
}

TEST_F(WaveFileTest, ReadsInPiecesAndNeverPastTheDataChunk) {
  // A chunk after "data" must not leak into the samples.
  WaveFile wave;
  ASSERT_EQ(wave.Open(Write(Riff({Chunk("fmt ", Fmt(1, 1, 22050, 8)), Chunk("data", kSamples),
                                  Chunk("LIST", {9, 9, 9, 9})}))),
            WaveFile::Ok);
  std::uint8_t buffer[16] = {};
  EXPECT_EQ(wave.Read(buffer, 5), 5u);
  EXPECT_EQ(wave.Read(buffer + 5, 16), 3u);
  EXPECT_EQ(wave.Read(buffer, 16), 0u);
  EXPECT_EQ(Bytes(buffer, buffer + 8), kSamples);
}

TEST_F(WaveFileTest, FindsDataBeforeFmtAndSkipsOddSizedChunks) {
  WaveFile wave;
  ASSERT_EQ(wave.Open(Write(Riff({Chunk("junk", {7, 7, 7}), Chunk("data", {1, 2, 3}),
                                  Chunk("fmt ", Fmt(1, 1, 8000, 8))}))),
            WaveFile::Ok);
  EXPECT_EQ(wave.Format().samplesPerSec, 8000u);
  EXPECT_EQ(wave.ReadAll(), (Bytes{1, 2, 3}));
}

TEST_F(WaveFileTest, KeepsTheExtraBytesOfOtherFormats) {
  Bytes fmt = Fmt(3, 1, 48000, 32);
  Put16(fmt, 2);
  fmt.push_back(0xAB);
  fmt.push_back(0xCD);
  WaveFile wave;
  ASSERT_EQ(wave.Open(Write(Riff({Chunk("fmt ", fmt), Chunk("data", kSamples)}))), WaveFile::Ok);
  EXPECT_EQ(wave.Format().extra, (Bytes{0xAB, 0xCD}));
  EXPECT_TRUE(IsPlayableWaveFormat(wave.Format()));

  // A float format with a bare 16-byte "fmt " has no extra bytes; the next
  // chunk's header is not taken for them.
  ASSERT_EQ(wave.Open(Write(Riff({Chunk("fmt ", Fmt(3, 1, 48000, 32)), Chunk("data", kSamples)}))),
            WaveFile::Ok);
  EXPECT_TRUE(wave.Format().extra.empty());
  EXPECT_EQ(wave.ReadAll(), kSamples);
}

TEST_F(WaveFileTest, CutsLyingSizesToTheFile) {
  // "data" claims a megabyte, the RIFF form claims more than the file holds.
  WaveFile wave;
  ASSERT_EQ(wave.Open(Write(Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8)), Chunk("data", kSamples, 1u << 20)},
                                 "WAVE", 1000))),
            WaveFile::Ok);
  EXPECT_EQ(wave.Size(), kSamples.size());
  EXPECT_EQ(wave.ReadAll(), kSamples);
}

TEST_F(WaveFileTest, RefusesBrokenFiles) {
  Bytes extraTooLong = Fmt(2, 1, 8000, 4);
  Put16(extraTooLong, 400);  // more extra bytes than the chunk holds
  const Bytes good = Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8)), Chunk("data", kSamples)});
  const struct {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"empty file", {}},
      {"truncated header", Bytes(good.begin(), good.begin() + 6)},
      {"not RIFF", [&] { Bytes b = good; b[0] = 'X'; return b; }()},
      {"form is not WAVE", Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8)), Chunk("data", kSamples)}, "AVI ")},
      {"no fmt", Riff({Chunk("data", kSamples)})},
      {"short fmt", Riff({Chunk("fmt ", Bytes(12, 0)), Chunk("data", kSamples)})},
      {"fmt cut off by the file", Bytes(good.begin(), good.begin() + 24)},
      {"no data", Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8))})},
      {"extra size beyond the chunk", Riff({Chunk("fmt ", extraTooLong), Chunk("data", kSamples)})},
      {"chunk size runs past the form", Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8), 0xFFFFFFF0u),
                                              Chunk("data", kSamples)})},
  };
  for (const auto& c : cases) {
    WaveFile wave;
    EXPECT_EQ(wave.Open(Write(c.bytes)), WaveFile::Failed) << c.what;
    EXPECT_FALSE(wave.IsOpen()) << c.what;
    EXPECT_EQ(wave.ReadAll().size(), 0u) << c.what;
  }
  WaveFile missing;
  EXPECT_EQ(missing.Open((folder_ / "absent.wav").string()), WaveFile::Failed);
}

TEST(WaveFormatTest, PlayableFormats) {
  const struct {
    std::uint16_t tag, channels;
    std::uint32_t rate;
    std::uint16_t bits;
    bool playable;
  } cases[] = {
      {1, 1, 44100, 16, true}, {1, 2, 22050, 8, true}, {3, 2, 48000, 32, true},
      {1, 3, 44100, 16, false}, {1, 1, 0, 16, false},  {1, 1, 44100, 24, false},
      {2, 1, 8000, 4, false},   {1, 0, 44100, 16, false},
  };
  for (const auto& c : cases) {
    WaveFormat f;
    f.formatTag = c.tag;
    f.channels = c.channels;
    f.samplesPerSec = c.rate;
    f.bitsPerSample = c.bits;
    f.blockAlign = static_cast<std::uint16_t>(c.channels * c.bits / 8);
    EXPECT_EQ(IsPlayableWaveFormat(f), c.playable) << c.tag << "/" << c.channels << "/" << c.bits;
  }
  WaveFormat wrongAlign;
  wrongAlign.formatTag = 1;
  wrongAlign.channels = 2;
  wrongAlign.samplesPerSec = 44100;
  wrongAlign.bitsPerSample = 16;
  wrongAlign.blockAlign = 2;
  EXPECT_FALSE(IsPlayableWaveFormat(wrongAlign));
}

}  // namespace
}  // namespace clangor
