// The headless ringer's sound: every blow through the tower's recordings and
// the mixer, either to the sound device as it is struck (real time), or into
// an offline render that starts each blow at its own frame and streams into a
// WAV file.
#pragma once

#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "sound/mixer.h"

namespace clangor {
class Bell;
class OfflineRender;
class SettingsStore;
class Tower;
class TowerSound;
}  // namespace clangor

namespace clangor::ring {

class RingerSound {
 public:
  enum class Output { Device, WaveFile };

  // `settings` and `tower` must outlive this object. Opens the output: a
  // device that does not open is reported on `err`, and the bells ring
  // silently; a WAV file that cannot be made is reported, and fileFailed().
  RingerSound(SettingsStore& settings, Tower& tower, Output output, const std::string& wavFile, std::ostream& err);
  ~RingerSound();

  // Worker thread, while the tower loads.
  void loadBell(int bell, std::span<Bell> bells);
  // Worker thread: tower bell `bell` struck at `time` on the ringing clock.
  void blow(int bell, double time);
  bool fileFailed() const { return fileFailed_; }
  // After the ringing: renders every blow still waiting and the last blows'
  // sound to its end, and completes the WAV file; false (with a message)
  // when it cannot be written.
  bool finishWave(std::ostream& err);
  // After ringing through the device: the blows heard late, any gaps it
  // played, and the period it grew to.
  void reportGaps(std::ostream& err) const;

 private:
  struct Pending {
    double time;
    Mixer::BufferId buffer;
  };
  void renderBefore(double time);
  void startAt(const Pending& blow);

  Output output_;
  std::string wavFile_;
  bool fileFailed_ = false;
  OfflineRender* render_ = nullptr;  // owned by the tower sound's device
  std::unique_ptr<TowerSound> sound_;
  bool open_ = false;
  double origin_ = -1.0;             // ringing-clock time of the render's frame 0
  std::vector<Pending> pending_;     // offline blows not yet started, in time order
};

}  // namespace clangor::ring
