// The data folder the build made (build/share/Orvanta/Clangor): every tower
// loads with the simulator's Tower and Bell, every picture and recording they
// name exists, and the program's pictures and sounds have the sizes the
// windows that use them expect.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <iterator>
#include <string>
#include <utility>
#include <unistd.h>
#include <vector>

#include "shell/settings_store.h"
#include "shell/settings_table.h"
#include "sound/offline_render.h"
#include "sound/tower_sound.h"
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

struct Rgb {
  int r = -1, g = -1, b = -1;
};

// One pixel of a 24-bit Windows bitmap (rows stored bottom up, each padded
// to four bytes).
Rgb PixelAt(const fs::path& path, int x, int y) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < 54) return {};
  const auto le32 = [&](std::size_t at) { return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24; };
  const int width = le32(18), height = le32(22), offset = le32(10);
  const int stride = (width * 3 + 3) / 4 * 4;
  const std::size_t at = static_cast<std::size_t>(offset + (height - 1 - y) * stride + x * 3);
  if (at + 2 >= bytes.size()) return {};
  return {bytes[at + 2], bytes[at + 1], bytes[at]};
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

// Every tower of the data folder, with the first ring of its menu.
const TowerCase Towers[] = {{"Six Bells", 6, "Six"},           {"Eight Bells", 8, "Eight"},
                            {"Ten Bells", 10, "Ten"},          {"Twelve Bells", 12, "Twelve"},
                            {"Eighteen Bells", 18, "Eighteen"}};

TEST_F(ProductDataTest, EveryTowerLoadsAndEveryPictureAndRecordingItNamesExists) {
  for (const TowerCase& c : Towers) {
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

// The rings a band asks for on the eighteen: the back sixteen, fourteen and
// twelve, the tenor always rung.
TEST_F(ProductDataTest, TheEighteenOffersItsBackRings) {
  Tower tower("Eighteen Bells", *settings_);
  ASSERT_EQ(tower.bellCount(), 18);
  const std::vector<RingEntry> wanted = {{"Back sixteen", "--UUUUUUUUUUUUUUUU"},
                                         {"Back fourteen", "----UUUUUUUUUUUUUU"},
                                         {"Back twelve", "------UUUUUUUUUUUU"}};
  for (const RingEntry& ring : wanted) {
    EXPECT_NE(std::find(tower.rings().begin(), tower.rings().end(), ring), tower.rings().end()) << ring.first;
  }
  EXPECT_EQ(tower.bellProperty(17, "Name"), "Tenor");
}

// The pictures stay lean: every tower's loaded pictures (its RAM) within
// 400 MB, and the whole data folder, packed into the setup package, within
// 300 MB.
TEST_F(ProductDataTest, PicturesAndDataFolderStayWithinTheirMemoryAndSize) {
  for (const TowerCase& c : Towers) {
    Tower tower(c.name, *settings_);
    EXPECT_GT(tower.ram(), 0) << c.name;
    EXPECT_LT(tower.ram(), 400) << c.name;
  }
  std::uintmax_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(Data)) {
    if (entry.is_regular_file()) bytes += entry.file_size();
  }
  EXPECT_LT(bytes, 300u << 20);
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

TEST_F(ProductDataTest, DigitCellsHoldTheirCharactersOnTheColourKey) {
  const fs::path digits = Data / "Program Stuff" / "digits.bmp";
  for (int cell = 0; cell < 19; ++cell) {
    SCOPED_TRACE(cell);
    const int left = 151 * cell;
    // The corner of each cell and the column after it are the colour key.
    const Rgb corner = PixelAt(digits, left + 2, 2);
    EXPECT_EQ(corner.r, 255);
    EXPECT_EQ(corner.g, 0);
    EXPECT_EQ(corner.b, 255);
    if (cell < 18) {
      EXPECT_EQ(PixelAt(digits, left + 150, 85).g, 0);
    }
    // Somewhere across the middle of the cell the character is drawn.
    bool drawn = false;
    for (int x = left + 20; x < left + 130 && !drawn; ++x) {
      const Rgb p = PixelAt(digits, x, 85);
      drawn = p.g < 64 && (p.r < 64 || cell == 18);  // black characters, a red cross
    }
    EXPECT_TRUE(drawn);
  }
}

TEST_F(ProductDataTest, ControlTablesHoldEveryRow) {
  for (const auto& [name, bells, ring] : Towers) {
    const fs::path cld = Data / "Towers" / "XII" / name / "control.cld";
    EXPECT_EQ(fs::file_size(cld), 8u + static_cast<std::uintmax_t>(bells) * bells * 5460 * 8) << name;
    std::ifstream in(cld, std::ios::binary);
    unsigned char header[8] = {};
    in.read(reinterpret_cast<char*>(header), 8);
    EXPECT_EQ(header[0], bells);
    EXPECT_EQ(header[4], 1);
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

// A whole ring struck at once, at full volume and at every pitch the user can
// set: the limiter keeps the sum off full scale, and the recordings leave it
// room (most of the time it has nothing to do).
TEST_F(ProductDataTest, TwelveBellsStruckTogetherNeverReachFullScale) {
  Tower tower("Twelve Bells", *settings_);
  ASSERT_EQ(tower.bellCount(), 12);
  std::vector<Bell> bells;
  bells.reserve(12);
  for (int b = 0; b < 12; ++b) bells.emplace_back(b, false);
  for (Bell& bell : bells) bell.load(tower);
  OfflineRender* render = nullptr;
  TowerSound sound(*settings_, tower, OfflineRender::Opener(render));
  sound.setBells(bells);
  ASSERT_EQ(sound.openSound(), 0);
  for (int b = 0; b < 12; ++b) ASSERT_EQ(sound.loadBellSounds(b), 0) << "bell " << b;
  sound.setVolume(Mixer::MaxVolume);
  // Twelve blows inside one blow interval at the quickest peal speed.
  constexpr std::uint64_t Apart = Mixer::OutputRate * 160 / 1000 / 12;
  for (int shift = -SemitoneShiftLimit; shift <= SemitoneShiftLimit; ++shift) {
    SCOPED_TRACE("semitone shift " + std::to_string(shift));
    settings_->SetTowerString(tower_string::SemitoneShift, std::to_string(shift));
    sound.refreshSettings();
    sound.applyPitch(-1);
    const std::size_t from = render->samples().size();
    for (int b = 0; b < 12; ++b) {
      sound.soundBlow(b, false);
      render->renderFrames(Apart);
    }
    render->renderFrames(Mixer::OutputRate);
    const auto& out = render->samples();
    const auto loudest = std::max_element(out.begin() + static_cast<std::ptrdiff_t>(from), out.end(),
                                          [](std::int16_t a, std::int16_t b) { return std::abs(a) < std::abs(b); });
    EXPECT_LT(std::abs(*loudest), 32767);
    EXPECT_GT(std::abs(*loudest), 8000);  // the bells did sound
    for (int b = 0; b < 12; ++b) sound.mixer().stop(sound.openBuffer(b));
    render->renderFrames(Mixer::MaxFramesPerPeriod);
  }
}

}  // namespace
}  // namespace clangor
