// A tower folder with its sound sets and recordings in a temporary data
// folder, its bells loaded, and the tower's sound rendered offline.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "shell/settings_store.h"
#include "sound/offline_render.h"
#include "sound/tower_sound.h"
#include "sound/wave_writer.h"
#include "tests/tower/tower_fixture.h"
#include "tower/bell.h"
#include "tower/tower.h"

namespace clangor::testing {

// The animals' recordings, told apart by their rates and their levels.
inline constexpr std::uint32_t CowRate = 8000, CockerelRate = 16000, DogRate = 11025;
inline constexpr std::int16_t CowLevel = 4000, CockerelLevel = 5000, DogLevel = 6000;

class TowerSoundTest : public TowerFolderTest {
 protected:
  // A recording of `frames` samples at `level`, rising from silence and
  // falling back over its first and last Ramp frames as a struck bell's
  // does: whatever its pitch, every sample it sounds from SettledFrame on,
  // for a while, is `level` (at full volume).
  void WriteRecording(const std::string& relative, std::uint32_t rate, std::int16_t level,
                      std::size_t frames = 1000) const {
    const auto path = data_ / relative;
    std::filesystem::create_directories(path.parent_path());
    constexpr std::size_t Ramp = 32;
    std::vector<std::int16_t> samples(frames, level);
    for (std::size_t i = 0; i < Ramp && 2 * i < frames; ++i) {
      const double rise = 0.5 - 0.5 * std::cos(3.141592653589793 * static_cast<double>(i) / Ramp);
      samples[i] = samples[frames - 1 - i] = static_cast<std::int16_t>(std::lround(level * rise));
    }
    ASSERT_TRUE(WriteWaveFile(path.string(), samples.data(), frames, 1, rate));
  }
  void WriteProgramSounds() const {
    WriteRecording("Program Stuff/quiet.wav", 22050, 0);
    WriteRecording("Program Stuff/cow.wav", CowRate, CowLevel);
    WriteRecording("Program Stuff/cockerel.wav", CockerelRate, CockerelLevel);
    WriteRecording("Program Stuff/dog.wav", DogRate, DogLevel);
  }
  // A tower of `bells` bells whose default sound set is "Set" (`soundSet`).
  void WriteTower(int bells, const std::string& soundSet) const {
    WriteFile("tower.txt", "[Tower]\nSoundsFile=Set\n");
    WriteTable(bells, 1, std::vector<double>(static_cast<std::size_t>(bells * bells) * 5460, 0.0));
    WriteFile("sounds/Set.txt", soundSet);
  }

  // Loads the tower and its bells and opens its sound, rendered offline.
  void Load(bool openSound = true) {
    settings_ = std::make_unique<SettingsStore>();
    tower_ = std::make_unique<Tower>("Test", *settings_);
    // Reserved first: a Bell points into itself and must not move.
    bells_.clear();
    bells_.reserve(static_cast<std::size_t>(tower_->bellCount()));
    for (int b = 0; b < tower_->bellCount(); ++b) bells_.emplace_back(b, false);
    for (Bell& bell : bells_) bell.load(*tower_);
    sound_ = std::make_unique<TowerSound>(*settings_, *tower_, OfflineRender::Opener(render_));
    sound_->setBells(bells_);
    if (!openSound) return;
    ASSERT_EQ(sound_->openSound(), 0);
    for (int b = 0; b < tower_->bellCount(); ++b) ASSERT_EQ(sound_->loadBellSounds(b), 0) << "bell " << b;
  }

  // A blow is heard from this frame on, past its rise through the
  // resampler's filter at the lowest rate of the tests (8000 Hz) and short
  // of its fall at the highest (88200 Hz).
  static constexpr std::size_t SettledFrame = 300;

  // The settled sample of what the next period sounds (left channel); the
  // render runs on until every recording of the tests has ended.
  std::int16_t NextSample() {
    const std::size_t at = render_->samples().size() + 2 * SettledFrame;
    render_->renderFrames(8192);
    return render_->samples()[at];
  }
  // Sounds a blow of `bell` just struck at handstroke or backstroke.
  std::int16_t Blow(int bell, bool backstroke) {
    bells_[static_cast<std::size_t>(bell)].state().handstrokeNext = backstroke;
    sound_->soundBlow(bell, false);
    return NextSample();
  }

  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<Tower> tower_;
  std::vector<Bell> bells_;
  std::unique_ptr<TowerSound> sound_;
  OfflineRender* render_ = nullptr;
};

}  // namespace clangor::testing
