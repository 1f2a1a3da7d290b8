// clangor-ring ring: the real engine rings a touch on a tower written by the
// test, and publishes the same rows as the generator rung on its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/engine/engine_fixture.h"
#include "tools/ring/arguments.h"
#include "tools/ring/commands.h"
#include "tools/ring/library_commands.h"

namespace clangor::testing {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class RingCommandTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    const char* source = std::getenv("CLANGOR_SOURCE_DIR");
    const auto library = data_ / "Defaults" / "Compendium" / "XII";
    std::filesystem::create_directories(library);
    for (const char* file : {"methods.txt", "compositions.txt", "call_change_sequences.txt"})
      std::filesystem::copy_file(std::filesystem::path(source ? source : ".") / "data" / "compendium" / file,
                                 library / file);
  }

  // Runs a command in this process; its standard output, and its status.
  std::string Run(int (*command)(const std::vector<std::string>&), std::vector<std::string> args, int& status) {
    ::testing::internal::CaptureStdout();
    try {
      status = command(args);
    } catch (const ring::UsageError&) {
      status = 2;
    }
    return ::testing::internal::GetCapturedStdout();
  }
  std::vector<std::string> Ring(std::vector<std::string> args, int expectStatus = 0) {
    args.insert(args.begin(), {"--data", data_.string(), "--tower", "Test"});
    int status = -1;
    const std::string out = Run(ring::RunRing, args, status);
    EXPECT_EQ(status, expectStatus);
    return Lines(out);
  }
  // The changed rows the generator publishes when rung on its own, with the
  // rounds it comes round at.
  std::vector<std::string> GeneratorRows(const std::vector<std::string>& args,
                                         int (*command)(const std::vector<std::string>&) = ring::RunRows) {
    int status = -1;
    auto rows = Lines(Run(command, args, status));
    EXPECT_EQ(status, 0);
    return rows;
  }
  // Drops the rounds rung before the touch started.
  static std::vector<std::string> Changes(std::vector<std::string> rows, const std::string& rounds) {
    while (!rows.empty() && rows.front() == rounds) rows.erase(rows.begin());
    return rows;
  }
};

const std::string PlainBobMinor = "|12|&-16-16-16,|14|1234";

TEST_F(RingCommandTest, APlainCourseRingsTheGeneratorsRowsAndStandsAtRounds) {
  WriteTower(6);
  const auto rows = Ring({"--method", "Plain Bob Minor"});
  EXPECT_EQ(Changes(rows, "123456"), GeneratorRows({"--stage", "6", "--line", PlainBobMinor}));
}

TEST_F(RingCommandTest, CallsAreMadeLeadByLead) {
  WriteTower(6);
  const auto rows = Ring({"--method", "Plain Bob Minor", "--calls", "bbb"});
  EXPECT_EQ(Changes(rows, "123456"), GeneratorRows({"--stage", "6", "--line", PlainBobMinor, "--calls", "bbb"}));
}

TEST_F(RingCommandTest, ACompositionRingsItsCallingWithItsMethod) {
  WriteTower(8);
  const auto rows = Ring({"--composition", "Two Bobbed Courses"});
  // The composition command reads only the user's library.
  std::filesystem::copy(data_ / "Defaults" / "Compendium", data_ / "Compendium",
                        std::filesystem::copy_options::recursive);
  const auto alone = GeneratorRows({"--data", data_.string(), "--name", "Two Bobbed Courses"}, ring::RunComposition);
  EXPECT_EQ(alone.size(), 224u);  // the last of them rounds
  EXPECT_EQ(Changes(rows, "12345678"), alone);
}

TEST_F(RingCommandTest, TheBackBellsRingWhenFewerAreAskedFor) {
  WriteTower(8);
  const auto rows = Ring({"--bells", "6", "--method", "Plain Bob"});
  EXPECT_EQ(Changes(rows, "123456"), GeneratorRows({"--stage", "6", "--line", PlainBobMinor}));
}

TEST_F(RingCommandTest, RoundsRingsTheRowsAskedForAndStands) {
  WriteTower(4);
  const auto rows = Ring({"--rounds", "10"});
  EXPECT_GE(rows.size(), 10u);
  EXPECT_LE(rows.size(), 14u);
  for (const auto& row : rows) EXPECT_EQ(row, "1234");
}

TEST_F(RingCommandTest, ASequenceGoesToItsRowAndBack) {
  WriteTower(6);
  const auto rows = Ring({"--sequence", "Queens"});
  EXPECT_NE(std::find(rows.begin(), rows.end(), "135246"), rows.end());
  EXPECT_EQ(rows[rows.size() - 2], "132456");
  EXPECT_EQ(rows.back(), "123456");  // the bells stand at rounds
}

TEST_F(RingCommandTest, TheReportGivesEveryBellAndTheWholeTouch) {
  WriteTower(4);
  const auto lines = Ring({"--rounds", "8", "--report"});
  int bellLines = 0;
  bool whole = false;
  for (const auto& line : lines) {
    if (line.rfind("   ", 0) == 0 && line.size() > 4) ++bellLines;
    if (line.rfind(" all", 0) == 0) whole = true;
  }
  EXPECT_EQ(bellLines, 4);
  EXPECT_TRUE(whole);
}

TEST_F(RingCommandTest, RefusesWhatTheTowerOrLibraryCannotRing) {
  WriteTower(4);
  Ring({"--bells", "6", "--rounds", "4"}, 1);
  Ring({"--method", "No Such Method"}, 1);
  Ring({"--ring", "Back Ten", "--rounds", "4"}, 1);
  Ring({"--rounds", "4", "--method", "Plain Bob Minimus"}, 2);
  Ring({"--composition", "Two Bobbed Courses"}, 1);  // a Major composition on four bells
  Ring({"--composition", "Two Bobbed Courses", "--calls", "b"}, 2);
  Ring({}, 2);
}

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A touch from the command line reads the simulator's preferences and leaves
// them exactly as they were, its own choices of tower, speed and action at
// rounds included.
TEST_F(RingCommandTest, TheSimulatorsSettingsAreReadNeverWritten) {
  WriteTower(4);
  tower_.reset();
  settings_.reset();
  {
    SettingsStore store;
    store.SetString(TowerNameSetting, "Twelve Bells");
    store.SetInt(setting::ActionAtRounds, 0);
    store.SetInt(setting::KeepGoingCount, 5);
    TowerDefaults test;
    test.name = "Test";
    store.LoadTowerSettings(test);
    store.SetTowerInt(tower_setting::PealMins, 200);
    store.SaveTowerSettings(test);
  }
  const auto hive = root_ / "registry" / "HKEY_CURRENT_USER.reg";
  const std::string before = FileBytes(hive);
  ASSERT_FALSE(before.empty());
  EXPECT_GE(Ring({"--rounds", "2", "--speed", "160"}).size(), 2u);
  EXPECT_EQ(FileBytes(hive), before);
  // A tower seen for the first time gets no key of its own either.
  WriteFile("tower.txt", "[Tower]\nRAM=16\n", "Other");
  std::filesystem::copy(TowerFolder(), TowerFolder("Other"), std::filesystem::copy_options::recursive |
                                                                 std::filesystem::copy_options::skip_existing);
  int status = -1;
  Run(ring::RunRing, {"--data", data_.string(), "--tower", "Other", "--rounds", "2"}, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(FileBytes(hive), before);
}

// A bell that cannot swing is named when the tower loads; the others ring,
// and a touch that needs it is refused in words.
TEST_F(RingCommandTest, ABellThatCannotSwingIsNamedAndTheOthersRing) {
  WriteTower(4);
  std::string control = "[Base Image]\nWidth=640\nHeight=480\n\n";
  for (int b = 1; b <= 3; ++b) control += BellSection(b);
  WriteFile("control.txt", control + BellSection(3, "Period=0\n").replace(1, 1, "4"));
  WriteFile("tower.txt", "[Tower]\nRAM=16\nPealMins=180\n\n[Rings]\nFront three=UUU\nAll four=UUUU\n");
  tower_.reset();
  settings_.reset();
  ::testing::internal::CaptureStderr();
  EXPECT_GE(Ring({"--ring", "Front three", "--rounds", "2"}).size(), 2u);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("Bell 4 of \"Test\" cannot ring: its period is 0"),
            std::string::npos);
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(Ring({"--ring", "All four", "--rounds", "2"}, 1).empty());
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("bell 4 cannot swing"), std::string::npos);
}

struct StrokeLine {
  int blows = -1, missed = -1;
  double rms = 0, mean = 0, sd = 0;
};

// The figures of one stroke ("handstroke", "backstroke", "all") in the own
// bell's striking report.
StrokeLine Figures(const std::vector<std::string>& lines, const std::string& stroke) {
  StrokeLine f;
  for (const auto& line : lines) {
    std::istringstream in(line);
    std::string name;
    if (in >> name && name == stroke && (in >> f.blows >> f.missed >> f.rms >> f.mean >> f.sd)) return f;
  }
  ADD_FAILURE() << "no " << stroke << " line";
  return f;
}

// The own bell's places, listed by the ringer: where each blow belonged, in
// seconds from the touch's first blow.
struct Place {
  bool handstroke;
  double seconds;
};

std::vector<Place> Places(const std::vector<std::string>& lines) {
  std::vector<Place> places;
  for (const auto& line : lines) {
    std::istringstream in(line);
    std::string word, stroke;
    int number = 0;
    double seconds = 0;
    if (in >> word >> number >> stroke >> seconds && word == "place") places.push_back({stroke == "handstroke", seconds});
  }
  return places;
}

// The user's taps on bell 4, read from a file, judged against where each
// blow belonged: taps on the places the ringer listed, then the same taps
// with each backstroke 30 ms late, then with one left out. The touch rings
// on simulated time: its places are the same each time it is rung.
TEST_F(RingCommandTest, TheTapsOnTheOwnBellAreJudgedAgainstWhereTheyBelonged) {
  WriteTower(4);
  const std::vector<Place> places = Places(Ring({"--rounds", "16", "--own-bell", "4"}));
  ASSERT_GE(places.size(), 14u);
  EXPECT_TRUE(places[0].handstroke);
  EXPECT_FALSE(places[1].handstroke);
  // Taps for the first twelve places only: the stand may come a row sooner
  // or later from one run to the next.
  constexpr int Tapped = 12;
  const auto tapFile = data_ / "taps.txt";
  const auto ringWith = [&](double backMs, int leaveOut) {
    std::ofstream out(tapFile);
    out << "# seconds from the first blow\n";
    for (int k = 0; k < Tapped; ++k)
      if (k != leaveOut) out << places[k].seconds + (places[k].handstroke ? 0.0 : backMs / 1000.0) << "\n";
    out.close();
    return Ring({"--rounds", "16", "--own-bell", "4", "--taps", tapFile.string()});
  };
  const auto onTime = ringWith(0, -1);
  EXPECT_EQ(Figures(onTime, "all").blows, Tapped);
  EXPECT_NEAR(Figures(onTime, "all").rms, 0.0, 0.05);
  EXPECT_NEAR(Figures(onTime, "all").mean, 0.0, 0.05);

  const auto late = ringWith(30, -1);
  EXPECT_EQ(Figures(late, "backstroke").blows, Tapped / 2);
  EXPECT_NEAR(Figures(late, "backstroke").mean, 30.0, 0.05);
  EXPECT_NEAR(Figures(late, "backstroke").sd, 0.0, 0.05);
  EXPECT_NEAR(Figures(late, "handstroke").mean, 0.0, 0.05);
  EXPECT_NEAR(Figures(late, "all").rms, std::sqrt(30.0 * 30.0 / 2), 0.05);
  // Every backstroke is as late: the worst is one of them, a few microseconds apart.
  EXPECT_NE(std::find_if(late.begin(), late.end(),
                         [](const std::string& line) {
                           return line.rfind("Worst blow: row ", 0) == 0 &&
                                  line.find(" backstroke, 30 ms late") != std::string::npos;
                         }),
            late.end());

  const auto missing = ringWith(0, 4);  // row 5, a handstroke
  EXPECT_EQ(Figures(missing, "all").blows, Tapped - 1);
  EXPECT_EQ(Figures(missing, "handstroke").blows, Tapped / 2 - 1);
  EXPECT_GE(Figures(missing, "handstroke").missed, 1);

  // The own bell must be rung; a tap file must hold times; taps need a bell.
  Ring({"--rounds", "4", "--bells", "2", "--own-bell", "1", "--taps", tapFile.string()}, 1);
  std::ofstream(tapFile) << "0.25\nsoon\n";
  Ring({"--rounds", "4", "--own-bell", "4", "--taps", tapFile.string()}, 2);
  Ring({"--rounds", "4", "--taps", tapFile.string()}, 2);
}

}  // namespace
}  // namespace clangor::testing
