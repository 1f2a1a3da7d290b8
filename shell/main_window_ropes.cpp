// The main window's ropes window: made with each tower, docked over the tower
// view or floating, shown by F4, fed by the engine, and the own-rope choice,
// the clicks and tips on its ropes and the ropesight statistics.
#include <QCursor>
#include <QToolTip>

#include "ringing/change_generator.h"
#include "shell/framework/key_forwarder.h"
#include "shell/framework/message_box.h"
#include "shell/main_window.h"
#include "tower/bell.h"
#include "tower/tower.h"
#include "views/numbers_window.h"
#include "views/ropes_feed.h"
#include "views/ropes_window.h"
#include "views/tower_view.h"
#include "views/tower_view_widget.h"

namespace clangor {

namespace {
// The no-statistics message keeps the caption it has always had.
constexpr const char* NoStatisticsCaption = "Ropesight Statisics";
constexpr const char* StatisticsCaption = "Ropesight Statistics";
}  // namespace

void MainWindow::CreateRopesWindow() {
  RopesWindow::Hooks hooks;
  hooks.ropeClick = [this](int bell) { RopeClick(bell); };
  hooks.contextMenu = [this](int bell, QPoint global) {
    rememberedBell_ = bell;
    ShowPopup(0, global);
  };
  hooks.tip = [this](int bell) { return RopeTip(bell); };
  // The moving numbers stay in front of the ropes wherever those go.
  hooks.placed = [this] {
    if (numbers_ && numbers_->isVisible()) numbers_->raise();
  };
  const int bells = std::min(tower_->bellCount(), MaxBells);
  ropes_ = new RopesWindow(settings_, *ticks_, bells, this, client_, hooks);
  ropesFeed_ = std::make_unique<RopesFeed>(*ropes_->content());
  keys_->Watch(ropes_);
}

// The engine has gone (its worker with it) before the window goes.
void MainWindow::DestroyRopesWindow() {
  if (ropesFeed_) ropesFeed_->SetEngine(nullptr);
  delete ropes_;
  ropes_ = nullptr;
  ropesFeed_.reset();
}

void MainWindow::RopesTowerReady() {
  if (!ropes_ || !engine_) return;
  const int bells = engine_->bellCount();
  const BellData* tenor = engine_->BellDataOf(bells - 1);
  ropes_->content()->SetupScale(tenor ? tenor->wheelRadius : 0.0);
  if (view_) ropes_->content()->SetPictures({view_->sally(), view_->ownSally(), view_->downSally()});
  ropesFeed_->bellsChanged(false);
  PlaceRopes();
  if (settings_.GetInt(setting::RememberRopes) != 1) settings_.SetInt(setting::ShowRopes, 0);
  ShowRopes(settings_.GetInt(setting::ShowRopes) == 1);
}

// Docked, the ropes cover the tower view; floating, they keep their own place.
void MainWindow::PlaceRopes() {
  if (!ropes_) return;
  const bool floating = settings_.GetInt(setting::RopesInSeparateWindow) == 1;
  if (floating && ropes_->floating() && ropes_->parentWidget() == this) return;
  if (floating) ropes_->Dock(std::nullopt);
  else ropes_->Dock(towerView_->geometry());
}

void MainWindow::ShowRopes(bool shown) {
  if (!ropes_) return;
  ropes_->Show(shown && towerReady_);
  activateWindow();
  setFocus();
}

void MainWindow::RopesSettingsChanged() {
  if (ropes_) ropes_->ReadSettings();
}

// One own bell: the ropes show it, and the engine taps and sounds it.
void MainWindow::ChooseOwnRope(int bell) {
  if (!ropes_ || !engine_ || bell < 0 || bell >= engine_->bellCount()) return;
  const int own = ropes_->SetOwnRope(bell);
  engine_->PostManualSelect(own);
}

// A click on a rope is a click on its bell.
void MainWindow::RopeClick(int bell) {
  if (!engine_ || engine_->loading() || bell < 0) return;
  if (!engine_->ringing() && !engine_->goRequested()) {
    control_.ToggleBell(bell);
    return;
  }
  const std::string tip = control_.CallChangeFor(bell);
  if (!tip.empty() && ropes_) QToolTip::showText(QCursor::pos(), QString::fromStdString(tip), ropes_);
}

// Ringing: the rope's place among the bells in play, or the call that would
// move it; standing: the bell's name.
std::string MainWindow::RopeTip(int bell) const {
  if (!engine_ || engine_->loading()) return {};
  if (!engine_->ringing()) {
    const BellData* data = engine_->BellDataOf(bell);
    return data ? data->name : std::string();
  }
  std::vector<int> numbers;
  int id = -1;
  for (int b = 0; b < engine_->bellCount(); ++b) {
    if (!engine_->IsBellInPlay(b)) continue;
    if (b == bell) id = static_cast<int>(numbers.size());
    numbers.push_back(b + 1);
  }
  if (id < 0) return {};
  std::string tip;
  if (settings_.GetInt(setting::CallChangeTips) == 1) {
    const bool up = settings_.GetInt(setting::CallUp) != 0;
    tip = engine_->WithTouch([&](ChangeGenerator* g) {
      return g ? CallChangeTip(g->currentRow(), id, up, numbers) : std::string();
    });
  }
  return tip.empty() ? std::to_string(id + 1) : tip;
}

void MainWindow::ShowRopesightStatistics() {
  if (!ropes_) return;
  if (ropes_->content()->Scores().Total() < 1) {
    OvLibrary::ShowMessageBox(this, NoStatisticsCaption, NoRopesightStatistics);
    return;
  }
  ropes_->setEnabled(false);
  OvLibrary::ShowMessageBox(this, StatisticsCaption, ropes_->StatisticsText(status_.rowCount));
  if (ropes_) ropes_->setEnabled(true);
}

}  // namespace clangor
