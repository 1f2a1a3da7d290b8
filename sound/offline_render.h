// The mixer rendered into memory instead of a sound card, and from there into
// a WAV file: the same periods, the same samples, at a pace the caller sets.
// The caller interleaves its blows with renderFrames / renderUntil: a blow
// starts at the first frame the next render makes, so a blow given after
// renderUntil(n) sounds from frame n exactly.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sound/mixer.h"
#include "sound/sound_device.h"
#include "sound/wave_writer.h"

namespace clangor {

class OfflineRender final : public SoundDevice {
 public:
  // `mixer` must outlive the render. Renders in periods of `framesPerPeriod`.
  explicit OfflineRender(Mixer& mixer, int framesPerPeriod = Mixer::MaxFramesPerPeriod);

  std::uint32_t sampleRate() const override { return Mixer::OutputRate; }
  int framesPerPeriod() const override { return period_; }
  std::string name() const override { return "offline"; }

  // Renders `frames` more frames, period by period.
  void renderFrames(std::uint64_t frames);
  // Renders until exactly `frame` frames have been made (nothing when there
  // are that many already).
  void renderUntil(std::uint64_t frame);
  std::uint64_t frames() const { return streamedFrames_ + samples_.size() / Mixer::OutputChannels; }
  // Interleaved left, right: what is rendered and held in memory.
  const std::vector<std::int16_t>& samples() const { return samples_; }
  // Writes everything rendered so far; false when the file cannot be written.
  bool writeWave(const std::string& path) const;

  // From now on every period rendered goes straight into a WAV file instead
  // of memory (what is held already goes first): a render of hours in a few
  // kilobytes. False when the file cannot be opened.
  bool streamTo(const std::string& path);
  // Completes the streamed file; false when any of it could not be written.
  bool finishStream();

  // An opener for TowerSound and other owners of a device: makes an offline
  // render and leaves a pointer to it in `made` (valid while the device lives).
  static SoundDeviceOpener Opener(OfflineRender*& made, int framesPerPeriod = Mixer::MaxFramesPerPeriod);

 private:
  void flushToStream();

  Mixer& mixer_;
  int period_;
  std::vector<std::int16_t> samples_;
  std::unique_ptr<WaveStream> stream_;
  std::uint64_t streamedFrames_ = 0;
};

}  // namespace clangor
