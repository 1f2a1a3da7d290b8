#include "views/tower_view.h"

#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <cstdio>

#include "platform/shellfolders.h"
#include "shell/settings_store.h"
#include "sound/tower_sound.h"
#include "tower/tower.h"
#include "views/memory_scale.h"
#include "views/picture_keys.h"

namespace clangor {

namespace {

constexpr int DigitCount = 19;
// What a surface that cannot be made reports (an invalid size).
constexpr int SurfaceFailed = static_cast<int>(0x80070057u);
constexpr const char* CaptionFace = "Arial";
// The most memory the pictures kept at their drawn size may take, for the
// whole tower; beyond it (a very large window) bells are scaled as drawn.
constexpr double DrawnPictureBudget = 128.0 * (1 << 20);
constexpr int CaptionPixels = 24;

int IntProperty(const Tower& tower, int bell, const char* key) {
  return std::atoi(tower.bellProperty(bell, key).c_str());
}

// A bell number (from 1) of the tower as an index, or -1.
int BellIndexProperty(const Tower& tower, int bell, const char* key) {
  const std::string text = tower.bellProperty(bell, key);
  if (text.empty()) return -1;
  const int index = std::atoi(text.c_str()) - 1;
  return index >= 0 && index < tower.bellCount() ? index : -1;
}

QImage Resized(const QImage& image, int w, int h) {
  if (image.isNull() || (image.width() == w && image.height() == h)) return image;
  return image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// A picture with its magenta key made transparent, and its smooth rim too.
QImage KeyedPicture(const QImage& image) {
  QImage keyed = KeyedToAlpha(image, PictureKey);
  UnblendKeyedEdges(keyed, PictureKey);
  return keyed;
}

QRect ToQRect(const ViewRect& r) { return QRect(r.x, r.y, r.w, r.h); }

}  // namespace

TowerView::TowerView(Tower& tower, SettingsStore& settings, std::string dataFolder, std::uint64_t physicalMemory,
                     Hooks hooks, SoundDeviceOpener opener)
    : tower_(tower),
      dataFolder_(std::move(dataFolder)),
      hooks_(std::move(hooks)),
      opener_(std::move(opener)),
      settings_(settings),
      bells_(static_cast<std::size_t>(std::max(tower.bellCount(), 0))) {
  memoryScale_ = MemoryScale(physicalMemory, tower.ram());
  geometry_.towerName = tower.name();
  geometry_.baseW = tower.baseWidth();
  geometry_.baseH = tower.baseHeight();
  geometry_.minW = tower.minWidth();
  geometry_.minH = tower.minHeight();
  geometry_.surprise = {tower.surpriseX(), tower.surpriseY(), tower.surpriseW(), tower.surpriseH()};
  std::vector<int> above, beneath;
  for (int b = 0; b < bellCount(); ++b) {
    BellSurfaces& s = bells_[static_cast<std::size_t>(b)];
    s.baseRect = {IntProperty(tower, b, "XPos"), IntProperty(tower, b, "YPos"), IntProperty(tower, b, "Width"),
                  IntProperty(tower, b, "Height")};
    s.imageCount = std::clamp(IntProperty(tower, b, "ImageCount"), 0, 1000);
    const int source = BellIndexProperty(tower, b, "SourceBell");
    s.sourceBell = (source >= 0 ? source : b) + 1;
    s.above = BellIndexProperty(tower, b, "Above");
    s.beneath = BellIndexProperty(tower, b, "Beneath");
    s.width = static_cast<int>(s.baseRect.w * memoryScale_);
    s.height = static_cast<int>(s.baseRect.h * memoryScale_);
    s.pictures.resize(static_cast<std::size_t>(s.imageCount));
    s.loaded = std::make_unique<std::atomic<bool>[]>(static_cast<std::size_t>(s.imageCount));
    geometry_.bells.push_back(s.baseRect);
    above.push_back(s.above);
    beneath.push_back(s.beneath);
  }
  paintOrder_ = BellPaintOrder(above, beneath);
  digitWidth_ = settings.GetInt(setting::NumbersDigitWidth);
  digitHeight_ = settings.GetInt(setting::NumbersDigitHeight);
  sallyWidth_ = settings.GetInt(setting::RopeImageWidth);
  sallyHeight_ = settings.GetInt(setting::SallyImageHeight);
}

TowerView::~TowerView() { release(); }

std::string TowerView::dataPath(const std::string& sub) const { return PathAppend(dataFolder_, sub); }

// The tower's own picture, else the images tower's.
std::string TowerView::towerPicturePath(const std::string& file) const {
  const std::string own = dataPath("Towers/XII/" + tower_.name() + "/images/" + file);
  if (QFile::exists(QString::fromStdString(own))) return own;
  return dataPath("Towers/XII/" + tower_.imagesTower() + "/images/" + file);
}

std::string TowerView::BellPicturePath(const std::string& imagesTower, int sourceBell, int picture) {
  char number[16];
  std::snprintf(number, sizeof number, "%03d", picture);
  const std::string s = std::to_string(sourceBell);
  return "Towers/XII/" + imagesTower + "/images/" + s + "/" + s + "-" + number + ".bmp";
}

// ---------------------------------------------------------------- set-up

void TowerView::prepare() {
  if (openDisplay() == 0) redraw();
}

void TowerView::finishSetUp() {
  if (!opener_) return;
  sound_ = std::make_unique<TowerSound>(settings_, tower_, opener_, dataFolder_);
  sound_->refreshSettings();
  sound_->openSound();
}

int TowerView::openDisplay() {
  closeDisplay();
  if (geometry_.baseW <= 0 || geometry_.baseH <= 0) {
    // A tower whose files were not found has no base size.
    if (hooks_.report) hooks_.report("Possible problem with application data location", "Path=" + dataFolder_);
    return reportDirectXProblem("CreateSurface2 FAILED", SurfaceFailed);
  }
  base_ = Resized(LoadBitmap(QString::fromStdString(towerPicturePath("base.bmp"))), geometry_.baseW, geometry_.baseH);
  if (base_.isNull()) {
    base_ = QImage(geometry_.baseW, geometry_.baseH, QImage::Format_RGB32);
    if (base_.isNull()) return reportDirectXProblem("CreateSurface2 FAILED", SurfaceFailed);
    base_.fill(Qt::darkGray);
  }
  const ViewRect& s = geometry_.surprise;
  if (!s.empty()) {
    surprise_ = Resized(KeyedPicture(LoadBitmap(QString::fromStdString(towerPicturePath("surprise.bmp")))), s.w, s.h);
    surpriseMask_ = Resized(LoadBitmap(QString::fromStdString(towerPicturePath("surprise_mask.bmp"))), s.w, s.h);
  }
  const QImage digits = LoadBitmap(QString::fromStdString(dataPath("Program Stuff/digits.bmp")));
  digits_.clear();
  for (int i = 0; i < DigitCount && !digits.isNull(); ++i)
    digits_.push_back(KeyedPicture(digits.copy((digitWidth_ + 1) * i, 0, digitWidth_, digitHeight_)));
  const auto sally = [this](const char* file) {
    return Resized(KeyedPicture(LoadBitmap(QString::fromStdString(dataPath(std::string("Program Stuff/") + file)))),
                   sallyWidth_, sallyHeight_);
  };
  sally_ = sally("rope_sally.bmp");
  ownSally_ = sally("own_sally.bmp");
  downSally_ = sally("down_sally.bmp");
  ready_ = true;
  return 0;
}

void TowerView::closeDisplay() {
  ready_ = false;
  layout_.scale = 0;  // the next frame lays out afresh
  base_ = surprise_ = surpriseMask_ = QImage();
  digits_.clear();
  sally_ = ownSally_ = downSally_ = QImage();
}

// The view stops drawing at once; its pictures go with it (closeDisplay) at
// the next set-up or when it is destroyed, never under a drawing thread.
int TowerView::reportDirectXProblem(const std::string& text, int code) {
  ready_ = false;
  if (hooks_.report) hooks_.report("DirectX Problem", text + " (code " + std::to_string(code) + ")");
  return code;
}

void TowerView::makeBellSurfaces(int bell) {
  if (!ready_ || bell < 0 || bell >= bellCount()) return;
  BellSurfaces& s = bells_[static_cast<std::size_t>(bell)];
  if (s.imageCount > 0 && (s.width <= 0 || s.height <= 0)) {
    reportDirectXProblem("CreateSurface (bells) FAILED", SurfaceFailed);
    return;
  }
  const std::string maskFile = "Towers/XII/" + tower_.imagesTower() + "/images/" + std::to_string(s.sourceBell) + "-mask.bmp";
  const QImage mask = LoadBitmap(QString::fromStdString(dataPath(maskFile)));
  s.mask = mask.isNull() ? QImage() : ScaleMaskNearest(mask, memoryScale_);
}

void TowerView::loadBellPicture(int bell, int picture) {
  if (!ready_ || bell < 0 || bell >= bellCount()) return;
  BellSurfaces& s = bells_[static_cast<std::size_t>(bell)];
  if (picture < 0 || picture >= s.imageCount || s.loaded[static_cast<std::size_t>(picture)]) return;
  const std::string path = dataPath(BellPicturePath(tower_.imagesTower(), s.sourceBell, picture));
  QImage image = KeyedPicture(LoadBitmap(QString::fromStdString(path)));
  if (image.isNull()) {
    // A missing picture or one that is not a bitmap: the bell does not show in it.
    image = QImage(s.width, s.height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
  }
  image = Resized(image, s.width, s.height);
  if (!s.mask.isNull()) ApplyMask(image, s.mask);
  s.pictures[static_cast<std::size_t>(picture)] = std::move(image);
  s.loaded[static_cast<std::size_t>(picture)].store(true, std::memory_order_release);
  // The first picture in is the one the bell hangs at: it shows from now.
  int none = -1;
  if (s.current.compare_exchange_strong(none, picture)) {
    s.shown = true;
    if (hooks_.bellShown) hooks_.bellShown(bell);
  }
}

void TowerView::loadBellSounds(int bell, std::span<Bell> bells) {
  if (!sound_) return;
  sound_->setBells(bells);
  sound_->loadBellSounds(bell);
}

void TowerView::soundBlow(int bell, bool forced) {
  if (sound_) sound_->soundBlow(bell, forced);
}

void TowerView::release() {
  sound_.reset();
}

// ---------------------------------------------------------------- drawing

void TowerView::setClientSize(int width, int height) {
  clientSize_ = (static_cast<std::uint64_t>(std::max(width, 0)) << 32) | static_cast<std::uint32_t>(std::max(height, 0));
}

bool TowerView::bellShown(int bell) const {
  return bell >= 0 && bell < bellCount() && bells_[static_cast<std::size_t>(bell)].shown;
}

int TowerView::currentPicture(int bell) const {
  return bell >= 0 && bell < bellCount() ? bells_[static_cast<std::size_t>(bell)].current.load() : -1;
}

QImage TowerView::bellPicture(int bell, int picture) const {
  if (bell < 0 || bell >= bellCount()) return {};
  const BellSurfaces& s = bells_[static_cast<std::size_t>(bell)];
  if (picture < 0 || picture >= s.imageCount || !s.loaded[static_cast<std::size_t>(picture)].load(std::memory_order_acquire))
    return {};
  return s.pictures[static_cast<std::size_t>(picture)];
}

void TowerView::layOut() {
  const std::uint64_t size = clientSize_;
  const int w = static_cast<int>(size >> 32), h = static_cast<int>(size & 0xFFFFFFFFu);
  if (composition_.width() != w || composition_.height() != h || layout_.scale == 0) {
    layout_ = LayOutTowerView(geometry_, w, h);
    composition_ = w > 0 && h > 0 ? QImage(w, h, QImage::Format_RGB32) : QImage();
    background_ = composition_.isNull() ? QImage() : QImage(w, h, QImage::Format_RGB32);
    if (!background_.isNull()) {
      background_.fill(Qt::black);  // the margins
      QPainter p(&background_);
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      const ViewRect& t = layout_.target;
      p.drawImage(QRectF(t.x, t.y, t.w, t.h), base_, QRectF(layout_.sourceX, layout_.sourceY, layout_.sourceW, layout_.sourceH));
    }
  }
}

void TowerView::redraw() {
  if (!ready_) return;
  layOut();
  if (composition_.isNull()) return;
  composeWhole();
  if (hooks_.present) hooks_.present(0, 0, composition_.width(), composition_.height());
}

void TowerView::composeWhole() {
  composeRect(ViewRect{0, 0, composition_.width(), composition_.height()});
}

// Restores the area from the base picture and paints, clipped to it, every
// bell that reaches into it in the order a whole frame paints them, then the
// surprise picture.
void TowerView::composeRect(const ViewRect& area) {
  QPainter p(&composition_);
  const QRect clip = ToQRect(area).intersected(composition_.rect());
  p.setClipRect(clip);
  p.drawImage(clip.topLeft(), background_, clip);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  for (int bell : paintOrder_)
    if (layout_.bells[static_cast<std::size_t>(bell)].intersects(area)) paintBell(p, bell);
  if (surpriseOn_ && !surprise_.isNull() && layout_.surprise.intersects(area)) p.drawImage(ToQRect(layout_.surprise), surprise_);
}

void TowerView::paintBell(QPainter& painter, int bell) {
  BellSurfaces& s = bells_[static_cast<std::size_t>(bell)];
  const int picture = s.current;
  const QImage source = bellPicture(bell, picture);
  if (source.isNull()) return;  // not loaded yet: the base shows
  const QRect rect = ToQRect(layout_.bells[static_cast<std::size_t>(bell)]);
  if (s.drawnSize != rect.size()) {
    const double bytes = 4.0 * rect.width() * rect.height() * s.imageCount;
    s.keepDrawn = bytes * bellCount() <= DrawnPictureBudget;
    s.drawn.assign(s.keepDrawn ? static_cast<std::size_t>(s.imageCount) : 0, QImage());
    s.drawnSize = rect.size();
  }
  if (!s.keepDrawn) {
    painter.drawImage(rect, source);
    return;
  }
  QImage& drawn = s.drawn[static_cast<std::size_t>(picture)];
  if (drawn.isNull()) drawn = Resized(source, rect.width(), rect.height());
  painter.drawImage(rect.topLeft(), drawn);
}

void TowerView::drawBell(int bell, int picture) {
  if (!ready_ || bell < 0 || bell >= bellCount()) return;
  bells_[static_cast<std::size_t>(bell)].current = picture;
  layOut();
  if (composition_.isNull()) return;
  const ViewRect& r = layout_.bells[static_cast<std::size_t>(bell)];
  if (r.empty()) return;
  composeRect(r);
  if (hooks_.present) hooks_.present(r.x, r.y, r.w, r.h);
}

QImage TowerView::captionStrip(const std::string& text, int width) const {
  QFont font(CaptionFace);
  font.setPixelSize(CaptionPixels);
  font.setWeight(QFont::Bold);
  const QFontMetrics metrics(font);
  const int lineHeight = metrics.height() + metrics.leading();
  QImage strip(std::max(width, 1), lineHeight, QImage::Format_ARGB32_Premultiplied);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(strip.rect(), Qt::AlignCenter, QString::fromStdString(text));
  return strip;
}

}  // namespace clangor
