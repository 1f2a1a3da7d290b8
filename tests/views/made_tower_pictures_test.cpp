// The towers of the build's data folder in the tower view, as a full-screen
// window shows them: no picture stretched by more than 1.25, every bell seen
// over the chamber at rest and at the balance, and a bell's swing pictures
// turning a little from each to the next. Saves what it drew under
// build/screenshots.
#include <QColor>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "shell/settings_store.h"
#include "tower/tower.h"
#include "views/tower_view.h"

namespace clangor {
namespace {

namespace fs = std::filesystem;

const fs::path Share = CLANGOR_BUILD_SHARE;

// The share of a bell's rectangle in which two frames differ.
double ChangedShare(const QImage& a, const QImage& b, const ViewRect& r) {
  int changed = 0, all = 0;
  for (int y = std::max(r.y, 0); y < std::min(r.bottom(), a.height()); ++y) {
    for (int x = std::max(r.x, 0); x < std::min(r.right(), a.width()); ++x, ++all) {
      changed += a.pixel(x, y) != b.pixel(x, y);
    }
  }
  return all ? static_cast<double>(changed) / all : 0;
}

double Differ(const QImage& a, const QImage& b) {
  return ChangedShare(a, b, ViewRect{0, 0, a.width(), a.height()});
}

void Save(const QImage& image, const std::string& name) {
  fs::create_directories(CLANGOR_SCREENSHOT_DIR);
  image.save(QString::fromStdString(std::string(CLANGOR_SCREENSHOT_DIR) + "/" + name), "PNG");
}

// The picture of a bell whose angle is `angle`.
int PictureAt(const Tower& tower, int bell, int angle) {
  const int count = std::atoi(tower.bellProperty(bell, "ImageCount").c_str());
  for (int k = 0; k < count; ++k) {
    if (std::atoi(tower.bellProperty(bell, ("p" + std::to_string(k)).c_str()).c_str()) == angle) return k;
  }
  return -1;
}

class MadeTowerPicturesTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (!fs::exists(Share / "Orvanta" / "Clangor" / "Towers")) GTEST_SKIP() << "no data folder made in " << Share;
    registry_ = fs::temp_directory_path() / ("clangor_made_pictures_" + std::to_string(::getpid()));
    setenv("CLANGOR_COMMON_APPDATA", Share.c_str(), 1);
    setenv("CLANGOR_REGISTRY_DIR", registry_.c_str(), 1);
  }
  void TearDown() override { fs::remove_all(registry_); }
  fs::path registry_;
};

TEST_P(MadeTowerPicturesTest, EveryBellShowsOverTheChamberAtRestAndAtTheBalance) {
  const std::string name = GetParam();
  SettingsStore settings;
  Tower tower(name, settings);
  ASSERT_GT(tower.bellCount(), 0);
  TowerView view(tower, settings, SettingsStore::AppDataPath(), 0, {}, {});
  ASSERT_EQ(view.openDisplay(), 0);
  // A full-screen window's tower view: nothing is stretched by more than a
  // quarter, whatever room the menus and bars take.
  for (const int height : {1080, 1000}) {
    view.setClientSize(1920, height);
    view.redraw();
    EXPECT_LE(view.layout().scale, 1.25) << height;
  }
  const QImage chamber = view.composition().copy();
  Save(chamber, name + " chamber.png");
  for (int b = 0; b < tower.bellCount(); ++b) {
    view.makeBellSurfaces(b);
    for (const int angle : {-18500, 18000}) view.loadBellPicture(b, PictureAt(tower, b, angle));
  }
  view.setLoaded();
  struct Pose {
    int angle;
    const char* file;
  };
  for (const Pose& pose : {Pose{-18500, " at rest.png"}, Pose{18000, " at the balance.png"}}) {
    SCOPED_TRACE(pose.file);
    for (int b = 0; b < tower.bellCount(); ++b) view.drawBell(b, PictureAt(tower, b, pose.angle));
    view.redraw();
    const QImage frame = view.composition().copy();
    Save(frame, name + pose.file);
    for (int b = 0; b < tower.bellCount(); ++b) {
      EXPECT_GT(ChangedShare(chamber, frame, view.layout().bells[static_cast<std::size_t>(b)]), 0.05) << "bell " << b + 1;
    }
  }
}

TEST_P(MadeTowerPicturesTest, TheTenorTurnsALittleFromEachPictureToTheNext) {
  const std::string name = GetParam();
  SettingsStore settings;
  Tower tower(name, settings);
  ASSERT_GT(tower.bellCount(), 0);
  TowerView view(tower, settings, SettingsStore::AppDataPath(), 0, {}, {});
  ASSERT_EQ(view.openDisplay(), 0);
  const int tenor = tower.bellCount() - 1;
  view.makeBellSurfaces(tenor);
  const int count = std::atoi(tower.bellProperty(tenor, "ImageCount").c_str());
  ASSERT_GE(count, 73);  // every 5 degrees from balance to balance
  for (int k = 0; k < count; ++k) view.loadBellPicture(tenor, k);
  // Every third picture, five to a row, on the chamber's mortar grey.
  const QImage first = view.bellPicture(tenor, 0);
  const int shown = (count + 2) / 3;
  constexpr int Across = 5;
  QImage strip(first.width() * Across, first.height() * ((shown + Across - 1) / Across),
               QImage::Format_ARGB32_Premultiplied);
  strip.fill(QColor(120, 108, 88));
  QPainter p(&strip);
  for (int k = 0; k < count; ++k) {
    const QImage picture = view.bellPicture(tenor, k);
    ASSERT_FALSE(picture.isNull()) << k;
    if (k % 3 == 0) p.drawImage(first.width() * (k / 3 % Across), first.height() * (k / 3 / Across), picture);
    if (k > 0) {
      // Each picture moves the bell on, but only a little.
      const double moved = Differ(view.bellPicture(tenor, k - 1), picture);
      EXPECT_GT(moved, 0.003) << k;
      EXPECT_LT(moved, 0.5) << k;
    }
  }
  p.end();
  Save(strip, name + " tenor swing.png");
}

INSTANTIATE_TEST_SUITE_P(EveryTower, MadeTowerPicturesTest,
                         ::testing::Values("Six Bells", "Eight Bells", "Ten Bells", "Twelve Bells", "Eighteen Bells"),
                         [](const auto& info) {
                           std::string name = info.param;
                           name.erase(name.find(' '), 1);
                           return name;
                         });

}  // namespace
}  // namespace clangor
