// The user's striking history file: lines added touch by touch, read back,
// and a damaged file kept aside rather than written over.
#include <gtest/gtest.h>

#include "library/striking_history.h"
#include "tests/library/temp_folder.h"

namespace clangor {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

StrikingHistoryLine Touch(const std::string& date, double rms) {
  return {date, "Eight Bells", "Plain Bob Major, \"quick\"", 8, 224, rms, -3.25, 12.5};
}

TEST(StrikingHistory, EachTouchAddsALineReadBackAsWritten) {
  TempFolder folder;
  const auto file = StrikingHistoryPath(folder.path(), "ann", "Eight Bells");
  EXPECT_EQ(file, folder.path() / "Striking" / "ann" / "Eight Bells.csv");
  EXPECT_TRUE(AppendStrikingHistory(file, Touch("2026-12-10 19:30", 31.0)).written);
  EXPECT_TRUE(AppendStrikingHistory(file, Touch("2026-12-11 19:30", 24.5)).written);

  const StrikingHistory history = ReadStrikingHistory(file);
  EXPECT_FALSE(history.damaged);
  ASSERT_EQ(history.lines.size(), 2u);
  EXPECT_EQ(history.lines[1].date, "2026-12-11 19:30");
  EXPECT_EQ(history.lines[1].method, "Plain Bob Major, \"quick\"");
  EXPECT_EQ(history.lines[1].bell, 8);
  EXPECT_EQ(history.lines[1].blows, 224);
  EXPECT_DOUBLE_EQ(history.lines[1].rmsMs, 24.5);
  EXPECT_DOUBLE_EQ(history.lines[1].backMeanMs, 12.5);
  EXPECT_EQ(ReadText(file).substr(0, ReadText(file).find('\n')), StrikingHistoryHeader);
  EXPECT_FALSE(std::filesystem::exists(file.string() + ".writing"));
}

TEST(StrikingHistory, NamesCannotLeaveTheUsersFolder) {
  const auto file = StrikingHistoryPath("/data", "../x", "a/b");
  EXPECT_EQ(file, std::filesystem::path("/data/Striking/.._x/a_b.csv"));
  EXPECT_EQ(StrikingHistoryPath("/data", "..", "t").parent_path(), std::filesystem::path("/data/Striking/_.."));
}

TEST(StrikingHistory, ADamagedFileIsKeptAsideNeverWrittenOver) {
  TempFolder folder;
  const auto file = folder.path() / "Eight Bells.csv";
  const auto aside = folder.path() / "Eight Bells.damaged.csv";
  const auto aside2 = folder.path() / "Eight Bells.damaged-2.csv";
  const std::string first = std::string(StrikingHistoryHeader) + "\n2026-12-10,Eight Bells,Rounds,8,1x,3,0,0\n";
  WriteText(file, first);
  EXPECT_TRUE(ReadStrikingHistory(file).damaged);

  HistoryAppended appended = AppendStrikingHistory(file, Touch("2026-12-11 19:30", 20));
  EXPECT_TRUE(appended.written);
  EXPECT_EQ(appended.setAside, aside);
  EXPECT_EQ(ReadText(aside), first);
  ASSERT_EQ(ReadStrikingHistory(file).lines.size(), 1u);
  EXPECT_FALSE(ReadStrikingHistory(file).damaged);

  // A second damaged file goes beside the first, which stays as it was.
  WriteText(file, "not a history\n");
  appended = AppendStrikingHistory(file, Touch("2026-12-12 19:30", 18));
  EXPECT_EQ(appended.setAside, aside2);
  EXPECT_EQ(ReadText(aside), first);
  EXPECT_EQ(ReadText(aside2), "not a history\n");
}

TEST(StrikingHistory, AFileThatCannotBeWrittenIsLeftAsItWas) {
  TempFolder folder;
  const auto file = folder.path() / "t.csv";
  std::filesystem::create_directories(file);  // a folder where the file should be
  EXPECT_FALSE(AppendStrikingHistory(file, Touch("d", 1)).written);
  EXPECT_TRUE(std::filesystem::is_directory(file));
}

}  // namespace
}  // namespace clangor
