// Pictures as the tower view loads them: colour keys, masks, scaled masks,
// and the file each bell picture comes from.
#include <gtest/gtest.h>

#include "views/picture_keys.h"
#include "views/tower_view.h"

namespace clangor {
namespace {

constexpr QRgb Magenta = 0xFFFF00FF, White = 0xFFFFFFFF, Red = 0xFFFF0000, Black = 0xFF000000, Blue = 0xFF0000FF;

QImage Row(std::initializer_list<QRgb> pixels) {
  QImage image(static_cast<int>(pixels.size()), 1, QImage::Format_RGB32);
  int x = 0;
  for (QRgb p : pixels) image.setPixel(x++, 0, p);
  return image;
}

TEST(PictureKeys, MagentaBecomesTransparent) {
  const QImage keyed = KeyedToAlpha(Row({Magenta, Red, White}), PictureKey);
  EXPECT_EQ(qAlpha(keyed.pixel(0, 0)), 0);
  EXPECT_EQ(keyed.pixel(1, 0), Red);
  EXPECT_EQ(keyed.pixel(2, 0), White);
}

TEST(PictureKeys, SmoothRimLosesTheKeyColour) {
  // Bronze (168, 118, 58) drawn smooth over magenta: its rim pixel is half of each.
  const QRgb bronze = qRgb(168, 118, 58), rim = qRgb((168 + 255) / 2, 118 / 2, (58 + 255) / 2);
  const QRgb purple = qRgb(200, 20, 200);
  QImage picture = KeyedToAlpha(Row({Magenta, rim, bronze, purple, bronze}), PictureKey);
  UnblendKeyedEdges(picture, PictureKey);
  EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0);
  EXPECT_NEAR(qAlpha(picture.pixel(1, 0)), 128, 8);
  const QColor seen = QColor::fromRgba(qUnpremultiply(picture.pixel(1, 0)));
  EXPECT_NEAR(seen.red(), 168, 12);
  EXPECT_NEAR(seen.green(), 118, 12);
  EXPECT_NEAR(seen.blue(), 58, 12);
  EXPECT_EQ(picture.pixel(2, 0), bronze);
  EXPECT_EQ(picture.pixel(3, 0), purple);  // inside the picture: left alone
}

TEST(PictureKeys, MaskPixelsThatAreNotWhiteOverwriteThePicture) {
  // A bell without a mask keeps only its magenta areas transparent.
  QImage picture = KeyedToAlpha(Row({Red, Red, Red, Magenta}), PictureKey);
  ApplyMask(picture, Row({White, Magenta, Black, White}));
  EXPECT_EQ(picture.pixel(0, 0), Red);         // white: the picture stays
  EXPECT_EQ(qAlpha(picture.pixel(1, 0)), 0);   // magenta: hidden behind the frame
  EXPECT_EQ(picture.pixel(2, 0), Black);       // a colour: drawn over the bell
  EXPECT_EQ(qAlpha(picture.pixel(3, 0)), 0);   // the picture's own key stays
}

TEST(PictureKeys, MaskShrinksByNearestPixel) {
  QImage mask(4, 4, QImage::Format_RGB32);
  mask.fill(White);
  mask.setPixel(2, 2, Blue);
  mask.setPixel(3, 3, Blue);
  const QImage half = ScaleMaskNearest(mask, 0.5);
  ASSERT_EQ(half.size(), QSize(2, 2));
  EXPECT_EQ(half.pixel(1, 1), Blue);  // from (2, 2)
  EXPECT_EQ(half.pixel(0, 0), White);
  EXPECT_EQ(ScaleMaskNearest(mask, 1.0).size(), mask.size());
}

TEST(PictureKeys, AFileThatIsNotABitmapLoadsAsNothing) {
  EXPECT_TRUE(LoadBitmap("/nonexistent/base.bmp").isNull());
  EXPECT_TRUE(LoadBitmap(QString::fromUtf8(__FILE__)).isNull());
}

TEST(TowerViewFiles, BellPicturesComeFromTheSourceBellsFolder) {
  EXPECT_EQ(TowerView::BellPicturePath("Eight Bells", 3, 7), "Towers/XII/Eight Bells/images/3/3-007.bmp");
  EXPECT_EQ(TowerView::BellPicturePath("T", 12, 123), "Towers/XII/T/images/12/12-123.bmp");
}

}  // namespace
}  // namespace clangor
