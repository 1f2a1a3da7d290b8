#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>

#include <filesystem>

#include "installer/setup/form_setup.h"
#include "tests/installer/redirected_root.h"
#include "tests/installer/sample_package.h"

namespace clangor::outfit {
namespace {

namespace fs = std::filesystem;
using testing::RedirectedRoot;
using testing::SamplePackage;

QApplication& App() {
  static int argc = 1;
  static char name[] = "form_setup_test";
  static char* argv[] = {name, nullptr};
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication app(argc, argv);
  return app;
}

TEST(FormSetup, TheButtonsCarryThePackagesCaptionsAndWalkTheWizard) {
  App();
  RedirectedRoot root;
  SamplePackage sample;
  sample.package.messages[29] = "&Weiter >";
  sample.Write(root.Package());
  PackageReader reader(root.Package());
  reader.ReadSections();
  SetupSession session(reader, {});
  std::string chosen = root / "machine/chosen";
  int aborts = 0;
  TFormSetup form(
      session, [&](const PackageFolder&) { return std::optional<QString>(QString::fromStdString(chosen)); },
      [&] {
        ++aborts;
        return false;
      });
  form.show();
  EXPECT_EQ(form.windowTitle(), "Tinkle Setup");
  EXPECT_EQ(form.BackButton()->text(), "< &Back");
  EXPECT_EQ(form.ProceedButton()->text(), "&Weiter >");
  EXPECT_EQ(form.AbortButton()->text(), "&Abort");
  EXPECT_FALSE(form.BackButton()->isEnabled());

  form.AbortButton()->click();  // answered "no"
  EXPECT_EQ(aborts, 1);
  EXPECT_TRUE(form.isVisible());

  form.ProceedButton()->click();
  EXPECT_EQ(session.Page(), SetupPage::Components);
  form.BackButton()->click();
  EXPECT_EQ(session.Page(), SetupPage::Welcome);
  form.ProceedButton()->click();
  form.ProceedButton()->click();
  ASSERT_EQ(session.Page(), SetupPage::Folders);
  form.BrowseFolder(0);
  EXPECT_EQ(session.Folders()[0].path, chosen);
  form.ProceedButton()->click();
  ASSERT_EQ(session.Page(), SetupPage::Ready);
  form.ProceedButton()->click();
  ASSERT_EQ(session.Page(), SetupPage::Finished);
  EXPECT_TRUE(fs::exists(chosen + "/Outfit.log"));
  EXPECT_FALSE(form.AbortButton()->isEnabled());
  form.ProceedButton()->click();
  EXPECT_TRUE(session.Done());
  EXPECT_FALSE(form.isVisible());
}

}  // namespace
}  // namespace clangor::outfit
