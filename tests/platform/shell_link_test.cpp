#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/shell_link.h"
#include "tests/platform/temp_folder.h"

namespace clangor {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

TEST(ShellLink, WrittenAsADesktopEntry) {
  TempFolder temp;
  ShellLink link;
  link.target = "/opt/Orvanta/Clangor/clangor";
  link.workingFolder = "/opt/Orvanta/Clangor";
  link.description = "Ring the bells";
  link.iconFile = "/opt/Orvanta/Clangor/clangor.png";
  const std::string written = WriteShellLink(temp / "menu/Orvanta Clangor/Clangor.lnk", link);
  EXPECT_EQ(written, temp / "menu/Orvanta Clangor/Clangor.desktop");
  EXPECT_EQ(ReadFile(written),
            "[Desktop Entry]\nVersion=1.0\nType=Application\nExec=/opt/Orvanta/Clangor/clangor\n"
            "Path=/opt/Orvanta/Clangor\nTerminal=false\nName=Clangor\nComment=Ring the bells\n"
            "Icon=/opt/Orvanta/Clangor/clangor.png\n");
  struct stat st {};
  ASSERT_EQ(::stat(written.c_str(), &st), 0);
  EXPECT_TRUE(st.st_mode & S_IXUSR);  // desktops start only executable launchers
}

// Arguments with blanks, quotes, dollars, backslashes and percent signs reach
// the program as they were given.
TEST(ShellLink, ArgumentsSurviveQuoting) {
  TempFolder temp;
  ShellLink link;
  link.name = "Uninstall Clangor";
  link.target = "/opt/My Programs/Unoutfit";
  link.arguments = {"/home/ann/Outfit 2.log", "say \"hi\"", "$HOME", "back\\slash", "100%", "", "plain"};
  link.description = "two\nlines";
  const std::string written = WriteShellLink(temp / "Uninstall.lnk", link);
  ASSERT_FALSE(written.empty());
  const std::string text = ReadFile(written);
  EXPECT_NE(text.find("Exec=\"/opt/My Programs/Unoutfit\" \"/home/ann/Outfit 2.log\" \"say \\\\\"hi\\\\\"\" "
                      "\"\\\\$HOME\" \"back\\\\\\\\slash\" 100%% \"\" plain\n"),
            std::string::npos)
      << text;
  auto back = ReadShellLink(written);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->target, link.target);
  EXPECT_EQ(back->arguments, link.arguments);
  EXPECT_EQ(back->name, link.name);
  EXPECT_EQ(back->description, link.description);
}

TEST(ShellLink, ADocumentBecomesALinkToItsLocation) {
  TempFolder temp;
  WriteFile(temp / "Help/clangor help.html", "<html></html>");
  ShellLink link;
  link.target = temp / "Help/clangor help.html";
  const std::string written = WriteShellLink(temp / "Help.lnk", link);
  EXPECT_NE(ReadFile(written).find("Type=Link\nURL=file://" + temp.path() + "/Help/clangor%20help.html\n"),
            std::string::npos);
  auto back = ReadShellLink(written);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->target, link.target);
  EXPECT_EQ(back->name, "Help");
}

TEST(ShellLink, NotWritableNotWritten) {
  TempFolder temp;
  WriteFile(temp / "plain-file", "x");
  EXPECT_EQ(WriteShellLink(temp / "plain-file/Clangor.lnk", ShellLink{"", "/bin/true", {}, "", "", ""}), "");
  EXPECT_FALSE(ReadShellLink(temp / "missing.desktop").has_value());
}

}  // namespace
}  // namespace clangor
