// The main window's settings dialogs: Preferences, and Volume, Speed and
// Pitch, each modal over the main window, and what the main window does with
// what the ringer chose.
#include "engine/ringing_state.h"
#include "ringing/change_generator.h"
#include "shell/main_window.h"
#include "shell/main_window_parts.h"
#include "shell/preferences.h"
#include "shell/preferences_dialog.h"
#include "shell/status_panes.h"
#include "shell/volume_speed_pitch_dialog.h"
#include "sound/tower_sound.h"
#include "tower/tower.h"
#include "views/tower_view.h"

namespace clangor {

void MainWindow::OpenPreferences() {
  PreferencesContext context;
  if (tower_) context.soundSets = tower_->soundSets();
  // The sounds are loaded again only while the worker neither loads nor rings them.
  context.soundSetChangeable = towerReady_ && engine_ && !engine_->ringing() && !engine_->goRequested();
  context.nameText = status_.nameText;
  context.help = [this] { OpenHelp("preferences.html"); };
  PreferencesDialog dialog(settings_, std::move(context), this);
  dialog.setWindowModality(Qt::WindowModal);
  if (dialog.exec() == QDialog::Accepted) ApplyPreferences(dialog.change());
}

void MainWindow::ApplyPreferences(const PreferencesChange& change) {
  if (engine_) {
    const int action = settings_.GetInt(setting::ActionAtRounds);
    const int keepGoing = settings_.GetInt(setting::KeepGoingCount);
    engine_->WithTouch([action, keepGoing](ChangeGenerator* touch) {
      if (touch) touch->SetActionAtRounds(action, keepGoing);
    });
  }
  UpdateStatus(pane::Time);
  UpdateStatus(pane::Name);  // the surprise picture follows the Surprise setting
  const bool stood = engine_ && !engine_->ringing() && !engine_->goRequested();
  if (change.soundSetChanged && towerReady_ && stood && view_ && view_->sound()) {
    view_->sound()->reloadSounds();
    if (sound_) sound_->refreshSettings();
  }
  // The bell tips read ShowTips each time they show; the ropes window reads
  // its settings (down ropes, tips) again and moves into or out of its own
  // window when that changed.
  RopesSettingsChanged();
  if (change.ropesPlacementChanged) PlaceRopes();
  RefreshCommands();
}

void MainWindow::OpenVolumeSpeedPitch() {
  VolumeSpeedPitchHooks hooks;
  hooks.tenorNote = [this] { return paneText(pane::TenorNote).toStdString(); };
  hooks.pealTime = [this] { return ClockPaneText(0, 1.0, tower_ ? settings_.GetTowerInt(tower_setting::PealMins) : 0); };
  hooks.clockSpeed = [] { return ClockPaneText(1, Ringing().maxClockFactor, 0); };
  hooks.volume = [this] { return settings_.GetInt(setting::Volume); };
  hooks.setVolume = [this](int level) {
    TowerSound* sound = towerReady_ && view_ ? view_->sound() : nullptr;
    if (sound) sound->setVolume(level);
    else settings_.SetInt(setting::Volume, -level);  // taken by the sounds when they load
  };
  hooks.help = [this] { OpenHelp("preferences.html#vsp"); };
  VolumeSpeedPitchDialog dialog(this, SettingsStore::AppDataPath("Program Stuff"), std::move(hooks), this);
  dialog.setWindowModality(Qt::WindowModal);
  dialog.exec();
  activateWindow();
  setFocus();
}

}  // namespace clangor
