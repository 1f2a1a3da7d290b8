#include "shell/window_sizing.h"

#include <algorithm>
#include <cmath>

namespace clangor {

namespace {
constexpr int RowsGap = 5;
}  // namespace

bool SizingRefused(int width, int height, bool rowsShown) {
  return width < (rowsShown ? MinimumClientWidthWithRows : MinimumClientWidth) || height < MinimumClientHeight;
}

int RowsPaneWidthFor(int clientWidth, int rowsWidth) {
  if (clientWidth - rowsWidth - RowsGap >= MinimumViewWidthBesideRows) return rowsWidth;
  return std::max(clientWidth - (MinimumViewWidthBesideRows - 1) - RowsGap, 0);
}

int CornerDragWidth(int viewHeight, double aspect, int extraWidth) {
  if (aspect <= 0) return viewHeight + extraWidth;
  return static_cast<int>(std::lround(viewHeight / aspect)) + extraWidth;
}

}  // namespace clangor
