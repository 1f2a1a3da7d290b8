// The manual control window's gauge and the pull it reads from the pointer.
// The window is five zones across; the height of the swing marker is the
// bell's height in its swing, the balance at the top and hanging down at two
// thirds of the way down. The ringer pulls by moving the pointer below the
// marker: in the right two fifths from the balance on the handstroke side,
// in the left two fifths from the balance on the other side. A pointer a
// third of the window below the marker pulls with full strength.
//
// Plain arithmetic on client pixels and hundredths of a degree (integer
// divisions as the gauge is drawn); no toolkit.
#pragma once

namespace clangor {

struct GaugeSpan {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  bool Empty() const { return right <= left || bottom <= top; }
};

// What the gauge shows for one bell at one angle.
struct GaugePicture {
  GaugeSpan leftBand;    // red: the back-side pulling zone of the swing
  GaugeSpan rightBand;   // blue: the handstroke-side pulling zone
  GaugeSpan midLine;     // black: the bell hanging down
  GaugeSpan leftZoneLine, rightZoneLine;  // only when the zones are shown
  GaugeSpan marker;      // the bell's height in its swing
};

class ManualGauge {
 public:
  static ManualGauge ForSize(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  int midY() const { return midY_; }
  int zone() const { return zone_; }
  int rightStart() const { return rightStart_; }

  // The top of the swing marker for angle `a` of a bell whose swing reaches
  // `amplitude` (the larger of its two stay angles).
  int MarkerY(int a, int amplitude) const;
  // The gauge for angle `a`; `lowerLimit` is the lowest angle the rope pulls
  // at on the handstroke side.
  GaugePicture Picture(int a, int amplitude, int lowerLimit, bool showZones) const;
  // The pull, 0 to 1, with the pointer at (pointerX, pointerY) and the
  // marker's top at `markerY`.
  double PullStrength(int a, int lowerLimit, int markerY, int pointerX, int pointerY) const;

 private:
  int width_ = 0, height_ = 0, midY_ = 0, zone_ = 0, rightStart_ = 0;
};

}  // namespace clangor
