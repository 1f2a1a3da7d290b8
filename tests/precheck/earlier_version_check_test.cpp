#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "precheck/earlier_version_check.h"
#include "tests/platform/temp_folder.h"

namespace clangor::precheck {
namespace {

namespace fs = std::filesystem;
using clangor::testing::ScopedEnv;
using clangor::testing::TempFolder;
using clangor::testing::WriteFile;

struct Shown {
  std::string title, text;
};

class EarlierVersionCheck : public ::testing::Test {
 protected:
  TempFolder temp;
  ScopedEnv appData{"CLANGOR_COMMON_APPDATA", temp.path()};
  std::string control = temp / "Orvanta/Clangor/Towers/Eight Bells/control.cld";
};

TEST_F(EarlierVersionCheck, NoEarlierVersionShowsNothing) {
  WriteFile(temp / "Orvanta/Clangor/Towers/XII/Eight Bells/control.cld", "the present version's table");
  EXPECT_EQ(EarlierControlFile(), control);
  int asked = 0;
  EXPECT_EQ(RunEarlierVersionCheck([&](const std::string&, const std::string&) {
              ++asked;
              return Answer::Ok;
            }),
            0);
  EXPECT_EQ(asked, 0);
}

TEST_F(EarlierVersionCheck, OkWithoutUninstallingAsksAgainUntilItIsGoneOrCancelled) {
  WriteFile(control, "an earlier table");
  std::vector<Shown> shown;
  EXPECT_EQ(RunEarlierVersionCheck([&](const std::string& title, const std::string& text) {
              shown.push_back({title, text});
              if (shown.size() == 3) fs::remove(control);  // the user uninstalled at last
              return Answer::Ok;
            }),
            0);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].title, "Earlier version found...");
  EXPECT_EQ(shown[0].text,
            "Setup has detected an earlier version of Clangor on this computer\r\n"
            "Please uninstall the earlier version, then press OK to continue...");
  EXPECT_EQ(shown[2].text, shown[0].text);

  WriteFile(control, "an earlier table");
  int asked = 0;
  EXPECT_EQ(RunEarlierVersionCheck([&](const std::string&, const std::string&) {
              ++asked;
              return Answer::Cancel;
            }),
            0);
  EXPECT_EQ(asked, 1);
}

TEST_F(EarlierVersionCheck, AFileThatCannotBeReadCountsAsAbsent) {
  fs::create_directories(control);  // a folder of that name
  EXPECT_FALSE(CanOpenForReading(control));
  fs::remove(control);
  fs::create_symlink(temp / "nowhere", control);  // a link to nothing
  EXPECT_FALSE(CanOpenForReading(control));
  fs::remove(control);
  WriteFile(control, "locked");
  ::chmod(control.c_str(), 0);
  if (::geteuid() != 0) {
    EXPECT_FALSE(CanOpenForReading(control));  // root reads it all the same
  }
  int asked = 0;
  RunEarlierVersionCheck([&](const std::string&, const std::string&) {
    ++asked;
    return Answer::Cancel;
  });
  EXPECT_EQ(asked, ::geteuid() == 0 ? 1 : 0);
}

}  // namespace
}  // namespace clangor::precheck
