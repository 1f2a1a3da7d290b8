#include "tools/ring/ringer_sound.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "engine/ringing_clock.h"
#include "sound/offline_render.h"
#include "sound/sound_card.h"
#include "sound/tower_sound.h"

namespace clangor::ring {

namespace {

// The ringing loop advances every bell by at most one sub-step at a pass, so
// a blow is never reported more than this long after a later one.
constexpr double ReportWindow = 0.25;
// Silence before the first blow of the render.
constexpr double LeadIn = 0.5;
// The longest a bell is heard after its last blow.
constexpr double LongestTail = 12.0;

std::uint64_t FrameAt(double seconds) {
  return static_cast<std::uint64_t>(std::llround(std::max(seconds, 0.0) * Mixer::OutputRate));
}

}  // namespace

RingerSound::RingerSound(SettingsStore& settings, Tower& tower, Output output, const std::string& wavFile,
                         std::ostream& err)
    : output_(output), wavFile_(wavFile) {
  SoundDeviceOpener opener = output == Output::Device ? SoundDeviceOpener(OpenSoundCard)
                                                      : OfflineRender::Opener(render_);
  sound_ = std::make_unique<TowerSound>(settings, tower, std::move(opener));
  sound_->refreshSettings();
  const std::int32_t result = sound_->openSound();
  open_ = result == 0;
  if (!open_) {
    err << "clangor-ring: no sound (error 0x" << std::hex << static_cast<std::uint32_t>(result) << std::dec
        << "): the bells ring silently\n";
    fileFailed_ = output == Output::WaveFile;
  } else if (output == Output::Device) {
    err << "clangor-ring: sound: " << sound_->device()->description() << "\n";
  } else if (output == Output::WaveFile && !render_->streamTo(wavFile_)) {
    err << "clangor-ring: cannot write " << wavFile_ << "\n";
    open_ = false;
    fileFailed_ = true;
  }
}

RingerSound::~RingerSound() = default;

void RingerSound::loadBell(int bell, std::span<Bell> bells) {
  if (!open_) return;
  sound_->setBells(bells);
  sound_->loadBellSounds(bell);
}

void RingerSound::blow(int bell, double time) {
  if (!open_) return;
  if (output_ == Output::Device) {
    sound_->soundBlowAt(bell, SteadyInstantOf(time));
    return;
  }
  const Mixer::BufferId buffer = sound_->blowBuffer(bell, false);
  if (buffer == Mixer::NoBuffer) return;
  if (origin_ < 0) origin_ = time - LeadIn;
  // Blows of one pass come bell by bell, not in time order: each waits until
  // no earlier blow can still be reported.
  const Pending blow{time, buffer};
  pending_.insert(std::upper_bound(pending_.begin(), pending_.end(), blow,
                                   [](const Pending& a, const Pending& b) { return a.time < b.time; }),
                  blow);
  renderBefore(time - ReportWindow);
}

void RingerSound::renderBefore(double time) {
  std::size_t started = 0;
  for (; started < pending_.size() && pending_[started].time < time; ++started) startAt(pending_[started]);
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(started));
}

// The render's next frame is the blow's own: the mixer starts a buffer at the
// first frame of the next render.
void RingerSound::startAt(const Pending& blow) {
  render_->renderUntil(FrameAt(blow.time - origin_));
  sound_->mixer().playFromStart(blow.buffer);
}

void RingerSound::reportGaps(std::ostream& err) const {
  // A blow asked for after its sample had gone sounds at once: late by
  // however long it was asked for too late.
  const std::uint64_t late = open_ ? sound_->mixer().lateStarts() : 0;
  if (late > 0) err << "clangor-ring: sound: " << late << " blow(s) asked for after their sample had gone, heard late\n";
  const SoundDevice* device = open_ ? sound_->device() : nullptr;
  if (device == nullptr || device->underruns() == 0) return;
  err << "clangor-ring: sound: " << device->underruns() << " gap(s) in the sound; now " << device->description()
      << "\n";
}

bool RingerSound::finishWave(std::ostream& err) {
  if (!open_ || render_ == nullptr) return false;
  for (const Pending& blow : pending_) startAt(blow);
  pending_.clear();
  // On until the last bell has died away.
  Mixer& mixer = sound_->mixer();
  const std::uint64_t end = render_->frames() + FrameAt(LongestTail);
  auto sounding = [&] {
    for (int b = 0; b < sound_->bellCount(); ++b)
      if (mixer.isPlaying(sound_->openBuffer(b)) || mixer.isPlaying(sound_->mutedBuffer(b))) return true;
    return false;
  };
  do render_->renderFrames(Mixer::OutputRate / 10);
  while (sounding() && render_->frames() < end);
  if (!render_->finishStream()) {
    err << "clangor-ring: cannot write " << wavFile_ << "\n";
    return false;
  }
  return true;
}

}  // namespace clangor::ring
