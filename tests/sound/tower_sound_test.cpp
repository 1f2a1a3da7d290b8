#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "sound/sound_result.h"
#include "tests/sound/tower_sound_fixture.h"

namespace clangor {
namespace {

using testing::TowerSoundTest;
using namespace clangor::testing;

const char* kThreeBells =
    "[Recordings]\nSource=Src\n\n"
    "[1]\nOpenFile=o1.wav\nMuffledFile=m1.wav\n\n"
    "[2]\nOpenFile=o2.wav\n\n"
    "[3]\nOpenFile=o3.wav\nMuffledFile=m3.wav\nOpenSemitoneShift=-1\nMuffledSemitoneShift=1\n";

class ThreeBellsTest : public TowerSoundTest {
 protected:
  void SetUp() override {
    TowerSoundTest::SetUp();
    WriteProgramSounds();
    WriteTower(3, kThreeBells);
    WriteRecording("Recordings/Src/o1.wav", 44100, 1000);
    WriteRecording("Recordings/Src/m1.wav", 44100, 1100);
    WriteRecording("Recordings/Src/o2.wav", 44100, 2000);
    WriteRecording("Recordings/Src/o3.wav", 22050, 3000);
    WriteRecording("Recordings/Src/m3.wav", 44100, 3300);  // its own rate is not its base
  }
};

TEST_F(ThreeBellsTest, HalfMuffledBackstrokesSoundTheMuffledRecording) {
  Load();
  EXPECT_EQ(NextSample(), 0);  // the warm-up left nothing sounding
  // Open ringing: both strokes open.
  EXPECT_EQ(Blow(0, false), 1000);
  EXPECT_EQ(Blow(0, true), 1000);

  settings_->SetTowerInt(tower_setting::Clappers, 1);
  sound_->refreshSettings();
  EXPECT_EQ(Blow(0, false), 1000);  // handstroke
  EXPECT_EQ(Blow(0, true), 1100);   // backstroke
  // Without a muffled recording of its own the bell sounds its open one.
  EXPECT_EQ(Blow(1, true), 2000);
  // Different bells sound together.
  bells_[0].state().handstrokeNext = false;
  sound_->soundBlow(0, false);
  bells_[2].state().handstrokeNext = false;
  sound_->soundBlow(2, false);
  EXPECT_EQ(NextSample(), 4000);
}

TEST_F(ThreeBellsTest, PitchComesFromTheTowerShiftAndTheBellsShiftsOnTheOpenRate) {
  Load();
  const Mixer& mixer = sound_->mixer();
  EXPECT_EQ(sound_->openRate(2), 22050u);
  EXPECT_EQ(mixer.frequency(sound_->openBuffer(0)), 44100u);
  EXPECT_EQ(mixer.frequency(sound_->openBuffer(2)), 20812u);   // 22050 down a semitone
  EXPECT_EQ(mixer.frequency(sound_->mutedBuffer(2)), 23361u);  // 22050 up one, not 44100's

  struct Case {
    const char* towerShift;
    std::uint32_t open0, open2, muted2;
  } cases[] = {
      {"12", 88200, 41624, 46722},
      {"-12", 22050, 10406, 11680},
      {"1", 46722, 22050, 24750},
      {"nothing", 44100, 20812, 23361},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.towerShift);
    settings_->SetTowerString(tower_string::SemitoneShift, c.towerShift);
    sound_->applyPitch(-1);
    EXPECT_EQ(mixer.frequency(sound_->openBuffer(0)), c.open0);
    EXPECT_EQ(mixer.frequency(sound_->openBuffer(2)), c.open2);
    EXPECT_EQ(mixer.frequency(sound_->mutedBuffer(2)), c.muted2);
  }
  // One bell only.
  settings_->SetTowerString(tower_string::SemitoneShift, "12");
  sound_->applyPitch(0);
  EXPECT_EQ(mixer.frequency(sound_->openBuffer(0)), 88200u);
  EXPECT_EQ(mixer.frequency(sound_->openBuffer(2)), 20812u);
  // Beyond what the mixer plays, a bell keeps its frequency.
  settings_->SetTowerString(tower_string::SemitoneShift, "200");
  sound_->applyPitch(-1);
  EXPECT_EQ(mixer.frequency(sound_->openBuffer(0)), 88200u);
}

TEST_F(ThreeBellsTest, VolumeStepsAndLevelsReachEveryBufferAndTheSetting) {
  Load();
  const Mixer& mixer = sound_->mixer();
  struct Case {
    int from;
    bool up;
    int to;
  } steps[] = {{-50, true, 0}, {0, true, 0}, {-9950, false, -10000}, {-10000, false, -10000},
               {-3000, true, -2900}, {-3000, false, -3100}};
  for (const auto& s : steps) {
    SCOPED_TRACE(::testing::Message() << s.from << (s.up ? " up" : " down"));
    sound_->setVolume(s.from);
    EXPECT_EQ(settings_->GetInt(setting::Volume), -s.from);
    sound_->stepVolume(s.up);
    EXPECT_EQ(settings_->GetInt(setting::Volume), -s.to);
    for (int b = 0; b < 3; ++b) {
      EXPECT_EQ(mixer.volume(sound_->openBuffer(b)), s.to);
      EXPECT_EQ(mixer.volume(sound_->mutedBuffer(b)), s.to);
    }
  }
  // Levels outside -10000..0 are ignored.
  sound_->setVolume(-2500);
  sound_->setVolume(100);
  sound_->setVolume(-10001);
  EXPECT_EQ(settings_->GetInt(setting::Volume), 2500);
  EXPECT_EQ(mixer.volume(sound_->openBuffer(1)), -2500);
}

TEST_F(ThreeBellsTest, TheOwnBellCanStayAtFullVolume) {
  Load(false);
  settings_->SetInt(setting::Volume, 700);
  settings_->SetInt(setting::OwnVolumeMax, 1);
  sound_->refreshSettings();
  sound_->setOwnBell(0);
  ASSERT_EQ(sound_->openSound(), 0);
  for (int b = 0; b < 3; ++b) ASSERT_EQ(sound_->loadBellSounds(b), 0);
  const Mixer& mixer = sound_->mixer();
  // Loading takes the saved volume, the own bell full.
  EXPECT_EQ(mixer.volume(sound_->openBuffer(0)), 0);
  EXPECT_EQ(mixer.volume(sound_->mutedBuffer(0)), 0);
  EXPECT_EQ(mixer.volume(sound_->openBuffer(1)), -700);
  // A step starts from the shared level, not from the own bell's full one.
  sound_->stepVolume(false);
  EXPECT_EQ(settings_->GetInt(setting::Volume), 800);
  EXPECT_EQ(mixer.volume(sound_->openBuffer(0)), 0);
  EXPECT_EQ(mixer.volume(sound_->mutedBuffer(2)), -800);
  settings_->SetInt(setting::OwnVolumeMax, 0);
  sound_->setVolume(-900);
  EXPECT_EQ(mixer.volume(sound_->openBuffer(0)), -900);
}

TEST_F(ThreeBellsTest, BlowsThatDoNotSound) {
  Load();
  settings_->SetInt(setting::TapOwnBells, 1);
  sound_->refreshSettings();
  sound_->setOwnBell(1);
  // The ringing clock leaves the own bell to the user's taps.
  EXPECT_EQ(Blow(1, false), 0);
  sound_->soundBlow(1, true);
  EXPECT_EQ(NextSample(), 2000);
  EXPECT_EQ(Blow(0, false), 1000);

  sound_->setSoundOff(true);
  EXPECT_EQ(Blow(0, false), 0);
  sound_->soundBlow(1, true);
  EXPECT_EQ(NextSample(), 0);
  sound_->setSoundOff(false);

  for (const int bell : {-1, 3, 18, 1000}) sound_->soundBlow(bell, true);
  EXPECT_EQ(NextSample(), 0);
}

// A tap comes from the user-interface thread while the worker swings the
// bell: it takes the stroke of the bell's last blow, not the bell's state.
TEST_F(ThreeBellsTest, ATapTakesTheStrokeOfTheBellsLastBlow) {
  Load();
  settings_->SetTowerInt(tower_setting::Clappers, 1);
  sound_->refreshSettings();
  EXPECT_EQ(Blow(0, true), 1100);  // a backstroke
  bells_[0].state().handstrokeNext = false;
  sound_->soundBlow(0, true);
  EXPECT_EQ(NextSample(), 1100);
  EXPECT_EQ(Blow(0, false), 1000);  // the handstroke
  sound_->soundBlow(0, true);
  EXPECT_EQ(NextSample(), 1000);
}

// The ringing clock's blows on the worker thread, volume and pitch from the
// user-interface thread and the audio thread's renders, all at once: nothing
// here takes a lock. (Its value is under ThreadSanitizer.)
TEST_F(ThreeBellsTest, BlowsWhileVolumeAndPitchChangeAndTheDevicePulls) {
  Load();
  settings_->SetTowerInt(tower_setting::Clappers, 1);
  sound_->refreshSettings();
  std::atomic<bool> done{false};
  std::thread audio([&] {
    while (!done) render_->renderFrames(Mixer::MaxFramesPerPeriod);
  });
  std::thread worker([&] {
    for (int n = 0; n < 3000; ++n) sound_->soundBlow(n % 3, false);
  });
  for (int n = 0; n < 300; ++n) {
    sound_->stepVolume(n % 2 == 0);
    sound_->setVolume(-(n * 10));
    settings_->SetTowerString(tower_string::SemitoneShift, std::to_string(n % 25 - 12));
    sound_->applyPitch(-1);
    sound_->soundBlow(n % 3, true);
  }
  worker.join();
  done = true;
  audio.join();
  EXPECT_EQ(sound_->volumeLevel(), -2990);
  EXPECT_EQ(sound_->mixer().volume(sound_->mutedBuffer(2)), -2990);
  EXPECT_EQ(sound_->mixer().frequency(sound_->openBuffer(0)), 44100u * 2);  // 299 % 25 - 12 = 12
}

TEST_F(ThreeBellsTest, AnotherSoundSetReopensAndReloadsEveryBell) {
  WriteFile("sounds/Other.txt",
            "[Recordings]\nSource=Other\n\n[1]\nOpenFile=x.wav\n\n[2]\nOpenFile=x.wav\n\n[3]\nOpenFile=y.wav\n");
  WriteRecording("Recordings/Other/x.wav", 44100, 7000);
  WriteRecording("Recordings/Other/y.wav", 44100, 7500);
  Load();
  EXPECT_EQ(Blow(2, false), 3000);
  settings_->SetTowerString(tower_string::SoundsFile, "Other");
  ASSERT_EQ(sound_->reloadSounds(), 0);
  EXPECT_EQ(Blow(0, false), 7000);
  EXPECT_EQ(Blow(2, false), 7500);
  EXPECT_EQ(sound_->mixer().buffersInUse(), 6);

  // A set whose source folder is missing sounds animals for every bell.
  WriteFile("sounds/Gone.txt", "[Recordings]\nSource=Gone\n\n[1]\nOpenFile=x.wav\n");
  settings_->SetTowerString(tower_string::SoundsFile, "Gone");
  ASSERT_EQ(sound_->reloadSounds(), 0);
  EXPECT_EQ(sound_->openRate(0), CowRate);
  EXPECT_EQ(sound_->openRate(1), DogRate);
  EXPECT_EQ(sound_->openRate(2), DogRate);
}

// A reload goes on past a bell whose recording, and its stand-in, fail: the
// bells after it still sound, and the failure is reported.
TEST_F(ThreeBellsTest, AReloadGoesOnPastABellThatFails) {
  WriteFile("sounds/Partly.txt",
            "[Recordings]\nSource=Other\n\n[1]\nOpenFile=gone.wav\n\n[2]\nOpenFile=x.wav\n\n[3]\nOpenFile=y.wav\n");
  WriteRecording("Recordings/Other/x.wav", 44100, 7000);
  WriteRecording("Recordings/Other/y.wav", 44100, 7500);
  Load();
  std::filesystem::remove(data_ / "Program Stuff" / "cow.wav");
  settings_->SetTowerString(tower_string::SoundsFile, "Partly");
  EXPECT_EQ(sound_->reloadSounds(), SoundFailed);
  EXPECT_EQ(sound_->openBuffer(0), Mixer::NoBuffer);
  EXPECT_EQ(Blow(1, false), 7000);
  EXPECT_EQ(Blow(2, false), 7500);
}

TEST_F(ThreeBellsTest, ClosingReleasesEveryBuffer) {
  Load();
  EXPECT_EQ(sound_->mixer().buffersInUse(), 6);
  sound_->closeSound();
  EXPECT_FALSE(sound_->isOpen());
  EXPECT_EQ(sound_->device(), nullptr);
  EXPECT_EQ(sound_->mixer().buffersInUse(), 0);
  EXPECT_EQ(sound_->openBuffer(0), Mixer::NoBuffer);
  sound_->soundBlow(0, true);  // silent, and harmless
  EXPECT_NE(sound_->loadBellSounds(0), 0);
}

// A mono recording in the extensible format, every sample `level`: `subFormat`
// 1 is 16-bit PCM, 3 is 32-bit float; `frames` 0 makes an empty one.
void WriteExtensible(const std::filesystem::path& path, std::uint16_t subFormat, float level, std::uint32_t frames) {
  const std::uint16_t bits = subFormat == 3 ? 32 : 16;
  const std::uint32_t dataBytes = frames * bits / 8;
  std::string bytes;
  const auto put = [&](std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  bytes += "RIFF";
  put(4 + 8 + 40 + 8 + dataBytes, 4);
  bytes += "WAVEfmt ";
  put(40, 4);
  put(0xFFFE, 2);
  put(1, 2);
  put(44100, 4);
  put(44100u * bits / 8, 4);
  put(bits / 8, 2);
  put(bits, 2);
  put(22, 2);    // extra bytes
  put(bits, 2);  // valid bits
  put(4, 4);     // front centre
  put(subFormat, 2);
  for (const int b : {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}) put(b, 1);
  bytes += "data";
  put(dataBytes, 4);
  for (std::uint32_t f = 0; f < frames; ++f) {
    if (bits == 32) {
      std::uint32_t raw;
      std::memcpy(&raw, &level, 4);
      put(raw, 4);
    } else {
      put(static_cast<std::uint16_t>(static_cast<std::int16_t>(level * 32768)), 2);
    }
  }
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// Recordings in the extensible format play, PCM and float alike; one that
// cannot be played is treated as missing: the animal stands in.
TEST_F(TowerSoundTest, ExtensibleRecordingsPlayAndUnplayableOnesGiveTheAnimal) {
  WriteProgramSounds();
  WriteTower(4, "[Recordings]\nSource=Src\n\n[1]\nOpenFile=pcm.wav\n\n[2]\nOpenFile=float.wav\n\n"
                "[3]\nOpenFile=adpcm.wav\n\n[4]\nOpenFile=empty.wav\n");
  const auto folder = data_ / "Recordings" / "Src";
  WriteExtensible(folder / "pcm.wav", 1, 1000 / 32768.0f, 1000);
  WriteExtensible(folder / "float.wav", 3, 0.25f, 1000);
  WriteExtensible(folder / "adpcm.wav", 2, 0.25f, 1000);  // a sub-format we do not play
  WriteExtensible(folder / "empty.wav", 1, 0.25f, 0);
  Load();
  EXPECT_EQ(sound_->openRate(0), 44100u);
  EXPECT_EQ(Blow(0, false), 1000);
  EXPECT_EQ(Blow(1, false), 8192);
  EXPECT_EQ(sound_->openRate(2), DogRate);  // bell index 2: the dog
  EXPECT_EQ(Blow(2, false), DogLevel);
  EXPECT_EQ(sound_->openRate(3), CockerelRate);
  EXPECT_EQ(Blow(3, false), CockerelLevel);
}

// Bells 1 to 10, each with a recording that is not there.
class MissingRecordingsTest : public TowerSoundTest {
 protected:
  void SetUp() override {
    TowerSoundTest::SetUp();
    std::string set = "[Recordings]\nSource=Src\n";
    for (int b = 1; b <= 10; ++b) set += "\n[" + std::to_string(b) + "]\nOpenFile=gone.wav\nMuffledFile=gone.wav\n";
    WriteTower(10, set);
  }
};

TEST_F(MissingRecordingsTest, AnimalsStandInForMissingRecordings) {
  WriteProgramSounds();
  Load();
  struct Case {
    int bell;
    std::uint32_t rate;
    std::int16_t level;
  } cases[] = {{8, CowRate, CowLevel}, {9, CockerelRate, CockerelLevel}, {7, DogRate, DogLevel},
               {0, CowRate, CowLevel},  {3, CockerelRate, CockerelLevel}, {6, CockerelRate, CockerelLevel},
               {1, DogRate, DogLevel},  {4, CowRate, CowLevel}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bell);
    EXPECT_EQ(sound_->openRate(c.bell), c.rate);
    EXPECT_EQ(Blow(c.bell, false), c.level);
  }
  // The muffled recording is always replaced by the cow.
  settings_->SetTowerInt(tower_setting::Clappers, 1);
  sound_->refreshSettings();
  EXPECT_EQ(Blow(9, true), CowLevel);
  // The cow is pitched on the bell's open rate: the cockerel's.
  EXPECT_EQ(sound_->mixer().frequency(sound_->mutedBuffer(9)), CockerelRate);
}

TEST_F(MissingRecordingsTest, WithoutTheAnimalsTheBellStaysSilent) {
  WriteRecording("Program Stuff/quiet.wav", 22050, 0);
  WriteRecording("Program Stuff/cow.wav", CowRate, CowLevel);
  Load(false);
  ASSERT_EQ(sound_->openSound(), 0);
  EXPECT_EQ(sound_->loadBellSounds(8), 0);           // the cow is there
  EXPECT_EQ(sound_->loadBellSounds(7), SoundFailed);  // the dog is not
  EXPECT_EQ(sound_->openBuffer(7), Mixer::NoBuffer);
  EXPECT_EQ(sound_->openRate(7), 0u);
  sound_->applyPitch(-1);
  EXPECT_EQ(Blow(7, false), 0);
  EXPECT_EQ(Blow(8, false), CowLevel);
}

TEST_F(MissingRecordingsTest, TheWarmUpNeedsItsQuietRecording) {
  // No program sounds at all: opening reports the failed warm-up.
  Load(false);
  EXPECT_EQ(sound_->openSound(), SoundFailed);
  EXPECT_EQ(sound_->mixer().buffersInUse(), 0);
}

TEST_F(MissingRecordingsTest, WithoutADeviceTheTowerRingsSilently) {
  WriteProgramSounds();
  Load(false);
  TowerSound silent(*settings_, *tower_, [](Mixer&, std::int32_t& result) -> std::unique_ptr<SoundDevice> {
    result = SoundNoDriver;
    return nullptr;
  });
  silent.setBells(bells_);
  EXPECT_EQ(silent.openSound(), SoundNoDriver);
  EXPECT_FALSE(silent.isOpen());
  EXPECT_EQ(silent.loadBellSounds(0), SoundFailed);
  silent.soundBlow(0, false);
  silent.soundBlow(0, true);
  silent.applyPitch(-1);
  silent.stepVolume(false);
  EXPECT_EQ(settings_->GetInt(setting::Volume), 100);
  EXPECT_EQ(silent.mixer().buffersInUse(), 0);
}

}  // namespace
}  // namespace clangor
