#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "installer/package/package_error.h"
#include "installer/package/package_reader.h"
#include "installer/package/zlib_streams.h"
#include "tests/installer/sample_package.h"
#include "tests/platform/temp_folder.h"

namespace clangor::outfit {
namespace {

using clangor::testing::TempFolder;
using testing::Bytes;
using testing::Noise;
using testing::SamplePackage;

std::string Extract(PackageReader& reader, std::size_t index) {
  std::ostringstream out;
  reader.ExtractFile(index, out);
  return out.str();
}

TEST(PackageFormat, OneVolumeReadsBackWhatWasWritten) {
  TempFolder temp;
  SamplePackage sample;
  sample.package.portable = true;
  sample.package.portableFolder = "%SETUPFOLDER%\\Tinkle";
  sample.package.block97.emplace();
  (*sample.package.block97)[96] = 7;
  sample.package.raw68[3] = 9;
  sample.package.fileTypes = {{'1', ".tnk", "Tinkle touch", 3, 1, {{"open", 1, "tinkle %1"}, {"print", 2, "p"}}}};
  sample.package.programs.push_back({});
  sample.package.programs[0].texts[0] = "Veriprobe";
  sample.package.programs[0].wait = 1;
  sample.package.variables = "MUSIC*%MYDOCUMENTS%\\Music%";
  sample.package.finalOptions[0] = 1;
  sample.package.runAfterInstall = 1;
  sample.package.runParameters = "--hello";
  sample.AddFile("%APPFOLDER%\\empty", {}, 1).overwriteMode = OverwriteNever;
  sample.package.files[0].shared = true;
  sample.package.files[0].versionHigh = 0x00020001;
  sample.package.files[0].versionLow = 5;
  auto volumes = sample.Write(temp / "tinkle.pkg");
  ASSERT_EQ(volumes.size(), 1u);

  PackageReader reader(temp / "tinkle.pkg");
  reader.ReadHeader();
  reader.ReadSections();
  const SetupPackage& p = reader.Package();
  EXPECT_EQ(p.Message(29), "&Proceed >");
  EXPECT_EQ(p.settings.applicationName, "Tinkle");
  EXPECT_EQ(p.settings.uninstallKey, "Tinkle 1.0");
  EXPECT_EQ(p.settings.year, 2026);
  EXPECT_EQ(p.settings.day, 11);
  EXPECT_EQ(p.settings.iconIndex, -1);
  ASSERT_EQ(p.folders.size(), 3u);
  EXPECT_TRUE(p.folders[2].shared);
  EXPECT_EQ(p.folders[1].path, "%PROGRAMSMENU%\\Tinkle");
  EXPECT_TRUE(p.portable);
  EXPECT_EQ(p.portableFolder, "%SETUPFOLDER%\\Tinkle");
  EXPECT_EQ(p.raw68[3], 9);
  ASSERT_TRUE(p.block97);
  EXPECT_EQ((*p.block97)[96], 7);
  ASSERT_EQ(p.components.size(), 2u);
  EXPECT_TRUE(p.components[0].required);
  EXPECT_EQ(p.components[0].folders, (std::vector<std::string>{"%APPMENU%", "%DESKTOP%"}));
  EXPECT_EQ(p.components[1].description, "More");
  ASSERT_EQ(p.fileTypes.size(), 1u);
  EXPECT_EQ(p.fileTypes[0].Listing(), ".tnk -> Tinkle touch (open, print)");
  ASSERT_EQ(p.programs.size(), 1u);
  EXPECT_EQ(p.programs[0].texts[0], "Veriprobe");
  EXPECT_EQ(p.variables, "MUSIC*%MYDOCUMENTS%\\Music%");
  EXPECT_TRUE(p.ShowsBackground());
  EXPECT_EQ(p.runParameters, "--hello");
  ASSERT_EQ(p.shortcuts.size(), 1u);
  EXPECT_EQ(p.shortcuts[0].arguments, "--loud");
  ASSERT_EQ(p.files.size(), 5u);
  EXPECT_EQ(p.files.back().name, "%APPFOLDER%\\UnoutfitV.exe");
  EXPECT_TRUE(p.files[0].shared);
  EXPECT_EQ(p.files[0].versionHigh, 0x00020001u);
  EXPECT_EQ(p.files[2].overwriteMode, OverwriteNever);
  EXPECT_EQ(p.files[2].component, 1);
  EXPECT_FALSE(p.files[3].HasVersion());
  for (std::size_t i = 0; i < p.files.size(); ++i) {
    EXPECT_EQ(Extract(reader, i), std::string(sample.contents[i].begin(), sample.contents[i].end())) << i;
    EXPECT_EQ(p.files[i].crc, Crc32(sample.contents[i])) << i;
  }
}

TEST(PackageFormat, VolumesReadAcrossTheirBoundaries) {
  TempFolder temp;
  SamplePackage sample;
  auto big = Noise(50000, 1);
  sample.AddFile("%APPFOLDER%\\big.wav", big);
  auto volumes = sample.Write(temp / "tinkle.pkg", 8192);
  ASSERT_GE(volumes.size(), 6u);
  EXPECT_EQ(volumes[1], temp / "tinkle.002");
  EXPECT_EQ(std::filesystem::file_size(volumes[0]), 8192u);

  PackageReader reader(temp / "tinkle.pkg");
  reader.ReadSections();
  std::size_t index = 2;
  ASSERT_EQ(reader.Package().files[index].name, "%APPFOLDER%\\big.wav");
  // The file starts in one volume and ends several later.
  EXPECT_LT(reader.Package().files[index].position / 8192 + 1, static_cast<int>(volumes.size()));
  std::string data = Extract(reader, index);
  EXPECT_EQ(data, std::string(big.begin(), big.end()));
}

TEST(PackageFormat, AMissingVolumeIsAskedForUntilItIsThere) {
  TempFolder temp;
  SamplePackage sample;
  auto big = Noise(30000, 2);
  sample.AddFile("%APPFOLDER%\\big.wav", big);
  auto volumes = sample.Write(temp / "tinkle.pkg", 8192);
  std::filesystem::rename(volumes[2], temp / "away");
  std::vector<int> asked;
  PackageReader reader(temp / "tinkle.pkg", [&](int volume) {
    asked.push_back(volume);
    if (asked.size() == 2) std::filesystem::rename(temp / "away", volumes[2]);
    return true;
  });
  reader.ReadSections();
  EXPECT_EQ(Extract(reader, 2), std::string(big.begin(), big.end()));
  EXPECT_EQ(asked, (std::vector<int>{3, 3}));
}

TEST(PackageFormat, AMissingVolumeGivenUpOnIsAnError) {
  TempFolder temp;
  SamplePackage sample;
  sample.AddFile("%APPFOLDER%\\big.wav", Noise(30000, 3));
  auto volumes = sample.Write(temp / "tinkle.pkg", 8192);
  std::filesystem::remove(volumes[2]);
  PackageReader reader(temp / "tinkle.pkg", [](int) { return false; });
  reader.ReadSections();
  EXPECT_THROW(Extract(reader, 2), PackageError);
}

TEST(PackageFormat, ZlibStreamsAreBounded) {
  std::string text(100000, 'a');
  auto stream = Deflate(text);
  EXPECT_TRUE(InflateBounded(stream, 100000));
  EXPECT_FALSE(InflateBounded(stream, 99999));
  stream.pop_back();
  EXPECT_FALSE(InflateBounded(stream, 100000));
  EXPECT_EQ(Crc32(Bytes("123456789")), 0xCBF43926u);
}

}  // namespace
}  // namespace clangor::outfit
