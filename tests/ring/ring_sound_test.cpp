// The headless ringer's WAV file: every blow the engine strikes starts its
// recording at the blow's own frame, in time order, through the real mixer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <vector>

#include "engine/ringing_control.h"
#include "sound/mixer.h"
#include "sound/wave_file.h"
#include "sound/wave_writer.h"
#include "tests/engine/engine_fixture.h"
#include "tools/ring/headless_ringer.h"

namespace clangor::testing {
namespace {

class RingSoundTest : public EngineTest {
 protected:
  // Every bell sounds a farm animal (the tower has no recordings): a short
  // buffer of one level, so each blow's first frame is where silence ends.
  void WriteAnimals() const {
    const std::vector<std::int16_t> level(200, 5000), quiet(200, 0);
    const auto folder = data_ / "Program Stuff";
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(WriteWaveFile((folder / "quiet.wav").string(), quiet.data(), quiet.size(), 1, 22050));
    for (const char* animal : {"cow.wav", "cockerel.wav", "dog.wav"})
      ASSERT_TRUE(WriteWaveFile((folder / animal).string(), level.data(), level.size(), 1, 44100));
  }

  // The frames of the left channel where sound starts after silence.
  static std::vector<std::int64_t> Onsets(const std::filesystem::path& wav) {
    WaveFile file;
    EXPECT_EQ(file.Open(wav.string()), WaveFile::Ok);
    EXPECT_EQ(file.Format().channels, 2);
    const std::vector<std::uint8_t> bytes = file.ReadAll();
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    std::vector<std::int64_t> onsets;
    bool sounding = false;
    for (std::size_t frame = 0; 2 * frame < samples.size(); ++frame) {
      const bool now = samples[2 * frame] != 0;
      if (now && !sounding) onsets.push_back(static_cast<std::int64_t>(frame));
      sounding = now;
    }
    return onsets;
  }
};

TEST_F(RingSoundTest, EveryBlowStartsAtItsOwnFrame) {
  WriteTower(4);
  WriteAnimals();
  const auto wav = root_ / "rounds.wav";
  ring::RingPlan plan;
  plan.tower = "Test";
  plan.roundsRows = 6;
  plan.wavFile = wav.string();
  plan.begin = [](RingingControl& control, int) {
    control.Start();
    return true;
  };
  std::ostringstream err;
  const ring::RingResult result = ring::RingHeadless(plan, nullptr, err);
  ASSERT_EQ(result.status, 0) << err.str();
  ASSERT_GE(result.blows.size(), 24u);

  std::vector<double> times;
  for (const auto& blow : result.blows) times.push_back(blow.time);
  std::sort(times.begin(), times.end());
  const std::vector<std::int64_t> onsets = Onsets(wav);
  ASSERT_EQ(onsets.size(), times.size());
  // The render starts half a second before the first blow.
  const double origin = times.front() - 0.5;
  for (std::size_t i = 0; i < times.size(); ++i)
    EXPECT_NEAR(static_cast<double>(onsets[i]), (times[i] - origin) * Mixer::OutputRate, 1.0) << "blow " << i;
}

TEST_F(RingSoundTest, AFileThatCannotBeWrittenIsAFailure) {
  WriteTower(3);
  WriteAnimals();
  ring::RingPlan plan;
  plan.tower = "Test";
  plan.roundsRows = 2;
  plan.wavFile = (root_ / "no such folder" / "rounds.wav").string();
  plan.begin = [](RingingControl& control, int) {
    control.Start();
    return true;
  };
  std::ostringstream err;
  EXPECT_EQ(ring::RingHeadless(plan, nullptr, err).status, 1);
  EXPECT_NE(err.str().find("cannot write"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace clangor::testing
