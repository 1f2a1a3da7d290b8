// The manual control window's title, its empty gauge without a bell, and its
// saved rectangle.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include "shell/settings_store.h"
#include "tests/platform/temp_folder.h"
#include "views/manual_window.h"

namespace clangor {
namespace {

class ManualWindowTest : public ::testing::Test {
 protected:
  testing::TempFolder temp;
  testing::ScopedEnv registry{"CLANGOR_REGISTRY_DIR", temp / "registry"};
};

bool AllWhite(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) return false;
  return true;
}

TEST_F(ManualWindowTest, TheTitleNamesTheOwnBellAndNoBellLeavesTheGaugeEmpty) {
  SettingsStore settings;
  QWidget main;
  {
    ManualWindow window(settings, {"Treble", "Gabriel"}, &main);
    window.Show(true);
    window.control().setOwnBell(1);  // as the worker tells it
    QApplication::processEvents();
    EXPECT_EQ(window.windowTitle(), "2 (Gabriel)");
    window.control().setOwnBell(-1);
    QApplication::processEvents();
    EXPECT_EQ(window.windowTitle(), "");
    EXPECT_TRUE(AllWhite(window.grab().toImage()));
    EXPECT_FALSE(window.control().Click());  // no engine, no bell: nothing to pull
    window.move(200, 150);
    window.resize(120, 420);
    QApplication::processEvents();
  }
  // The window rectangle is kept for the next start.
  EXPECT_EQ(settings.GetInt(setting::ManualWLeft), 200);
  EXPECT_EQ(settings.GetInt(setting::ManualWTop), 150);
  EXPECT_GE(settings.GetInt(setting::ManualWWidth), 120);
  EXPECT_GE(settings.GetInt(setting::ManualWHeight), 420);
}

}  // namespace
}  // namespace clangor
