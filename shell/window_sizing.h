// The main window's sizing rules: the smallest client it accepts, the rows
// pane's share of the width, and the width a corner drag gives so that the
// tower view keeps its proportions.
#pragma once

namespace clangor {

inline constexpr int MinimumClientWidth = 165;
inline constexpr int MinimumClientWidthWithRows = 150;
inline constexpr int MinimumClientHeight = 150;
// The narrowest the tower view is left by the rows pane.
inline constexpr int MinimumViewWidthBesideRows = 150;

// A drag to a client `width` x `height` is refused below the minimum.
bool SizingRefused(int width, int height, bool rowsShown);
// The rows pane's width in a client `clientWidth` wide: `rowsWidth`, less
// what the tower view needs to keep 149 pixels.
int RowsPaneWidthFor(int clientWidth, int rowsWidth);
// A corner drag: the width that keeps the view's height/width `aspect` at
// the new view height (the view is `extraWidth` narrower than the window).
int CornerDragWidth(int viewHeight, double aspect, int extraWidth);

}  // namespace clangor
