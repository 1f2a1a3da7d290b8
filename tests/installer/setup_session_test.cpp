#include <gtest/gtest.h>

#include <filesystem>

#include "installer/steps/setup_session.h"
#include "tests/installer/redirected_root.h"
#include "tests/installer/sample_package.h"

namespace clangor::outfit {
namespace {

namespace fs = std::filesystem;
using testing::RedirectedRoot;
using testing::SamplePackage;

class SetupSessionTest : public ::testing::Test {
 protected:
  explicit SetupSessionTest() {
    sample.package.finishText = "Ring away.";
  }
  PackageReader& Reader() {
    sample.Write(root.Package());
    reader.emplace(root.Package());
    reader->ReadSections();
    return *reader;
  }
  RedirectedRoot root;
  SamplePackage sample;
  std::optional<PackageReader> reader;
};

TEST_F(SetupSessionTest, WalksThePagesAndInstallsWhatWasChosen) {
  SetupSession session(Reader(), {"/nodesktop"});
  EXPECT_EQ(session.Caption(), "Tinkle Setup");
  EXPECT_EQ(session.Message(29), "&Proceed >");
  EXPECT_EQ(session.PageHeading(), "Welcome to the setup of Tinkle");
  EXPECT_EQ(session.PageText(), "Welcome.");
  EXPECT_FALSE(session.CanGoBack());
  session.Proceed();
  EXPECT_EQ(session.Page(), SetupPage::Components);
  EXPECT_EQ(session.Components(), (std::vector<bool>{true, false}));
  session.SetComponent(0, false);  // required
  session.SetComponent(1, true);
  EXPECT_EQ(session.Components(), (std::vector<bool>{true, true}));
  session.Proceed();
  EXPECT_EQ(session.Page(), SetupPage::Folders);
  session.Back();
  EXPECT_EQ(session.Page(), SetupPage::Components);
  session.Proceed();
  std::string chosen = root / "machine/chosen";
  session.ChooseFolder("APPFOLDER", chosen);
  EXPECT_EQ(session.Folders()[0].path, chosen);
  session.Proceed();
  EXPECT_EQ(session.Page(), SetupPage::Ready);
  EXPECT_NE(session.PageText().find("Program folder: " + chosen), std::string::npos);
  EXPECT_TRUE(session.CanAbort());
  session.Proceed();
  EXPECT_EQ(session.Page(), SetupPage::Finished);
  EXPECT_EQ(session.Failure(), "");
  EXPECT_EQ(session.PageText(), "Ring away.");
  EXPECT_FALSE(session.CanAbort());
  ASSERT_TRUE(session.Report());
  EXPECT_EQ(session.Report()->logPath, chosen + "/Outfit.log");
  EXPECT_FALSE(fs::exists(root.Folder(ShellFolder::Desktop)));
  EXPECT_FALSE(session.Done());
  session.Proceed();
  EXPECT_TRUE(session.Done());
}

TEST_F(SetupSessionTest, AFailedInstallationEndsOnTheFinishPageWithItsReason) {
  sample.package.files[0].name = "%APPFOLDER%\\..\\..\\..\\escaped";
  SetupSession session(Reader(), {});
  for (int i = 0; i < 4; ++i) session.Proceed();
  EXPECT_EQ(session.Page(), SetupPage::Finished);
  EXPECT_EQ(session.PageHeading(), "The installation has failed.");
  EXPECT_NE(session.PageText().find("escaped"), std::string::npos);
  EXPECT_FALSE(session.Report());
}

TEST_F(SetupSessionTest, APortableInstallationHasOneFolder) {
  sample.package.portable = true;
  sample.package.portableFolder = "%SETUPFOLDER%\\Tinkle";
  SetupSession session(Reader(), {});
  ASSERT_TRUE(session.CanBePortable());
  session.SetPortable(true);
  auto folders = session.Folders();
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_EQ(folders[0].path, root / "packages/Tinkle");
}

}  // namespace
}  // namespace clangor::outfit

namespace clangor::outfit {
namespace {

TEST_F(SetupSessionTest, AMissingDotNetFrameworkIsNamedOnTheFinishPage) {
  sample.package.dotNet.flags = 0x30;
  sample.package.dotNet.downloadAddress = "https://example.invalid/net";
  SetupSession session(Reader(), {});
  for (int i = 0; i < 4; ++i) session.Proceed();
  ASSERT_EQ(session.Page(), SetupPage::Finished);
  EXPECT_EQ(session.PageText(),
            "Ring away.\n\nThis program needs the .NET Framework 4.0 or later.\n"
            "You can download the .NET Framework from https://example.invalid/net");
}

}  // namespace
}  // namespace clangor::outfit
