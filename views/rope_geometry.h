// Where the ropes stand in the ropes window: the scale (one sally length in
// pixels, the width of a drawn sally), the columns, and how high a sally
// rides for a bell's swing angle. Plain arithmetic, no toolkit.
#pragma once

namespace clangor {

// A sally is 0.762 m (two feet six inches) long.
inline constexpr double SallyMetres = 0.762;
// The strip at the left of the window that the hit bar takes.
inline constexpr int HitBarWidth = 10;
inline constexpr int InitialSallyHeight = 84;
inline constexpr int MinimumRopeWidth = 4;
inline constexpr int MinimumContentHeight = 50;

// The window's height in sally lengths: the tenor's whole rope travel (from
// its sally at the bottom to one sally length below the top), plus one.
double ViewHeightInSallies(double tenorWheelRadius);

struct RopesScale {
  int sallyHeight = InitialSallyHeight;  // pixels of one sally length
  int ropeWidth = MinimumRopeWidth;      // pixels of a drawn sally picture
};
// The scale for a content `clientHeight` pixels high, with the sally
// pictures loaded at `imageWidth` x `imageHeight`.
RopesScale ScaleFor(int clientHeight, double viewHeightInSallies, int imageWidth, int imageHeight);

// Metres of rope drawn up from rest for a bell of `wheelRadius` metres at
// `angle` hundredths of a degree: 0 with the rope at rest (the bell
// horizontal on its handstroke side), rising as the wheel turns.
double RopeTravel(int angle, double wheelRadius);
// The top of the sally picture in client pixels for that travel.
int RopeTop(double travel, int sallyHeight, double viewHeightInSallies);

// The width of one rope column, 0 when there are no columns.
int ColumnSpacing(int clientWidth, bool hitBar, int columns);
// The left edge of column `column`.
inline int ColumnLeft(int column, int spacing, bool hitBar) { return (hitBar ? HitBarWidth : 0) + spacing * column; }
// The column under client x, or -1 (the hit bar, or no columns).
int ColumnAt(int x, bool hitBar, int spacing);

// Whether a content of `width` x `height` is big enough for `ropes` ropes at
// the width that height gives them.
bool ContentSizeAllowed(int width, int height, int ropes, double viewHeightInSallies, int imageWidth, int imageHeight);

}  // namespace clangor
