// The worker thread: loading the bells, and the idle loop that raises and
// lowers them one picture per pass and waits for the user when nothing moves.
#include <mutex>

#include "engine/ringing_clock.h"
#include "engine/ringing_state.h"
#include "engine/tower_window.h"
#include "ringing/settings_source.h"
#include "tower/tower.h"

namespace clangor {

namespace {
constexpr int IdleWaitMs = 10000;
}  // namespace

void TowerWindow::Run() {
  if (views_.tower) {
    {
      std::lock_guard lock(drawLock_);
      views_.tower->prepare();
    }
    views_.tower->finishSetUp();
  }
  SetPealSpeed(settings_ ? settings_->GetTowerInt(tower_setting::PealMins) : tower_.pealMins());
  LoadBells();
  if (views_.tower) {
    std::lock_guard lock(drawLock_);
    views_.tower->setLoaded();
    views_.tower->redraw();
  }
  loading_ = false;
  if (!quit_ && views_.listener) views_.listener->towerLoaded();
  IdleLoop();
  if (views_.tower) views_.tower->release();
  {
    std::lock_guard lock(endLock_);
    workerEnded_ = true;
  }
  ended_.notify_all();
}

// The records never move once made: the bells keep pointers into themselves.
void TowerWindow::LoadBells() {
  bells_.reserve(static_cast<std::size_t>(bellCount_) + 1);
  for (int i = 0; i < bellCount_ && !quit_; ++i) {
    Bell& bell = bells_.emplace_back(i, false);
    bell.load(tower_);
    if (views_.tower) views_.tower->makeBellSurfaces(i);
    LoadNextPicture(bell);  // the hanging picture: the bell shows while the rest load
    if (views_.tower) views_.tower->loadBellSounds(i, std::span<Bell>(bells_.data(), bells_.size()));
  }
  // Destroyed while loading: the bells not made yet stay out of every loop.
  while (static_cast<int>(bells_.size()) < bellCount_) bells_.emplace_back(static_cast<int>(bells_.size()), false);
  Bell& own = bells_.emplace_back(bellCount_, true);
  own.mirror(nullptr);
}

void TowerWindow::LoadNextPicture(Bell& bell) {
  const int picture = bell.nextPictureToLoad();
  if (picture < 0) return;
  if (views_.tower) views_.tower->loadBellPicture(bell.data().index, picture);
  bell.markPictureLoaded(picture);
  if (views_.listener) views_.listener->pictureLoaded();
}

void TowerWindow::IdleLoop() {
  while (!quit_) {
    allAtRest_ = false;
    IdlePassResult pass;
    while (!((allAtRest_ && ringing_) || quit_)) {
      pass = IdlePass();
      ++idlePasses_;
      if (pass.bellInPlaySeen && pass.bellsInPlayCanRing && allAtRest_ && goRequested_) ringing_ = true;
      if (allAtRest_ && !ringing_ && !quit_) {
        if (pass.owingBell < 0) wakeEvent_.Wait(IdleWaitMs);
        else LoadNextPicture(bells_[static_cast<std::size_t>(pass.owingBell)]);
      }
      ServeIdleMailbox();
    }
    if (quit_) break;
    if (pass.bellInPlaySeen && ringing_) RingingLoop();
  }
}

// One pass: every bell one picture towards its target. A bell that cannot
// swing (no pictures, no pendulum) is left as it is: it is at rest, so the
// loop can wait, but while it is in play the ringing does not start.
TowerWindow::IdlePassResult TowerWindow::IdlePass() {
  IdlePassResult pass;
  bool atRest = true;
  bool redrawOwed = false;
  for (int i = 0; i < bellCount_ && !quit_; ++i) {
    Bell& bell = bells_[static_cast<std::size_t>(i)];
    const bool inPlay = IsBellInPlay(i);
    const bool canSwing = bell.data().canSwing;
    pass.bellInPlaySeen = pass.bellInPlaySeen || inPlay;
    if (inPlay && !canSwing) pass.bellsInPlayCanRing = false;
    bool moved = false;
    if (canSwing && !inPlay && !bell.isDown()) moved = bell.stepTowardsDown();
    else if (canSwing && inPlay && !bell.isUp()) moved = bell.stepTowardsUp();
    if (moved) {
      if (drawingSuspended_) {
        redrawOwed = true;
      } else {
        DrawBell(i, bell.picture());
        if (views_.ropes) views_.ropes->noteStruck(-1);
      }
    }
    if (canSwing && (inPlay ? !bell.isUp() : !bell.isDown())) atRest = false;
    if (bell.nextPictureToLoad() >= 0) {
      if (inPlay) {
        LoadNextPicture(bell);
        if (bell.nextPictureToLoad() >= 0) atRest = false;
      } else {
        pass.owingBell = i;
      }
    }
    allAtRest_ = atRest;
  }
  if (redrawOwed && !quit_) RedrawFromWorker();
  return pass;
}

void TowerWindow::ServeIdleMailbox() {
  const int word = manualCommand_;
  if (ManualKind(word) != 1) return;
  SetOwnBell(ManualBell(word));
  manualCommand_ = 0;
}

// ---------------------------------------------------------------- the own bell

Bell* TowerWindow::OwnRecord() {
  if (bells_.size() <= static_cast<std::size_t>(bellCount_)) return nullptr;
  return &bells_.back();
}

bool TowerWindow::OwnRecordActive() {
  Bell* own = OwnRecord();
  return own && own->active();
}

bool TowerWindow::CanSelectOwnBell(int bell) const { return bell >= 0 && bell < bellCount_; }

void TowerWindow::SetOwnBell(int bell) {
  Bell* own = OwnRecord();
  if (own == nullptr) return;
  if (!CanSelectOwnBell(bell)) bell = -1;
  own->mirror(bell < 0 ? nullptr : &bells_[static_cast<std::size_t>(bell)]);
  ownBell_ = bell;
  if (views_.manual) views_.manual->setOwnBell(bell);
}

// Lets go of the own rope: the bell swings on as the user left it.
void TowerWindow::ReleaseOwnRope() {
  ownRopeHeld_ = false;
  if (Bell* own = OwnRecord()) own->setPull(0.0);
}

// Gives the bell back to the program, which rings it on from where the user left it.
void TowerWindow::HandBackOwnBell() {
  Bell* own = OwnRecord();
  const int bell = ownBell_;
  if (own == nullptr || bell < 0 || !own->active()) return;
  Bell& partner = bells_[static_cast<std::size_t>(bell)];
  partner.state() = own->state();
  own->handBack(partner);
}

}  // namespace clangor
