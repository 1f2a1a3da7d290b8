// The Volume, Speed and Pitch dialog (dialog resource 104): on-screen buttons
// for what the arrow keys do, and a volume slider. Each button hands the main
// window the key it stands for, with the Ctrl and Shift held while clicking,
// so it does exactly what the key does; the texts and the slider then show
// the result.
//
// Threads: user-interface thread.
#pragma once

#include <QDialog>

#include <functional>
#include <string>

namespace clangor {

namespace volume_speed_pitch_control {
inline constexpr int Volume = 1153;
inline constexpr int DecreasePealTime = 1041, IncreasePealTime = 1042;
inline constexpr int RaisePitch = 1043, LowerPitch = 1044;
inline constexpr int TenorNote = 1045, PealTime = 1046, DesiredClockSpeed = 1047;
inline constexpr int Help = 1125, Close = 1;
}  // namespace volume_speed_pitch_control

// What the dialog reads and sets through the main window.
struct VolumeSpeedPitchHooks {
  std::function<std::string()> tenorNote;   // status pane 1's text
  std::function<std::string()> pealTime;    // e.g. "3h00"
  std::function<std::string()> clockSpeed;  // the desired clock speed
  std::function<int()> volume;              // the Volume setting
  std::function<void(int level)> setVolume; // hundredths of a decibel, -10000 to 0
  std::function<void()> help;
};

class VolumeSpeedPitchDialog final : public QDialog {
 public:
  // `keyTarget` receives the keys (the main window); the button pictures come
  // from `pictureFolder` ("Program Stuff/").
  VolumeSpeedPitchDialog(QWidget* keyTarget, const std::string& pictureFolder, VolumeSpeedPitchHooks hooks,
                         QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Press(int key);
  void ShowSpeed();
  void ShowPitch();
  void ShowVolume();

  QWidget* keyTarget_;
  VolumeSpeedPitchHooks hooks_;
  // The modifiers of the mouse or key that clicked a button last.
  Qt::KeyboardModifiers clickModifiers_;
  bool showingVolume_ = false;
};

}  // namespace clangor
