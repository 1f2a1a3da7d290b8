#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sound/mixer.h"
#include "sound/offline_render.h"
#include "sound/wave_file.h"
#include "sound/wave_writer.h"

namespace clangor {
namespace {

class OfflineRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("clangor_offline_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::vector<std::uint8_t> Bytes(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::filesystem::path folder_;
};

TEST_F(OfflineRenderTest, WritesAWaveFileByteForByte) {
  const std::int16_t samples[] = {1, -2, 0x1234, -32768};
  const std::string path = (folder_ / "two.wav").string();
  ASSERT_TRUE(WriteWaveFile(path, samples, 2, 2, 44100));
  const std::vector<std::uint8_t> expected{
      'R', 'I', 'F', 'F', 44, 0, 0, 0, 'W', 'A', 'V', 'E',
      'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 2, 0,        // PCM, stereo
      0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0,    // 44100 Hz, 176400 bytes/s, 4, 16 bits
      'd', 'a', 't', 'a', 8, 0, 0, 0,
      1, 0, 0xFE, 0xFF, 0x34, 0x12, 0x00, 0x80};
  EXPECT_EQ(Bytes("two.wav"), expected);
  EXPECT_FALSE(std::filesystem::exists(path + ".partial"));
  EXPECT_FALSE(WriteWaveFile((folder_ / "no" / "such" / "folder.wav").string(), samples, 2, 2, 44100));
  EXPECT_FALSE(WriteWaveFile(path, samples, 1, 3, 44100));
}

// The render of a blow, written and read back through the project's reader,
// holds the very samples the mixer made.
TEST_F(OfflineRenderTest, TheRenderReadsBackThroughTheWaveReader) {
  Mixer mixer;
  OfflineRender render(mixer, 100);
  EXPECT_EQ(render.sampleRate(), 44100u);
  EXPECT_EQ(render.framesPerPeriod(), 100);
  std::vector<std::int16_t> tone;
  for (int i = 0; i < 300; ++i) tone.push_back(static_cast<std::int16_t>((i % 50) * 400 - 10000));
  const Mixer::BufferId id = mixer.createBuffer(MonoBuffer16(44100, tone));
  mixer.setFrequency(id, 33075);  // three quarters of the output rate
  render.renderUntil(150);  // a blow at frame 150, between two periods
  EXPECT_EQ(render.frames(), 150u);
  render.renderUntil(100);  // already there
  EXPECT_EQ(render.frames(), 150u);
  mixer.playFromStart(id);
  render.renderFrames(500);
  ASSERT_EQ(render.frames(), 650u);
  EXPECT_EQ(render.samples()[300], -10000);  // the blow's first sample
  EXPECT_EQ(render.samples()[302], -9700);   // three quarters of the way to -9600
  EXPECT_EQ(render.samples()[299], 0);

  const std::string path = (folder_ / "blow.wav").string();
  ASSERT_TRUE(render.writeWave(path));
  WaveFile file;
  ASSERT_EQ(file.Open(path), WaveFile::Ok);
  EXPECT_EQ(file.Format().channels, 2);
  EXPECT_EQ(file.Format().samplesPerSec, 44100u);
  EXPECT_EQ(file.Format().bitsPerSample, 16);
  ASSERT_EQ(file.Size(), 650u * 4);
  const std::vector<std::uint8_t> data = file.ReadAll();
  std::vector<std::int16_t> back(data.size() / 2);
  for (std::size_t i = 0; i < back.size(); ++i) {
    back[i] = static_cast<std::int16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  EXPECT_EQ(back, render.samples());
}

// A render streamed into its file as it goes writes the same file as one held
// in memory, whatever was rendered before the stream began; an unfinished
// stream leaves no file.
TEST_F(OfflineRenderTest, AStreamedRenderWritesTheSameFile) {
  std::vector<std::int16_t> tone;
  for (int i = 0; i < 3000; ++i) tone.push_back(static_cast<std::int16_t>((i % 70) * 300 - 9000));
  auto renderBlows = [&](OfflineRender& render, Mixer& mixer, const std::string& streamPath) {
    const Mixer::BufferId id = mixer.createBuffer(MonoBuffer16(22050, tone));
    render.renderUntil(77);
    if (!streamPath.empty()) {
      EXPECT_TRUE(render.streamTo(streamPath));
    }
    for (std::uint64_t at : {100u, 1234u, 5000u}) {
      render.renderUntil(at);
      mixer.playFromStart(id);
    }
    render.renderFrames(8000);
  };
  Mixer heldMixer, streamedMixer;
  OfflineRender held(heldMixer), streamed(streamedMixer, 64);
  renderBlows(held, heldMixer, "");
  renderBlows(streamed, streamedMixer, (folder_ / "streamed.wav").string());
  EXPECT_EQ(streamed.frames(), held.frames());
  EXPECT_TRUE(streamed.samples().empty());
  ASSERT_TRUE(held.writeWave((folder_ / "held.wav").string()));
  ASSERT_TRUE(streamed.finishStream());
  EXPECT_EQ(Bytes("streamed.wav"), Bytes("held.wav"));

  {
    WaveStream abandoned((folder_ / "abandoned.wav").string(), 2, 44100);
    const std::int16_t frame[] = {1, 2};
    EXPECT_TRUE(abandoned.append(frame, 1));
  }
  EXPECT_FALSE(std::filesystem::exists(folder_ / "abandoned.wav"));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "abandoned.wav.partial"));
  EXPECT_FALSE(OfflineRender(heldMixer).streamTo((folder_ / "no" / "such" / "folder.wav").string()));
}

}  // namespace
}  // namespace clangor
