#include "sound/tower_sound.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "shell/settings_store.h"
#include "sound/pitch.h"
#include "sound/sample_buffer.h"
#include "sound/sound_result.h"
#include "sound/wave_file.h"
#include "tower/bell.h"
#include "tower/tower.h"

namespace clangor {

namespace {

// The farm-animal recording that stands in for a bell's missing one.
const char* AnimalFor(int bellIndex) {
  if (bellIndex % 4 == 0) return "cow.wav";
  if (bellIndex % 3 == 0) return "cockerel.wav";
  return "dog.wav";
}

int ClampVolume(int level) { return std::clamp(level, Mixer::MinVolume, Mixer::MaxVolume); }

// The samples of a recording the mixer can play; nothing when the file is
// missing, unreadable, of a format we do not play, or holds no whole frame.
std::optional<SampleBuffer> ReadRecording(const std::string& path) {
  WaveFile file;
  if (file.Open(path) != WaveFile::Ok) return std::nullopt;
  if (!IsPlayableWaveFormat(file.Format()) || file.Size() < file.Format().blockAlign) return std::nullopt;
  const std::vector<std::uint8_t> data = file.ReadAll();
  return DecodeSamples(file.Format(), data.data(), data.size());
}

}  // namespace

TowerSound::TowerSound(SettingsStore& settings, Tower& tower, SoundDeviceOpener opener)
    : TowerSound(settings, tower, std::move(opener), SettingsStore::AppDataPath()) {}

TowerSound::TowerSound(SettingsStore& settings, Tower& tower, SoundDeviceOpener opener,
                       std::string dataFolder)
    : settings_(settings),
      tower_(tower),
      opener_(std::move(opener)),
      dataFolder_(std::move(dataFolder)),
      bellCount_(std::clamp(tower.bellCount(), 0, MaxTowerBells)) {
  for (int b = 0; b < MaxTowerBells; ++b) {
    openBuffers_[b] = Mixer::NoBuffer;
    mutedBuffers_[b] = Mixer::NoBuffer;
    openRates_[b] = 0;
    backstrokeStruck_[b] = true;  // a bell at rest waits for its handstroke
  }
  refreshSettings();
}

TowerSound::~TowerSound() { closeSound(); }

void TowerSound::refreshSettings() {
  tapOwnBells_ = settings_.GetInt(setting::TapOwnBells) == 1;
  ownVolumeMax_ = settings_.GetInt(setting::OwnVolumeMax) == 1;
  halfMuffled_ = settings_.GetTowerInt(tower_setting::Clappers);
  semitoneShift_ = ReadSemitoneShift(settings_.GetTowerString(tower_string::SemitoneShift));
  volume_ = ClampVolume(-settings_.GetInt(setting::Volume));
}

std::string TowerSound::recordingPath(const std::string& file) const {
  return (std::filesystem::path(dataFolder_) / "Recordings" / tower_.recordingSource() / file).string();
}

std::string TowerSound::programPath(const std::string& file) const {
  return (std::filesystem::path(dataFolder_) / "Program Stuff" / file).string();
}

// --- Opening and closing ---

std::int32_t TowerSound::openSound() {
  closeSound();
  std::int32_t result = SoundFailed;
  device_ = opener_ ? opener_(mixer_, result) : nullptr;
  if (!device_) return result != SoundOk ? result : SoundFailed;
  buffersMade_ = true;
  return warmUp();
}

// Plays the quiet recording once and stops it straight away, so the first
// blow finds the whole path to the device already exercised.
std::int32_t TowerSound::warmUp() {
  Loaded quiet;
  const std::int32_t result = loadRecording(programPath("quiet.wav"), 0, false, quiet);
  if (result != SoundOk) return result;
  mixer_.stop(quiet.id);
  mixer_.playFromStart(quiet.id);
  mixer_.stop(quiet.id);
  mixer_.releaseBuffer(quiet.id);
  return SoundOk;
}

void TowerSound::closeSound() {
  buffersMade_ = false;
  // The device stops pulling first, so the releases below never wait.
  device_.reset();
  for (int b = 0; b < MaxTowerBells; ++b) {
    releaseBell(b);
    openRates_[b] = 0;
  }
}

void TowerSound::releaseBell(int bell) {
  mixer_.releaseBuffer(openBuffers_[bell].exchange(Mixer::NoBuffer));
  mixer_.releaseBuffer(mutedBuffers_[bell].exchange(Mixer::NoBuffer));
}

// --- Loading ---

// A recording that cannot be played, like one that is not there, gives way
// to the animal that stands in for it.
std::int32_t TowerSound::loadRecording(const std::string& path, int animalIndex, bool ownBell,
                                       Loaded& loaded) {
  std::optional<SampleBuffer> samples = ReadRecording(path);
  if (!samples) samples = ReadRecording(programPath(AnimalFor(animalIndex)));
  if (!samples) return SoundFailed;
  loaded.rate = samples->sampleRate;
  loaded.id = mixer_.createBuffer(std::move(*samples));
  if (loaded.id == Mixer::NoBuffer) return SoundOutOfMemory;
  mixer_.setVolume(loaded.id, ownBell && ownVolumeMax_ ? 0 : volume_.load());
  return SoundOk;
}

std::int32_t TowerSound::loadBellSounds(int bell) {
  if (!validBell(bell) || !buffersMade_ || static_cast<std::size_t>(bell) >= bells_.size()) return SoundFailed;
  releaseBell(bell);
  openRates_[bell] = 0;
  const Bell& b = bells_[static_cast<std::size_t>(bell)];
  backstrokeStruck_[bell] = b.state().handstrokeNext;
  const bool own = bell == ownBell_;

  Loaded open;
  std::int32_t result = loadRecording(recordingPath(b.data().openFile), bell, own, open);
  if (result != SoundOk) return result;
  openRates_[bell] = open.rate;
  openBuffers_[bell] = open.id;

  // A missing muffled recording is replaced as for the treble: always the cow.
  Loaded muted;
  result = loadRecording(recordingPath(b.data().mutedFile), 0, own, muted);
  if (result != SoundOk) return result;
  mutedBuffers_[bell] = muted.id;
  pitchBell(bell);
  return SoundOk;
}

std::int32_t TowerSound::reloadSounds() {
  tower_.reloadSoundSet();
  closeSound();
  std::int32_t result = openSound();
  if (result != SoundOk) return result;
  // A bell that fails stays silent; the bells after it still load. The first
  // failure is the one reported.
  for (int b = 0; b < bellCount_; ++b) {
    if (static_cast<std::size_t>(b) < bells_.size()) bells_[static_cast<std::size_t>(b)].reloadSounds(tower_);
    const std::int32_t bellResult = loadBellSounds(b);
    if (result == SoundOk) result = bellResult;
  }
  return result;
}

// --- Blows ---

void TowerSound::soundBlow(int bell, bool forced) {
  const Mixer::BufferId id = blowBuffer(bell, forced);
  if (id != Mixer::NoBuffer) mixer_.playFromStart(id);
}

TowerSound::ScheduledBlow TowerSound::soundBlowAt(int bell, std::int64_t instantNs) {
  const Mixer::BufferId id = blowBuffer(bell, false);
  if (id == Mixer::NoBuffer) return {};
  const SoundDevice* device = device_.get();
  const std::uint64_t frame = device ? device->frameForInstant(instantNs) : 0;
  mixer_.playAt(id, frame);
  return {id, frame};
}

Mixer::BufferId TowerSound::blowBuffer(int bell, bool forced) {
  if (!validBell(bell)) return Mixer::NoBuffer;
  // The ringing clock calls on the worker thread, which swings the bell: the
  // stroke is read there and kept for a tap from the other thread.
  if (!forced && static_cast<std::size_t>(bell) < bells_.size()) {
    backstrokeStruck_[bell] = bells_[static_cast<std::size_t>(bell)].state().handstrokeNext;
  }
  if (!forced && bell == ownBell_ && tapOwnBells_) return Mixer::NoBuffer;
  if (soundOff_ || !buffersMade_) return Mixer::NoBuffer;
  const bool muffled = halfMuffled_ == 1 && backstrokeStruck_[bell];
  return muffled ? mutedBuffers_[bell].load() : openBuffers_[bell].load();
}

// --- Volume ---

void TowerSound::stepVolume(bool up) {
  // The level comes from the stored setting, the one level every bell
  // shares: an own bell kept at full volume must not become the step's base.
  const int level = ClampVolume(-settings_.GetInt(setting::Volume));
  int next = level;
  if (up && level < 0) next = std::min(level + 100, 0);
  if (!up && level >= -9999) next = std::max(level - 100, -10000);
  if (next != level) applyVolume(next);
}

void TowerSound::setVolume(int level) {
  if (level >= Mixer::MinVolume && level <= Mixer::MaxVolume) applyVolume(level);
}

int TowerSound::levelFor(int bell, int level) const {
  return bell == ownBell_ && ownVolumeMax_ ? 0 : level;
}

void TowerSound::applyVolume(int level) {
  ownVolumeMax_ = settings_.GetInt(setting::OwnVolumeMax) == 1;
  volume_ = level;
  for (int b = 0; b < bellCount_; ++b) {
    mixer_.setVolume(openBuffers_[b], levelFor(b, level));
    mixer_.setVolume(mutedBuffers_[b], levelFor(b, level));
  }
  settings_.SetInt(setting::Volume, -level);
}

// --- Pitch ---

void TowerSound::applyPitch(int bell) {
  semitoneShift_ = ReadSemitoneShift(settings_.GetTowerString(tower_string::SemitoneShift));
  if (bell >= 0) {
    pitchBell(bell);
    return;
  }
  for (int b = 0; b < bellCount_; ++b) pitchBell(b);
}

// Both recordings take the open recording's rate as their base. Each is
// resampled for its frequency now, so a blow costs no more than a copy. A
// frequency the mixer cannot play leaves the buffer at its previous one.
void TowerSound::pitchBell(int bell) {
  if (!validBell(bell) || static_cast<std::size_t>(bell) >= bells_.size()) return;
  const BellData& data = bells_[static_cast<std::size_t>(bell)].data();
  const std::uint32_t rate = openRates_[bell];
  const std::int64_t shift = semitoneShift_;
  mixer_.resampleTo(openBuffers_[bell], PitchedFrequency(rate, shift + data.openShift));
  mixer_.resampleTo(mutedBuffers_[bell], PitchedFrequency(rate, shift + data.mutedShift));
}

// --- Readers ---

Mixer::BufferId TowerSound::openBuffer(int bell) const {
  return validBell(bell) ? openBuffers_[bell].load() : Mixer::NoBuffer;
}

Mixer::BufferId TowerSound::mutedBuffer(int bell) const {
  return validBell(bell) ? mutedBuffers_[bell].load() : Mixer::NoBuffer;
}

std::uint32_t TowerSound::openRate(int bell) const { return validBell(bell) ? openRates_[bell].load() : 0; }

}  // namespace clangor
