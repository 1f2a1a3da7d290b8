#include <gtest/gtest.h>

#include <filesystem>

#include "platform/shellfolders.h"
#include "tests/platform/temp_folder.h"

namespace clangor {
namespace {

using testing::ScopedEnv;
using testing::TempFolder;
using testing::WriteFile;

constexpr ShellFolder AllFolders[] = {
    ShellFolder::CommonAppData, ShellFolder::ProgramFiles, ShellFolder::CommonFiles, ShellFolder::StartMenu,
    ShellFolder::ProgramsMenu,  ShellFolder::Desktop,      ShellFolder::SendTo,      ShellFolder::Startup,
    ShellFolder::Documents,     ShellFolder::CommonDocuments, ShellFolder::AppData,  ShellFolder::LocalAppData,
    ShellFolder::Temp,
};

// The environment the folders are found from, all pointed at one home folder.
struct HomeOnly {
  TempFolder temp;
  ScopedEnv home{"HOME", temp.path()};
  ScopedEnv data{"XDG_DATA_HOME", nullptr};
  ScopedEnv config{"XDG_CONFIG_HOME", nullptr};
  ScopedEnv state{"XDG_STATE_HOME", nullptr};
  ScopedEnv tmp{"TMPDIR", nullptr};
  std::vector<std::unique_ptr<ScopedEnv>> unset;
  HomeOnly() {
    for (ShellFolder f : AllFolders) unset.push_back(std::make_unique<ScopedEnv>(std::string(ShellFolderVariable(f)), nullptr));
  }
};

TEST(ShellFolders, FreedesktopCounterparts) {
  HomeOnly env;
  const std::string& h = env.temp.path();
  struct Case {
    ShellFolder folder;
    std::string path;
  } cases[] = {
      {ShellFolder::CommonAppData, h + "/.local/share"},
      {ShellFolder::ProgramFiles, h + "/.local/lib"},
      {ShellFolder::CommonFiles, h + "/.local/lib/Common Files"},
      {ShellFolder::StartMenu, h + "/.local/share/applications"},
      {ShellFolder::ProgramsMenu, h + "/.local/share/applications"},
      {ShellFolder::Desktop, h + "/Desktop"},
      {ShellFolder::SendTo, h + "/.local/share/orvanta/SendTo"},
      {ShellFolder::Startup, h + "/.config/autostart"},
      {ShellFolder::Documents, h + "/Documents"},
      {ShellFolder::CommonDocuments, h + "/Public"},
      {ShellFolder::AppData, h + "/.config"},
      {ShellFolder::LocalAppData, h + "/.local/state"},
      {ShellFolder::Temp, "/tmp"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShellFolderPath(c.folder), c.path) << ShellFolderVariable(c.folder);
}

TEST(ShellFolders, XdgVariablesAndUserDirs) {
  HomeOnly env;
  const std::string& h = env.temp.path();
  ScopedEnv data("XDG_DATA_HOME", h + "/data");
  ScopedEnv config("XDG_CONFIG_HOME", h + "/config");
  WriteFile(h + "/config/user-dirs.dirs",
            "# written by xdg-user-dirs-update\n"
            "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n"
            "XDG_DOCUMENTS_DIR=\"/srv/papers\"\n");
  EXPECT_EQ(ShellFolderPath(ShellFolder::CommonAppData), h + "/data");
  EXPECT_EQ(ShellFolderPath(ShellFolder::StartMenu), h + "/data/applications");
  EXPECT_EQ(ShellFolderPath(ShellFolder::Startup), h + "/config/autostart");
  EXPECT_EQ(ShellFolderPath(ShellFolder::Desktop), h + "/Bureau");
  EXPECT_EQ(ShellFolderPath(ShellFolder::Documents), "/srv/papers");
  EXPECT_EQ(ShellFolderPath(ShellFolder::CommonDocuments), h + "/Public");  // not named: the usual place
}

TEST(ShellFolders, EveryFolderCanBeMoved) {
  HomeOnly env;
  for (ShellFolder f : AllFolders) {
    std::string moved = env.temp / (std::string(ShellFolderVariable(f)) + "/");
    ScopedEnv variable(std::string(ShellFolderVariable(f)), moved);
    moved.pop_back();  // given back without its trailing separator
    EXPECT_EQ(ShellFolderPath(f), moved);
  }
}

TEST(PathAppend, JoinsWithOneSeparator) {
  struct Case {
    const char* base;
    const char* more;
    const char* joined;
  } cases[] = {
      {"/a", "b", "/a/b"},
      {"/a/", "b", "/a/b"},
      {"/a", "/b", "/a/b"},
      {"/a/", "//b/", "/a/b/"},
      {"/a/", "", "/a/"},
      {"/a", "", "/a"},
      {"", "b", "b"},
      {"/", "b", "/b"},
      {"/a", "Orvanta/Clangor/", "/a/Orvanta/Clangor/"},
  };
  for (const Case& c : cases) EXPECT_EQ(PathAppend(c.base, c.more), c.joined) << c.base << " + " << c.more;
}

TEST(ListFolder, FoldersAndFilesInNameOrder) {
  TempFolder temp;
  const std::string towers = temp / "Towers/XII";
  std::filesystem::create_directories(towers + "/Twelve Bells");
  std::filesystem::create_directories(towers + "/Eight Bells");
  std::filesystem::create_directories(temp / "elsewhere/Six Bells");
  std::filesystem::create_directory_symlink(temp / "elsewhere/Six Bells", towers + "/Six Bells");
  WriteFile(towers + "/readme.txt", "x");
  WriteFile(towers + "/.hidden", "x");

  auto items = ListFolder(towers);
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0].name, ".hidden");
  EXPECT_EQ(SubFolderNames(towers), (std::vector<std::string>{"Eight Bells", "Six Bells", "Twelve Bells"}));
  EXPECT_EQ(FileNames(towers), (std::vector<std::string>{".hidden", "readme.txt"}));
  EXPECT_TRUE(ListFolder(temp / "missing").empty());
  EXPECT_TRUE(ListFolder(towers + "/readme.txt").empty());
}

}  // namespace
}  // namespace clangor
