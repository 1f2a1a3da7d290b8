// The sound half of the tower view: one open and one muffled buffer for each
// bell of the loaded tower, the sounding of every blow, and the volume and
// pitch the user sets.
//
// Threads: everything runs on the user-interface thread (loading may run on
// the engine's worker thread while the tower loads) except soundBlow, which
// the worker thread calls for every blow and the user-interface thread calls
// when the user taps the own bell. What soundBlow reads is atomic: the buffer
// of each bell, the switches it obeys and the settings it needs are copied
// into atomics here, and the mixer's controls are atomics too, so a blow never
// waits for a volume or pitch change and the audio callback never waits for
// either. Buffers are made and released only while the ringing loop is not
// running.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "sound/mixer.h"
#include "sound/sound_device.h"
#include "tower/control_table.h"

namespace clangor {

class Bell;
class SettingsStore;
class Tower;

class TowerSound {
 public:
  // The data folder is the settings store's (SettingsStore::AppDataPath()).
  // `opener` makes the device at openSound: OpenSdlSoundDevice for the sound
  // card, OfflineRender::Opener for a render into memory. `settings` and
  // `tower` must outlive this object.
  TowerSound(SettingsStore& settings, Tower& tower, SoundDeviceOpener opener);
  // As above with another data folder (ending in a separator or not).
  TowerSound(SettingsStore& settings, Tower& tower, SoundDeviceOpener opener, std::string dataFolder);
  ~TowerSound();  // closeSound
  TowerSound(const TowerSound&) = delete;
  TowerSound& operator=(const TowerSound&) = delete;

  // The ringing clock's bells, bell i at index i (an own-bell record may
  // follow them). Read for each bell's recordings, shifts and stroke; must
  // outlive their use here. Before loadBellSounds.
  void setBells(std::span<Bell> bells) { bells_ = bells; }

  // Opens the device, makes the empty buffer tables and warms the device up
  // with "Program Stuff/quiet.wav". 0, or the failing step's code (without a
  // device the tables stay unmade and the tower rings silently).
  std::int32_t openSound();
  // (Re)loads the bell's open and muffled recordings and applies its pitch.
  // A missing recording, or one that cannot be played, sounds an animal
  // instead. 0 or the failure's code.
  std::int32_t loadBellSounds(int bell);
  // After the user chose another sound set (its name already stored as the
  // tower's SoundsFile): re-reads the set and every bell's sound keys, reopens
  // the device and reloads every bell. A bell that fails does not stop the
  // others; the first failure is returned.
  std::int32_t reloadSounds();
  // Releases every buffer and the device.
  void closeSound();

  // Sounds one blow of `bell`: its muffled recording for a backstroke when
  // the tower rings half-muffled, else its open one, from the start, cutting
  // off its previous blow. `forced` is false from the ringing clock (worker
  // thread; the own bell stays silent when the user taps it) and true when the
  // user taps the own bell (user-interface thread).
  void soundBlow(int bell, bool forced);
  // A blow from the ringing clock whose instant was at `instantNs` on the
  // steady clock: it starts at the sample that instant falls on, the
  // device's constant latency later, so that every blow is heard the same
  // time after its instant. Worker thread. Returns the buffer started (or
  // NoBuffer) and the frame it starts at (0: at once).
  struct ScheduledBlow {
    Mixer::BufferId buffer = Mixer::NoBuffer;
    std::uint64_t frame = 0;
  };
  ScheduledBlow soundBlowAt(int bell, std::int64_t instantNs);
  // The buffer soundBlow would start for this blow, without starting it (it
  // keeps the stroke as soundBlow does); NoBuffer when the blow is silent.
  // For an offline render that starts each blow at its own frame.
  Mixer::BufferId blowBuffer(int bell, bool forced);

  // One step (100) of the volume keys, within -10000 to 0.
  void stepVolume(bool up);
  // Hundredths of a decibel, -10000 (silence) to 0; other levels are ignored.
  void setVolume(int level);
  // Sets the playback frequency of one bell's buffers, or of every bell's
  // when `bell` is negative, from the tower's SemitoneShift setting and the
  // bell's own shifts. Reads the setting afresh.
  void applyPitch(int bell);

  // Copies TapOwnBells, OwnVolumeMax, the tower's SemitoneShift and Clappers
  // (half-muffled) from the settings store. Call after any of them changes.
  void refreshSettings();
  // The user's own bell, -1 for none.
  void setOwnBell(int bell) { ownBell_ = bell; }
  // The Silence command.
  void setSoundOff(bool off) { soundOff_ = off; }
  bool soundOff() const { return soundOff_; }

  // --- What the views and tests read. ---
  int bellCount() const { return bellCount_; }
  bool isOpen() const { return buffersMade_; }
  Mixer& mixer() { return mixer_; }
  SoundDevice* device() { return device_.get(); }
  Mixer::BufferId openBuffer(int bell) const;
  Mixer::BufferId mutedBuffer(int bell) const;
  // The sample rate of the bell's open recording; 0 when it has none.
  std::uint32_t openRate(int bell) const;
  // The master volume level, hundredths of a decibel.
  int volumeLevel() const { return volume_; }

 private:
  struct Loaded {
    Mixer::BufferId id = Mixer::NoBuffer;
    std::uint32_t rate = 0;
  };

  std::int32_t loadRecording(const std::string& path, int animalIndex, bool ownBell, Loaded& loaded);
  std::int32_t warmUp();
  void releaseBell(int bell);
  void pitchBell(int bell);
  void applyVolume(int level);
  int levelFor(int bell, int level) const;
  bool validBell(int bell) const { return bell >= 0 && bell < bellCount_; }
  std::string recordingPath(const std::string& file) const;
  std::string programPath(const std::string& file) const;

  SettingsStore& settings_;
  Tower& tower_;
  SoundDeviceOpener opener_;
  std::string dataFolder_;
  std::span<Bell> bells_;
  int bellCount_ = 0;

  // Declared before the device: the device stops pulling before the mixer goes.
  Mixer mixer_;
  std::unique_ptr<SoundDevice> device_;

  std::atomic<bool> buffersMade_{false};
  std::array<std::atomic<Mixer::BufferId>, MaxTowerBells> openBuffers_;
  std::array<std::atomic<Mixer::BufferId>, MaxTowerBells> mutedBuffers_;
  std::array<std::atomic<std::uint32_t>, MaxTowerBells> openRates_;
  // Whether each bell's last blow from the ringing clock was a backstroke:
  // a tap on the user-interface thread reads this, not the swinging bell.
  std::array<std::atomic<bool>, MaxTowerBells> backstrokeStruck_;

  std::atomic<int> ownBell_{-1};
  std::atomic<bool> soundOff_{false};
  std::atomic<int> halfMuffled_{0};
  std::atomic<bool> tapOwnBells_{false};
  std::atomic<bool> ownVolumeMax_{false};
  std::atomic<int> semitoneShift_{0};
  std::atomic<int> volume_{0};
};

}  // namespace clangor
