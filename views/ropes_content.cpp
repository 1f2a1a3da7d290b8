#include "views/ropes_content.h"

#include <QMetaObject>
#include <QPainter>
#include <QPointer>

#include "platform/ticks.h"

namespace clangor {

QRgb rope_colour::Flash(int state) {
  switch (state) {
    case Ropesight::FlashDown: return 0xFFFF80FF;
    case Ropesight::FlashPlace: return 0xFFFFFF80;
    default: return 0xFF80FFFF;
  }
}

RopesContent::RopesContent(TickSource& ticks, int bellCount, QWidget* parent)
    : QWidget(parent), ticks_(ticks), bellCount_(bellCount), ropesight_(bellCount) {
  setObjectName("CLRopesContent");
  // Disabled: every mouse event goes to the outer window.
  setEnabled(false);
  setAttribute(Qt::WA_OpaquePaintEvent);
  snapshot_.bells.resize(static_cast<std::size_t>(bellCount));
  ropeY_.assign(static_cast<std::size_t>(bellCount), 0);
}

// ---------------------------------------------------------------- set-up

void RopesContent::SetPictures(RopesPictures pictures) {
  std::lock_guard lock(lock_);
  pictures_ = std::move(pictures);
  scaled_ = {};
}

void RopesContent::SetSettings(const RopesSettings& settings) {
  {
    std::lock_guard lock(lock_);
    const bool rescale = settings.imageWidth != settings_.imageWidth || settings.imageHeight != settings_.imageHeight;
    settings_ = settings;
    if (rescale) scaled_ = {};
  }
  Relayout();
}

void RopesContent::SetupScale(double tenorWheelRadius) {
  std::lock_guard lock(lock_);
  viewHeightInSallies_ = ViewHeightInSallies(tenorWheelRadius);
  for (RopeBellState& b : snapshot_.bells) b.exists = true;
}

void RopesContent::Show(bool shown) {
  shown_ = shown;
  lastDraw_ = ticks_.Ticks();
  {
    std::lock_guard lock(lock_);
    ropesight_.ResetRows();
    if (shown) ropesight_.ComputeAboveBelow(false, snapshot_);
  }
  setVisible(shown);
  Relayout();
}

void RopesContent::Relayout() {
  {
    std::lock_guard lock(lock_);
    width_ = width();
    height_ = height();
    if (viewHeightInSallies_ <= 0.0) return;
    const RopesScale scale = ScaleFor(height_, viewHeightInSallies_, settings_.imageWidth, settings_.imageHeight);
    if (scale.sallyHeight != scale_.sallyHeight || scale.ropeWidth != scale_.ropeWidth) scaled_ = {};
    scale_ = scale;
    if (!shown_) return;
    DrawLocked();
  }
  update();
}

void RopesContent::SetBellsInPlay(const std::vector<bool>& inPlay) {
  std::lock_guard lock(lock_);
  int id = 0;
  for (std::size_t b = 0; b < snapshot_.bells.size() && b < inPlay.size(); ++b) {
    snapshot_.bells[b].inPlay = inPlay[b];
    snapshot_.bells[b].id = inPlay[b] ? id++ : -1;
  }
  ropesight_.RefreshOwnRopeId(snapshot_);
}

int RopesContent::SetOwnRope(int bell) {
  int own;
  {
    std::lock_guard lock(lock_);
    own = ropesight_.SetOwnRope(bell, snapshot_);
    if (shown_) {
      // As for a blow of the first bell: the tints catch up; the rows stay
      // as the last real blow left them.
      RingingSnapshot now = snapshot_;
      now.rowBlows = 0;
      ropesight_.OnBlow(0, now, settings_.flashDelay);
      DrawLocked();
    }
  }
  if (shown_) update();
  return own;
}

int RopesContent::OwnRope() const {
  std::lock_guard lock(lock_);
  return ropesight_.OwnRope();
}

void RopesContent::ComputeAboveBelow(bool followedBelow) {
  std::lock_guard lock(lock_);
  ropesight_.ComputeAboveBelow(followedBelow, snapshot_);
}

// ---------------------------------------------------------------- updates

void RopesContent::UpdateOnBlow(int bell, bool force, const RingingSnapshot& now) {
  // A plain animation step draws at most every RedrawMs; what it brought
  // is kept, and drawn by the next frame or by DrawIfStale. Hidden, the
  // window only keeps it, to show the bells as they are when it opens.
  const bool draw = bell >= 0 || force || TicksBetween(lastDraw_, ticks_.Ticks()) >= RedrawMs;
  {
    std::lock_guard lock(lock_);
    snapshot_ = now;
    if (snapshot_.bells.size() != static_cast<std::size_t>(bellCount_)) snapshot_.bells.resize(static_cast<std::size_t>(bellCount_));
    if (!shown_) return;
    ropesight_.OnBlow(bell, snapshot_, settings_.flashDelay);
    if (!draw) {
      stale_ = true;
      return;
    }
    DrawLocked();
  }
  QueueRepaint();
}

void RopesContent::DrawLocked() {
  ropesight_.CheckAboveBelow(snapshot_);
  ComputeLayout();
  Draw();
  lastDraw_ = ticks_.Ticks();
  stale_ = false;
}

void RopesContent::DrawIfStale() {
  // Called every RedrawMs of real time: the tick count may stand still
  // (the worker waits, or runs on a clock of its own).
  if (!shown_ || !stale_) return;
  {
    std::lock_guard lock(lock_);
    DrawLocked();
  }
  update();
}

void RopesContent::StartRinging(const RingingSnapshot& now) {
  std::lock_guard lock(lock_);
  snapshot_.bells = now.bells;
  snapshot_.bells.resize(static_cast<std::size_t>(bellCount_));
  ropesight_.ResetRows();
  ropesight_.RefreshOwnRopeId(snapshot_);
}

void RopesContent::ShiftTime(double seconds) {
  std::lock_guard lock(lock_);
  ropesight_.ShiftTime(seconds);
}

void RopesContent::ResetScores() {
  std::lock_guard lock(lock_);
  ropesight_.ResetScores();
}

RopesightScores RopesContent::Scores() const {
  std::lock_guard lock(lock_);
  return ropesight_.scores();
}

void RopesContent::QueueRepaint() {
  QPointer<RopesContent> self = this;
  QMetaObject::invokeMethod(this, [self] { if (self) self->update(); }, Qt::QueuedConnection);
}

// ---------------------------------------------------------------- layout

int RopesContent::ColumnOf(int bell) const {
  const RopeBellState* b = snapshot_.Bell(bell);
  if (b == nullptr) return -1;
  if (!RingingWithoutDownRopes()) return bell;
  return b->inPlay ? b->id : -1;
}

void RopesContent::ComputeLayout() {
  int columns = bellCount_;
  if (RingingWithoutDownRopes()) {
    columns = 0;
    for (const RopeBellState& b : snapshot_.bells) columns += b.inPlay ? 1 : 0;
  }
  spacing_ = ColumnSpacing(width_, settings_.hitBar, columns);
  for (int i = 0; i < bellCount_; ++i) {
    const RopeBellState& b = snapshot_.bells[static_cast<std::size_t>(i)];
    // A bell that is down, or on its way up or down, hangs with its rope at rest.
    const double travel = b.up ? RopeTravel(b.angle, b.wheelRadius) : 0.0;
    ropeY_[static_cast<std::size_t>(i)] = RopeTop(travel, scale_.sallyHeight, viewHeightInSallies_);
  }
}

void RopesContent::ScalePictures() {
  if (!scaled_.sally.isNull() || scale_.sallyHeight <= 0) return;
  const QSize size(scale_.ropeWidth, scale_.sallyHeight);
  auto scaled = [&size](const QImage& image) {
    return image.isNull() ? QImage() : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  };
  scaled_ = {scaled(pictures_.sally), scaled(pictures_.ownSally), scaled(pictures_.downSally)};
}

void RopesContent::Draw() {
  if (width_ <= 0 || height_ <= 0) return;
  if (frame_.size() != QSize(width_, height_)) frame_ = QImage(width_, height_, QImage::Format_ARGB32_Premultiplied);
  frame_.fill(rope_colour::Background);
  ScalePictures();
  QPainter painter(&frame_);
  const bool hitBar = settings_.hitBar;
  const bool withoutDown = RingingWithoutDownRopes();
  const bool practice = snapshot_.rowBells > 2;
  const int own = ropesight_.OwnRope();
  const int pointerBell = RopeAtLocked(mouseX_, true);
  const std::uint32_t now = ticks_.Ticks();
  int x = spacing_ / 2 - scale_.ropeWidth / 2 + (hitBar ? HitBarWidth : 0);
  for (int i = 0; i < bellCount_; ++i) {
    const RopeBellState& b = snapshot_.bells[static_cast<std::size_t>(i)];
    if (withoutDown && !b.inPlay) continue;
    if (practice && own >= 0 && b.inPlay && (settings_.mode & 2) != 0) {
      const QRgb tint = i == own ? rope_colour::OwnColumn
                        : ropesight_.Below(i) ? rope_colour::BelowColumn
                                              : rope_colour::AboveColumn;
      painter.fillRect(ColumnLeft(ColumnOf(i), spacing_, hitBar), 0, spacing_, height_, QColor::fromRgb(tint));
    }
    // Asked of every rope drawn, shown or not: this is where flashes are scored.
    const int flash = ropesight_.FlashState(i, now, b.time, pointerBell);
    const QRect sally(x, ropeY_[static_cast<std::size_t>(i)], scale_.ropeWidth, scale_.sallyHeight);
    if (practice && (settings_.mode & 1) != 0 && flash != 0) {
      const QRect outer = sally.adjusted(-FlashMargin, -FlashMargin, FlashMargin, FlashMargin);
      painter.fillRect(outer, QColor::fromRgb(rope_colour::FlashFrame));
      painter.fillRect(outer.adjusted(FlashFrameWidth, FlashFrameWidth, -FlashFrameWidth, -FlashFrameWidth),
                       QColor::fromRgb(rope_colour::Flash(flash)));
    }
    const QImage& picture = i == own ? scaled_.ownSally : b.inPlay ? scaled_.sally : scaled_.downSally;
    if (!picture.isNull()) painter.drawImage(sally.topLeft(), picture);
    x += spacing_;
  }
  const RopesightScores& scores = ropesight_.scores();
  if (hitBar && scores.Total() > 0) {
    const int top = scores.HitBarTop(height_);
    painter.fillRect(0, top, HitBarWidth, height_ - top, QColor::fromRgb(rope_colour::HitBar));
  }
}

void RopesContent::DrawAtSize(int width, int height) {
  std::lock_guard lock(lock_);
  if (width != width_ || height != height_) {
    width_ = width;
    height_ = height;
    scale_ = ScaleFor(height_, viewHeightInSallies_, settings_.imageWidth, settings_.imageHeight);
    scaled_ = {};
  }
  ComputeLayout();
  Draw();
}

// ---------------------------------------------------------------- readers

int RopesContent::RopeAtLocked(int x, bool mapToBells) const {
  const int column = ColumnAt(x, settings_.hitBar, spacing_);
  if (column < 0 || !mapToBells || !RingingWithoutDownRopes()) return column;
  for (int b = 0; b < bellCount_; ++b)
    if (snapshot_.bells[static_cast<std::size_t>(b)].inPlay && snapshot_.bells[static_cast<std::size_t>(b)].id == column) return b;
  return -1;
}

int RopesContent::RopeAt(int x, bool mapToBells) const {
  std::lock_guard lock(lock_);
  return RopeAtLocked(x, mapToBells);
}

int RopesContent::BellInColumn(int column) const {
  std::lock_guard lock(lock_);
  if (column < 0) return -1;
  for (int b = 0; b < bellCount_; ++b)
    if (ColumnOf(b) == column) return b;
  return -1;
}

QRect RopesContent::ColumnRect(int bell) const {
  std::lock_guard lock(lock_);
  const int column = ColumnOf(bell);
  if (column < 0) return {};
  return {ColumnLeft(column, spacing_, settings_.hitBar), 0, spacing_, height_};
}

int RopesContent::Spacing() const {
  std::lock_guard lock(lock_);
  return spacing_;
}

RopesScale RopesContent::Scale() const {
  std::lock_guard lock(lock_);
  return scale_;
}

int RopesContent::RopeY(int bell) const {
  std::lock_guard lock(lock_);
  return bell >= 0 && bell < bellCount_ ? ropeY_[static_cast<std::size_t>(bell)] : 0;
}

bool RopesContent::BelowOwnRope(int bell) const {
  std::lock_guard lock(lock_);
  return ropesight_.Below(bell);
}

RingingSnapshot RopesContent::Snapshot() const {
  std::lock_guard lock(lock_);
  return snapshot_;
}

bool RopesContent::SizeAllowed(QSize size) const {
  std::lock_guard lock(lock_);
  if (viewHeightInSallies_ <= 0.0) return true;
  return ContentSizeAllowed(size.width(), size.height(), bellCount_, viewHeightInSallies_, settings_.imageWidth,
                            settings_.imageHeight);
}

QImage RopesContent::Frame() const {
  std::lock_guard lock(lock_);
  return frame_.copy();
}

// ---------------------------------------------------------------- painting

void RopesContent::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  {
    std::lock_guard lock(lock_);
    if (!shown_) return;
    // Painting presents the last frame; it draws afresh only when the frame
    // is behind (the first paint, a new size, a skipped step).
    if (viewHeightInSallies_ > 0.0 && (stale_ || frame_.size() != QSize(width_, height_))) DrawLocked();
    if (!frame_.isNull()) painter.drawImage(0, 0, frame_);
  }
}

void RopesContent::resizeEvent(QResizeEvent*) { Relayout(); }

}  // namespace clangor
