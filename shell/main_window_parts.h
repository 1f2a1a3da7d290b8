// The main window's two helpers: the bridge that hands what the engine
// reports from its worker thread to the user-interface thread, and ringing
// control's view of the tower's sound.
#pragma once

#include <QMetaObject>
#include <QPointer>

#include "engine/engine_views.h"
#include "engine/ringing_control.h"
#include "shell/framework/message_box.h"
#include "shell/main_window.h"
#include "shell/status_panes.h"
#include "sound/tower_sound.h"
#include "views/tower_view.h"

namespace clangor {

// What the engine tells the main window from its worker thread, handed on
// to the user-interface thread as queued calls.
class MainWindow::EngineBridge final : public EngineListener {
 public:
  explicit EngineBridge(MainWindow* window) : window_(window) {}
  void towerLoaded() override { Post([](MainWindow* w) { w->TowerReady(); }); }
  void pictureLoaded() override { Post([](MainWindow* w) { w->PictureLoaded(); }); }
  void eventsWaiting() override { Post([](MainWindow* w) { w->DrainEngineEvents(); }); }
  void speedChangeCarriedOut() override { Post([](MainWindow* w) { w->UpdateStatus(pane::ClockSpeed); }); }
  void startCommand() override { window_->control_.Start(); }
  void workerStuck() override {
    OvLibrary::ShowMessageBox(window_, "Clangor", "The ringing engine did not stop.", QMessageBox::Ok,
                              QMessageBox::Warning);
  }

  template <class Action>
  void Post(Action action) {
    QPointer<MainWindow> window = window_;
    QMetaObject::invokeMethod(window_, [window, action] { if (window) action(window.data()); }, Qt::QueuedConnection);
  }

 private:
  MainWindow* window_;
};

// Ringing control's view of the tower's sound.
class MainWindow::ViewSound final : public RingingSound {
 public:
  explicit ViewSound(MainWindow& window) : window_(window) {}
  void setSoundOff(bool off) override { if (auto* s = sound()) s->setSoundOff(off); }
  bool soundOff() const override { auto* s = sound(); return s && s->soundOff(); }
  void refreshSettings() override { if (auto* s = sound()) s->refreshSettings(); }
  void applyPitch() override { if (auto* s = sound()) s->applyPitch(-1); }
  void stepVolume(bool up) override { if (auto* s = sound()) s->stepVolume(up); }
  void soundOwnBell(int bell) override { if (auto* s = sound()) s->soundBlow(bell, true); }

 private:
  // Only once the tower is ready: until then the worker is still loading the sounds.
  TowerSound* sound() const { return window_.towerReady_ && window_.view_ ? window_.view_->sound() : nullptr; }
  MainWindow& window_;
};

}  // namespace clangor
