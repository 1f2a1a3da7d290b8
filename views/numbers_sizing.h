// The moving numbers window's proportions: one digit cell per bell of the
// tower, each cell NumbersDigitWidth : NumbersDigitHeight.
#pragma once

namespace clangor {

struct NumbersSizing {
  int towerBells = 1;
  double aspect = 1;  // digit height / digit width

  // A zero setting counts as 1.
  static NumbersSizing From(int towerBells, int digitWidth, int digitHeight) {
    return {towerBells < 1 ? 1 : towerBells, (digitHeight ? digitHeight : 1) / double(digitWidth ? digitWidth : 1)};
  }
  int WidthFor(int height) const { return static_cast<int>(towerBells / aspect * height); }
  int HeightFor(int width) const { return static_cast<int>(width * aspect / towerBells); }

  // The client size a resize from `oldW` x `oldH` to `w` x `h` settles at:
  // a drag of the top or bottom edge alone sets the width from the height,
  // any other drag the height from the width.
  void KeepAspect(int oldW, int oldH, int& w, int& h) const {
    if (w == oldW && h != oldH) w = WidthFor(h);
    else h = HeightFor(w);
  }
};

}  // namespace clangor
