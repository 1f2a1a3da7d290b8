// The tower view: the ringing chamber's base picture with every bell drawn
// over it at its current swing picture, and the surprise picture; the owner
// of every picture of the loaded tower (the small ones the ropes, numbers and
// manual windows use too) and, through TowerSound, of its bell sounds.
//
// Threads: the engine calls the EngineTowerView operations on its worker
// thread, the drawing ones under its draw lock; the user-interface thread
// calls redraw through the engine (TowerWindow::Redraw), also under that
// lock. Pictures are loaded on the worker outside the lock: a picture is
// published by its atomic flag once it is complete, and drawing reads only
// published pictures. The view never touches a widget: it asks its owner to
// repaint a rectangle through Hooks::present, which the owner queues to the
// user-interface thread.
#pragma once

#include <QImage>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/engine_views.h"
#include "sound/sound_device.h"
#include "views/tower_view_layout.h"

namespace clangor {

class SettingsStore;
class Tower;
class TowerSound;

class TowerView final : public EngineTowerView {
 public:
  struct Hooks {
    // Repaint this part of the client area (any thread; queue it).
    std::function<void(int x, int y, int w, int h)> present;
    // Show a message box (any thread; queue it).
    std::function<void(const std::string& caption, const std::string& text)> report;
    // A bell's first picture is in (worker): redraw the frame when convenient.
    std::function<void(int bell)> bellShown;
  };

  // Reads the tower's geometry and the picture settings and computes the
  // memory scale from `physicalMemory` (bytes). A null opener: no sound.
  TowerView(Tower& tower, SettingsStore& settings, std::string dataFolder, std::uint64_t physicalMemory,
            Hooks hooks, SoundDeviceOpener opener);
  ~TowerView() override;
  TowerView(const TowerView&) = delete;
  TowerView& operator=(const TowerView&) = delete;

  // --- EngineTowerView. ---
  void prepare() override;
  void finishSetUp() override;
  void makeBellSurfaces(int bell) override;
  void loadBellPicture(int bell, int picture) override;
  void loadBellSounds(int bell, std::span<Bell> bells) override;
  void setLoaded() override { showBells_ = true; }
  void drawBell(int bell, int picture) override;
  void redraw() override;
  void soundBlow(int bell, bool forced) override;
  void setSurpriseAllowed(bool allowed) override { surpriseOn_ = allowed; }
  void release() override;

  // Sets up every picture surface; 0, or the failure's code after the
  // report. Called by prepare; public for the tests.
  int openDisplay();
  void closeDisplay();
  // Stops all drawing, shows the one failure report and returns `code`.
  int reportDirectXProblem(const std::string& text, int code);

  // User-interface thread: the client area's size, used from the next redraw.
  void setClientSize(int width, int height);
  // Under the draw lock (or with no worker running): the composed frame.
  const QImage& composition() const { return composition_; }
  const TowerViewLayout& layout() const { return layout_; }

  bool ready() const { return ready_; }
  bool surpriseOn() const { return surpriseOn_; }
  // Every bell has been set up.
  bool bellsLoaded() const { return showBells_; }
  double memoryScale() const { return memoryScale_; }
  int bellCount() const { return static_cast<int>(bells_.size()); }
  bool bellShown(int bell) const;
  int currentPicture(int bell) const;
  QImage bellPicture(int bell, int picture) const;
  TowerSound* sound() { return sound_.get(); }

  // The small surfaces of the ropes, numbers and manual windows.
  const std::vector<QImage>& digits() const { return digits_; }
  const QImage& sally() const { return sally_; }
  const QImage& ownSally() const { return ownSally_; }
  const QImage& downSally() const { return downSally_; }
  // The caption strip: `text` centred in Arial bold on a transparent strip
  // `width` wide, one caption line high.
  QImage captionStrip(const std::string& text, int width) const;

  // A bell picture's path under the data folder: picture k of the bell whose
  // pictures are those of bell `sourceBell` (from 1).
  static std::string BellPicturePath(const std::string& imagesTower, int sourceBell, int picture);

 private:
  struct BellSurfaces {
    ViewRect baseRect;            // in the base picture
    int imageCount = 0;
    int sourceBell = 1;
    int above = -1, beneath = -1;
    int width = 0, height = 0;    // scaled picture size
    std::vector<QImage> pictures;
    std::unique_ptr<std::atomic<bool>[]> loaded;
    QImage mask;                  // none when its file is missing
    // Under the draw lock: the pictures at the size the layout draws them,
    // made when first drawn, so a blow costs a copy and not a rescale.
    std::vector<QImage> drawn;
    QSize drawnSize;
    bool keepDrawn = false;       // the drawn pictures fit the bell's share of the memory allowed
    std::atomic<int> current{-1};
    std::atomic<bool> shown{false};
  };

  std::string dataPath(const std::string& sub) const;
  std::string towerPicturePath(const std::string& file) const;
  void layOut();
  void composeWhole();
  void composeRect(const ViewRect& area);
  void paintBell(class QPainter& painter, int bell);

  Tower& tower_;
  std::string dataFolder_;
  Hooks hooks_;
  SoundDeviceOpener opener_;
  SettingsStore& settings_;
  TowerGeometry geometry_;
  std::vector<int> paintOrder_;
  double memoryScale_ = 1.0;
  int digitWidth_ = 0, digitHeight_ = 0, sallyWidth_ = 0, sallyHeight_ = 0;

  std::atomic<bool> ready_{false};
  std::atomic<bool> showBells_{false};
  std::atomic<bool> surpriseOn_{false};
  std::atomic<std::uint64_t> clientSize_{0};

  std::vector<BellSurfaces> bells_;
  QImage base_, surprise_, surpriseMask_;
  std::vector<QImage> digits_;
  QImage sally_, ownSally_, downSally_;
  std::unique_ptr<TowerSound> sound_;

  // Under the draw lock.
  TowerViewLayout layout_;
  QImage composition_;
  QImage background_;  // the base picture as laid out, for restoring a bell's area
};

}  // namespace clangor
