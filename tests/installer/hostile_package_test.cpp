#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "installer/package/package_error.h"
#include "installer/steps/installation.h"
#include "tests/installer/redirected_root.h"
#include "tests/installer/sample_package.h"

namespace clangor::outfit {
namespace {

namespace fs = std::filesystem;
using clangor::testing::ReadFile;
using clangor::testing::WriteFile;
using testing::Bytes;
using testing::RedirectedRoot;
using testing::SamplePackage;

class HostilePackage : public ::testing::Test {
 protected:
  void Install(const std::string& package) {
    PackageReader reader(package);
    reader.ReadSections();
    InstallChoices choices;
    choices.folders.setupFolder = root / "packages";
    Installation(reader, choices).Run();
  }
  std::string AppFolder() const { return root.Folder(ShellFolder::ProgramFiles) + "/Orvanta/Tinkle"; }
  // Every "ftx" file left anywhere on the machine.
  std::vector<std::string> LeftOvers() const {
    std::vector<std::string> found;
    for (const auto& item : root.MachineFiles())
      if (fs::path(item).filename().string().rfind("ftx", 0) == 0) found.push_back(item);
    return found;
  }
  RedirectedRoot root;
};

// Packages whose paths reach outside the folders they install into: each
// is refused before anything is written.
TEST_F(HostilePackage, PathsOutsideTheFoldersAreRefusedBeforeWriting) {
  struct Case {
    const char* name;
    std::function<void(SamplePackage&)> spoil;
  } cases[] = {
      {"climbs with ..", [](SamplePackage& s) { s.AddFile("%APPFOLDER%\\..\\..\\..\\..\\escaped", Bytes("x")); }},
      {"absolute path", [](SamplePackage& s) { s.AddFile("/tmp/clangor-escaped", Bytes("x")); }},
      {"drive path", [](SamplePackage& s) { s.AddFile("C:\\Windows\\escaped", Bytes("x")); }},
      {"Windows folder", [](SamplePackage& s) { s.AddFile("%WINDOWS%\\escaped", Bytes("x")); }},
      {"system drive", [](SamplePackage& s) { s.AddFile("%SYSTEMDRIVE%\\escaped", Bytes("x")); }},
      {"own variable made absolute",
       [](SamplePackage& s) {
         s.package.variables = "EVIL/tmp%";
         s.AddFile("%EVIL%\\escaped", Bytes("x"));
       }},
      {"own variable climbing",
       [](SamplePackage& s) {
         s.package.variables = "EVIL*%DESKTOP%\\..\\..%";
         s.AddFile("%EVIL%\\escaped", Bytes("x"));
       }},
      {"folder list climbing", [](SamplePackage& s) { s.package.folders[0].path = "%PROGRAMFILES%\\..\\..\\.."; }},
      {"folder refers to itself", [](SamplePackage& s) { s.package.folders[0].path = "%APPFOLDER%\\x"; }},
      {"shortcut name climbing", [](SamplePackage& s) { s.package.shortcuts[0].name = "..\\..\\..\\escaped.lnk"; }},
      {"shortcut target outside", [](SamplePackage& s) { s.package.shortcuts[0].target = "/bin/sh"; }},
      {"temporary file with a folder", [](SamplePackage& s) { s.AddTemporaryFile("../escaped", Bytes("x")); }},
      {"uninstall key with a sub-key", [](SamplePackage& s) { s.package.settings.uninstallKey = "..\\Run"; }},
      {"program it does not carry",
       [](SamplePackage& s) {
         s.package.programs.push_back({});
         s.package.programs[0].texts[0] = "/bin/true";
       }},
  };
  for (const auto& c : cases) {
    SamplePackage sample;
    c.spoil(sample);
    sample.Write(root.Package());
    EXPECT_THROW(Install(root.Package()), PackageError) << c.name;
    EXPECT_EQ(root.MachineFiles(), std::vector<std::string>{"TEMP"}) << c.name;
    EXPECT_EQ(RedirectedRoot::Listing(root.path()),
              (std::vector<std::string>{"machine", "machine/TEMP", "packages", "packages/tinkle.pkg", "registry"}))
        << c.name;
  }
  EXPECT_FALSE(fs::exists("/tmp/clangor-escaped"));
}

TEST_F(HostilePackage, ALinkOutOfTheFolderIsNotFollowed) {
  std::string outside = root / "machine/outside";
  fs::create_directories(outside);
  fs::create_directories(AppFolder());
  fs::create_directory_symlink(outside, AppFolder() + "/Towers");
  SamplePackage sample;
  sample.AddFile("%APPFOLDER%\\Towers\\escaped", Bytes("x"));
  sample.Write(root.Package());
  EXPECT_THROW(Install(root.Package()), PackageError);
  EXPECT_TRUE(fs::is_empty(outside));
  EXPECT_FALSE(fs::exists(AppFolder() + "/Outfit.log"));
}

// The file table of a written package, to be made to lie.
struct FileTable {
  std::vector<std::uint8_t> bytes;
  std::size_t count = 0, crcs = 0;
  explicit FileTable(const std::string& path) {
    std::string text = ReadFile(path);
    bytes.assign(text.begin(), text.end());
    SetupPackage package = ReadPackage(path);
    count = package.files.size();
    std::vector<std::uint8_t> needle;
    for (const auto& f : package.files)
      for (int i = 0; i < 4; ++i) needle.push_back(static_cast<std::uint8_t>(f.crc >> (8 * i)));
    crcs = static_cast<std::size_t>(std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end()) - bytes.begin());
  }
  void Set(std::size_t at, std::uint32_t value) { std::memcpy(&bytes[at], &value, 4); }
  std::uint32_t Get(std::size_t at) const {
    std::uint32_t value;
    std::memcpy(&value, &bytes[at], 4);
    return value;
  }
  std::size_t Crc(std::size_t file) const { return crcs + 4 * file; }
  std::size_t Size(std::size_t file) const { return crcs - 4 * count + 4 * file; }
  std::size_t Position(std::size_t file) const { return crcs - 20 * count + 4 * file; }
  void Save(const std::string& path) const { WriteFile(path, std::string(bytes.begin(), bytes.end())); }
};

// Files whose data does not match what the table says about them: the
// installation stops at that file, and neither the file nor a part of it is
// left on the machine.
TEST_F(HostilePackage, FilesThatDoNotUnpackToWhatTheTableSaysAreRefused) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> data;
    std::function<void(FileTable&)> lie;
  } cases[] = {
      {"CRC-32 that lies", Bytes("#!/bin/sh\necho tinkle\n"), [](FileTable& t) { t.Set(t.Crc(0), t.Get(t.Crc(0)) ^ 1); }},
      {"size too large", Bytes("#!/bin/sh\necho tinkle\n"), [](FileTable& t) { t.Set(t.Size(0), t.Get(t.Size(0)) + 1); }},
      {"size too small", Bytes("#!/bin/sh\necho tinkle\n"), [](FileTable& t) { t.Set(t.Size(0), t.Get(t.Size(0)) - 1); }},
      {"zlib bomb", std::vector<std::uint8_t>(64u << 20, 0), [](FileTable& t) { t.Set(t.Size(0), 1000); }},
      {"position past the end", Bytes("#!/bin/sh\n"), [](FileTable& t) { t.Set(t.Position(0), 0x7FFFFFF0); }},
      {"position into the header", Bytes("#!/bin/sh\n"), [](FileTable& t) { t.Set(t.Position(0), 170); }},
  };
  for (const auto& c : cases) {
    SamplePackage sample;
    sample.contents[0] = c.data;
    sample.Write(root.Package());
    FileTable table(root.Package());
    c.lie(table);
    table.Save(root.Package());
    try {
      Install(root.Package());
      ADD_FAILURE() << c.name << " was installed";
    } catch (const PackageError& e) {
      EXPECT_NE(std::string(e.what()).find("damaged"), std::string::npos) << c.name << ": " << e.what();
    }
    EXPECT_FALSE(fs::exists(AppFolder() + "/tinkle")) << c.name;
    EXPECT_TRUE(LeftOvers().empty()) << c.name;
    fs::remove_all(root / "machine");
  }
}

// Packages cut short or with counts larger than themselves: reading them
// ends in a message, never a crash or an allocation of what they claim.
TEST_F(HostilePackage, DamagedStructureIsAMessage) {
  SamplePackage sample;
  sample.AddFile("%APPFOLDER%\\big.wav", testing::Noise(40000, 4));
  sample.Write(root.Package());
  std::string whole = ReadFile(root.Package());
  PackageReader header(root.Package());
  header.ReadHeader();
  const std::size_t sections = static_cast<std::size_t>(header.SectionsStart());
  struct Case {
    const char* name;
    std::function<std::string(std::string)> spoil;
  } cases[] = {
      {"cut in the header", [](std::string b) { return b.substr(0, 400); }},
      {"cut in the sections", [&](std::string b) { return b.substr(0, sections + 30); }},
      {"cut in a file", [](std::string b) { return b.substr(0, b.size() - 1000); }},
      {"too short to be a package", [](std::string b) { return b.substr(0, 100); }},
      {"data offset outside", [](std::string b) { return b.replace(144, 4, "\xff\xff\xff\x7f", 4); }},
      {"text longer than the package", [](std::string b) { return b.replace(164, 4, "\xff\xff\xff\x7f", 4); }},
      {"text that is no zlib stream", [](std::string b) { return b.replace(170, 4, "\x00\x01\x02\x03", 4); }},
      {"more components than the package", [&](std::string b) { return b.replace(sections, 1, "\xff", 1); }},
      {"no components, files of the first", [&](std::string b) { return b.replace(sections, 1, "\x00", 1); }},
  };
  for (const auto& c : cases) {
    WriteFile(root.Package(), c.spoil(whole));
    EXPECT_THROW(
        {
          PackageReader reader(root.Package());
          reader.ReadSections();
          for (std::size_t i = 0; i < reader.Package().files.size(); ++i) {
            std::ostringstream out;
            reader.ExtractFile(i, out);
          }
        },
        PackageError)
        << c.name;
  }
  EXPECT_EQ(root.MachineFiles(), std::vector<std::string>{"TEMP"});
}

TEST_F(HostilePackage, ATruncatedVolumeIsRefused) {
  SamplePackage sample;
  sample.AddFile("%APPFOLDER%\\big.wav", testing::Noise(40000, 5));
  auto volumes = sample.Write(root.Package(), 8192);
  ASSERT_GE(volumes.size(), 4u);
  fs::resize_file(volumes[2], 5000);
  EXPECT_THROW(Install(root.Package()), PackageError);
  EXPECT_FALSE(fs::exists(AppFolder() + "/big.wav"));
  EXPECT_TRUE(LeftOvers().empty());
}

}  // namespace
}  // namespace clangor::outfit
