// The moving numbers strip as each highlight style draws it, and the window's
// click, proportions and saved place.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include "platform/ticks.h"
#include "shell/settings_store.h"
#include "tests/platform/temp_folder.h"
#include "views/numbers_window.h"

namespace clangor {
namespace {

// Digit pictures of solid colours, bell b in grey level 10 x b; the cross red.
std::vector<QImage> SolidDigits() {
  std::vector<QImage> digits;
  for (int b = 0; b < 19; ++b) {
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(b == 18 ? QColor(Qt::red) : QColor(10 * b, 10 * b, 10 * b));
    digits.push_back(image);
  }
  return digits;
}

// Four bells of an eight-bell tower, 400 x 50: slots 100 wide, digits 50
// wide, drawn at 25 to 75 within their slot when they stand still. Rounds
// into 2134: bells 1 and 2 cross, 3 and 4 make places.
QImage Strip(int style, bool highlight, double fraction) {
  NumbersFrame frame;
  frame.fromRow.fill(-1);
  frame.toRow.fill(-1);
  for (int i = 0; i < 4; ++i) frame.fromRow[static_cast<std::size_t>(i)] = i;
  frame.toRow[0] = 1;
  frame.toRow[1] = 0;
  frame.toRow[2] = 2;
  frame.toRow[3] = 3;
  frame.highlight = highlight;
  frame.fraction = fraction;
  QImage image(400, 50, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  NumbersWindow::DrawStrip(painter, image.size(), frame, SolidDigits(), style, 8, 4);
  return image;
}

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

constexpr QRgb Back = NumbersWindow::Background;
constexpr QRgb White = 0xFFFFFF;
constexpr QRgb Frame = NumbersWindow::FrameColour;
constexpr QRgb Red = 0xFF0000;

TEST(NumbersStrip, EachHighlightStyleMarksWhatItShould) {
  struct Case {
    int style;
    QRgb pairGround;    // beside the digits of the crossing pair (10, 25)
    QRgb pairEdge;      // the pair's outline (2, 25)
    QRgb crossAtMiddle; // where the two slots meet, above the sliding digits (100, 4)
    QRgb placeGround;   // beside the place bell in the third slot (210, 25)
    QRgb placeEdge;     // its outline (202, 25)
  };
  const Case cases[] = {
      {0, Back, Back, Back, Back, Back},     // "Numbers Only"
      {1, Back, Frame, Back, Back, Back},    // pairs outlined
      {2, White, Frame, White, Back, Back},  // "Highlighted Pairs"
      {3, Back, Back, Red, Back, Back},      // crosses
      {4, Back, Back, Back, White, Frame},   // place bells
      {5, Back, Back, Red, White, Frame},    // "Place Bells and Crosses"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    const QImage on = Strip(c.style, true, 0.0);
    EXPECT_EQ(At(on, 10, 25), c.pairGround);
    EXPECT_EQ(At(on, 2, 25), c.pairEdge);
    EXPECT_EQ(At(on, 210, 25), c.placeGround);
    EXPECT_EQ(At(on, 202, 25), c.placeEdge);
    // The cross stands over the meeting of the slots; at fraction 0 the
    // digits are still in their own slots, 25 pixels either side of it.
    EXPECT_EQ(At(on, 100, c.style == 3 ? 1 : 4), c.crossAtMiddle);
    // With the highlight off every style draws the numbers alone.
    const QImage off = Strip(c.style, false, 0.0);
    EXPECT_EQ(At(off, 10, 25), Back);
    EXPECT_EQ(At(off, 210, 25), Back);
    EXPECT_EQ(At(off, 100, 4), Back);
  }
}

TEST(NumbersStrip, TheCrossingPairSlidesByTheFraction) {
  const struct {
    double fraction;
    int treble, second;  // left edges of bells 1 and 2 (grey 0 and 10)
  } cases[] = {
      {0.0, 25, 125},
      {0.5, 75, 75},  // halfway: they pass each other; the one drawn later (2) shows
      {1.0, 125, 25},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fraction);
    const QImage strip = Strip(0, false, c.fraction);
    EXPECT_EQ(At(strip, c.second + 1, 25), 0x0A0A0Au);
    if (c.treble != c.second) {
      EXPECT_EQ(At(strip, c.treble + 1, 25), 0x000000u);
    }
    // The place bells never move.
    EXPECT_EQ(At(strip, 226, 25), 0x141414u);
    EXPECT_EQ(At(strip, 326, 25), 0x1E1E1Eu);
  }
}

TEST(NumbersStrip, NothingShownYetIsJustTheBackground) {
  NumbersFrame empty;
  empty.fromRow.fill(-1);
  QImage image(80, 20, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  NumbersWindow::DrawStrip(painter, image.size(), empty, SolidDigits(), 5, 8, 8);
  EXPECT_EQ(At(image, 40, 10), Back);
}

class NumbersWindowTest : public ::testing::Test {
 protected:
  testing::TempFolder temp;
  testing::ScopedEnv registry{"CLANGOR_REGISTRY_DIR", temp / "registry"};
  SimulatedTickSource ticks{1000};
};

TEST_F(NumbersWindowTest, OpensAtItsSavedPlaceAndAClickTogglesTheThinEdgeInPlace) {
  SettingsStore settings;
  QWidget main;
  NumbersWindow window(settings, ticks, 8, &main);
  EXPECT_EQ(window.geometry(), QRect(44, 294, 225, 32));  // one 150 x 170 cell per bell, 32 high
  window.Show(true);
  QApplication::processEvents();
  const QRect before = window.geometry();
  QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&window, &click);
  QApplication::processEvents();
  EXPECT_TRUE(window.thinEdge());
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.geometry(), before);  // the numbers stay where they were on the screen
  EXPECT_EQ(settings.GetInt(setting::NumbersThinEdge), 1);
  QApplication::sendEvent(&window, &click);
  EXPECT_FALSE(window.thinEdge());
  EXPECT_EQ(settings.GetInt(setting::NumbersThinEdge), 0);
  // Sizing keeps the proportions and stores the height.
  window.resize(window.width(), 64);
  QApplication::processEvents();
  EXPECT_EQ(window.size(), QSize(451, 64));
  EXPECT_EQ(settings.GetInt(setting::NumbersHeight), 64);
}

}  // namespace
}  // namespace clangor
