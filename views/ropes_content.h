// The ropes window's drawing surface: one column per rope, each sally at the
// height its bell's swing puts it, the own sally, the tinted columns, the
// flashes and the hit bar. It keeps what the engine last published, the
// ropesight state and the frame it drew, all under its own lock, and draws
// on whichever thread asks; painting copies the frame to the screen.
//
// Threads: UpdateOnBlow, ShiftTime, ResetRows and the readers may run on
// any thread (the engine's worker feeds it); everything that touches the
// widget, and the set-up operations, belong to the user-interface thread.
// The worker never touches the widget: it queues an update.
#pragma once

#include <QImage>
#include <QWidget>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "views/rope_geometry.h"
#include "views/ropesight.h"

namespace clangor {

class TickSource;

// The settings the drawing reads, copied in by the user-interface thread.
struct RopesSettings {
  int imageWidth = 30;    // RopeImageWidth
  int imageHeight = 600;  // SallyImageHeight
  bool showDownRopes = false;
  bool hitBar = true;     // ShowRopesightScore
  int mode = 1;           // RopesightMode: bit 0 flashes, bit 1 tinted columns
  int flashDelay = 3;     // tenths of a row
};

struct RopesPictures {
  QImage sally, ownSally, downSally;
};

// Fill colours.
namespace rope_colour {
inline constexpr QRgb Background = 0xFFF8F5DC;
inline constexpr QRgb OwnColumn = 0xFFEEF9D9;
inline constexpr QRgb BelowColumn = 0xFFFFFFFF;
inline constexpr QRgb AboveColumn = 0xFFF2EDBD;
inline constexpr QRgb FlashFrame = 0xFF000000;
inline constexpr QRgb HitBar = 0xFF0000FF;
QRgb Flash(int state);
}  // namespace rope_colour

class RopesContent final : public QWidget {
  Q_OBJECT
 public:
  static constexpr std::uint32_t RedrawMs = 40;
  static constexpr int FlashMargin = 10;
  static constexpr int FlashFrameWidth = 2;

  RopesContent(TickSource& ticks, int bellCount, QWidget* parent = nullptr);

  // --- User-interface thread. ---
  void SetPictures(RopesPictures pictures);
  void SetSettings(const RopesSettings& settings);
  // The tower is set up: the window's height is the tenor's rope travel.
  void SetupScale(double tenorWheelRadius);
  void Show(bool shown);
  void Relayout();
  void SetMouseX(int x) { mouseX_ = x; }
  // The bells in play changed while the bells stand: their ids are their
  // places among the bells in play.
  void SetBellsInPlay(const std::vector<bool>& inPlay);
  int SetOwnRope(int bell);
  // Draws what a skipped animation step brought (every RedrawMs, by a timer).
  void DrawIfStale();
  int OwnRope() const;
  void ComputeAboveBelow(bool followedBelow);
  bool shown() const { return shown_; }

  // --- Any thread. ---
  // What the engine published, then the blow (bell >= 0) and a frame.
  void UpdateOnBlow(int bell, bool force, const RingingSnapshot& now);
  // Ringing starts: the rows back to rounds and the own bell's id afresh.
  void StartRinging(const RingingSnapshot& now);
  void ShiftTime(double seconds);
  void ResetScores();
  RopesightScores Scores() const;
  // The column under client x, or -1; mapped, the bell whose rope it is.
  int RopeAt(int x, bool mapToBells) const;
  // The bell whose column is at `column`, or -1.
  int BellInColumn(int column) const;
  // A bell's column rectangle over the full height (empty without one).
  QRect ColumnRect(int bell) const;
  int Spacing() const;
  RopesScale Scale() const;
  int RopeY(int bell) const;
  bool BelowOwnRope(int bell) const;
  RingingSnapshot Snapshot() const;
  // Whether a content of `size` holds every rope at the width its height gives.
  bool SizeAllowed(QSize size) const;
  // A copy of the last frame drawn.
  QImage Frame() const;
  // Draws a frame now at the given size (the benchmark; any thread).
  void DrawAtSize(int width, int height);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Under lock_.
  void ComputeLayout();
  void Draw();
  void DrawLocked();  // the tints, the layout, a frame
  void ScalePictures();
  bool RingingWithoutDownRopes() const { return snapshot_.Ringing() && !settings_.showDownRopes; }
  int ColumnOf(int bell) const;
  int RopeAtLocked(int x, bool mapToBells) const;
  void QueueRepaint();

  TickSource& ticks_;
  const int bellCount_;
  std::atomic<bool> shown_{false};
  std::atomic<std::uint32_t> lastDraw_{0};
  std::atomic<int> mouseX_{-1};
  std::atomic<bool> stale_{false};

  mutable std::mutex lock_;
  RopesSettings settings_;
  RopesPictures pictures_, scaled_;
  RingingSnapshot snapshot_;
  Ropesight ropesight_;
  double viewHeightInSallies_ = 0.0;
  RopesScale scale_;
  int spacing_ = 0;
  int width_ = 0, height_ = 0;
  std::vector<int> ropeY_;
  QImage frame_;
};

}  // namespace clangor
