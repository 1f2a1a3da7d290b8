// The data folder the build made (build/share/Orvanta/Clangor): both towers
// load with the simulator's Tower and Bell, every picture and recording they
// name exists, and the program's pictures and sounds have the sizes the
// windows that use them expect.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "shell/settings_store.h"
#include "sound/wave_file.h"
#include "tower/bell.h"
#include "tower/tower.h"

namespace clangor {
namespace {

namespace fs = std::filesystem;

const fs::path Share = CLANGOR_BUILD_SHARE;
const fs::path Data = Share / "Orvanta" / "Clangor";

struct BitmapSize {
  int width = 0, height = 0, bits = 0;
};

// The size in a Windows bitmap's header.
BitmapSize ReadBitmapSize(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char header[30] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  if (!in || header[0] != 'B' || header[1] != 'M') return {};
  const auto le32 = [&](int at) {
    return static_cast<std::int32_t>(header[at] | header[at + 1] << 8 | header[at + 2] << 16 | header[at + 3] << 24);
  };
  return {le32(18), std::abs(le32(22)), header[28] | header[29] << 8};
}

class ProductDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(Data / "Towers")) GTEST_SKIP() << "no data folder made in " << Data;
    registry_ = fs::temp_directory_path() / ("clangor_product_data_" + std::to_string(::getpid()));
    setenv("CLANGOR_COMMON_APPDATA", Share.c_str(), 1);
    setenv("CLANGOR_REGISTRY_DIR", registry_.c_str(), 1);
    settings_ = std::make_unique<SettingsStore>();
  }
  void TearDown() override {
    settings_.reset();
    fs::remove_all(registry_);
  }
  fs::path registry_;
  std::unique_ptr<SettingsStore> settings_;
};

struct TowerCase {
  const char* name;
  int bells;
  const char* firstRing;
};

TEST_F(ProductDataTest, BothTowersLoadAndEveryPictureAndRecordingTheyNameExists) {
  const TowerCase cases[] = {{"Twelve Bells", 12, "Twelve"}, {"Eight Bells", 8, "Eight"}};
  for (const TowerCase& c : cases) {
    SCOPED_TRACE(c.name);
    Tower tower(c.name, *settings_);
    ASSERT_EQ(tower.bellCount(), c.bells);
    ASSERT_FALSE(tower.rings().empty());
    EXPECT_EQ(tower.rings()[0], (RingEntry{c.firstRing, std::string(static_cast<std::size_t>(c.bells), 'U')}));
    EXPECT_FALSE(tower.otherRings().empty());
    EXPECT_GE(tower.soundSets().size(), 2u);
    const fs::path images = Data / "Towers" / "XII" / tower.imagesTower() / "images";
    EXPECT_EQ(ReadBitmapSize(images / "base.bmp").width, tower.baseWidth());
    EXPECT_EQ(ReadBitmapSize(images / "base.bmp").height, tower.baseHeight());
    EXPECT_EQ(ReadBitmapSize(images / "surprise.bmp").width, tower.surpriseW());
    EXPECT_EQ(ReadBitmapSize(images / "surprise_mask.bmp").height, tower.surpriseH());
    for (const std::string& set : tower.soundSets()) {
      settings_->SetTowerString(tower_string::SoundsFile, set.substr(0, set.size() - 4));
      tower.reloadSoundSet();
      for (int b = 0; b < tower.bellCount(); ++b) {
        Bell bell(b, false);
        bell.load(tower);
        const BellData& d = bell.data();
        ASSERT_TRUE(d.canSwing);
        EXPECT_EQ(bell.timingLevel(tower.pealMins()), 3);
        const std::string s = std::to_string(d.sourceBell);
        for (int k = 0; k < d.imageCount; ++k) {
          char name[32];
          std::snprintf(name, sizeof name, "%s-%03d.bmp", s.c_str(), k);
          const BitmapSize size = ReadBitmapSize(images / s / name);
          EXPECT_EQ(size.width, d.width) << name;
          EXPECT_EQ(size.height, d.height) << name;
        }
        EXPECT_EQ(ReadBitmapSize(images / (s + "-mask.bmp")).width, d.width);
        for (const std::string& file : {d.openFile, d.mutedFile}) {
          WaveFile wave;
          ASSERT_EQ(wave.Open((Data / "Recordings" / tower.recordingSource() / file).string()), WaveFile::Ok) << file;
          EXPECT_EQ(wave.Format().samplesPerSec, 44100u);
          EXPECT_EQ(wave.Format().bitsPerSample, 16);
          EXPECT_GT(wave.Size(), 44100u);  // more than half a second of sound
        }
      }
    }
  }
}

TEST_F(ProductDataTest, ProgramPicturesHaveTheirSizes) {
  struct Case {
    const char* file;
    int width, height;
  };
  const Case cases[] = {
      {"digits.bmp", 19 * 150 + 18, 170}, {"rope_sally.bmp", 30, 600},       {"own_sally.bmp", 30, 600},
      {"down_sally.bmp", 30, 600},        {"rings_bar_standard.bmp", 16, 16}, {"touch_bar_hot.bmp", 32, 16},
      {"ringing_bar_disabled.bmp", 160, 16}, {"options_bar_standard.bmp", 80, 16}, {"left.bmp", 28, 28},
      {"right.bmp", 28, 28},              {"up.bmp", 28, 28},                 {"down.bmp", 28, 28},
      {"tick.bmp", 16, 16},
  };
  for (const Case& c : cases) {
    const BitmapSize size = ReadBitmapSize(Data / "Program Stuff" / c.file);
    EXPECT_EQ(size.width, c.width) << c.file;
    EXPECT_EQ(size.height, c.height) << c.file;
  }
  for (const std::string band : {"rings", "touch", "ringing", "options"}) {
    for (const std::string form : {"standard", "hot", "disabled"}) {
      EXPECT_TRUE(fs::exists(Data / "Program Stuff" / (band + "_bar_" + form + ".bmp"))) << band << form;
    }
  }
}

TEST_F(ProductDataTest, ProgramSoundsLibraryAndHelpAreInPlace) {
  for (const char* file : {"quiet.wav", "cow.wav", "cockerel.wav", "dog.wav"}) {
    WaveFile wave;
    ASSERT_EQ(wave.Open((Data / "Program Stuff" / file).string()), WaveFile::Ok) << file;
    EXPECT_TRUE(IsPlayableWaveFormat(wave.Format())) << file;
  }
  const fs::path source = fs::path(std::getenv("CLANGOR_SOURCE_DIR") ? std::getenv("CLANGOR_SOURCE_DIR") : "");
  for (const char* file : {"methods.txt", "call_change_sequences.txt"}) {
    EXPECT_TRUE(fs::exists(Data / "Defaults" / "Compendium" / "XII" / file)) << file;
    EXPECT_TRUE(fs::exists(Data / "Compendium" / "XII" / file)) << file;
    if (!source.empty()) {
      EXPECT_EQ(fs::file_size(Data / "Compendium" / "XII" / file), fs::file_size(source / "data" / "compendium" / file));
    }
  }
  EXPECT_TRUE(fs::exists(Data / "Help" / "clangor_help" / "contents.html"));
  EXPECT_TRUE(fs::exists(Data / "Help" / "clangor_help" / "index.html"));
  // An earlier version's tower folder is what the pre-installation check
  // looks for; the data folder must not have one.
  EXPECT_FALSE(fs::exists(Data / "Towers" / "Eight Bells" / "control.cld"));
}

}  // namespace
}  // namespace clangor
