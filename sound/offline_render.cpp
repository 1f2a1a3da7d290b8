#include "sound/offline_render.h"

#include <algorithm>

#include "sound/sound_result.h"
#include "sound/wave_writer.h"

namespace clangor {

OfflineRender::OfflineRender(Mixer& mixer, int framesPerPeriod)
    : mixer_(mixer), period_(std::clamp(framesPerPeriod, 1, Mixer::MaxFramesPerPeriod)) {}

void OfflineRender::renderFrames(std::uint64_t frames) {
  while (frames > 0) {
    const int n = static_cast<int>(std::min<std::uint64_t>(frames, static_cast<std::uint64_t>(period_)));
    const std::size_t at = samples_.size();
    samples_.resize(at + static_cast<std::size_t>(n) * Mixer::OutputChannels);
    mixer_.render(samples_.data() + at, n);
    frames -= static_cast<std::uint64_t>(n);
    if (stream_) flushToStream();
  }
}

void OfflineRender::flushToStream() {
  const std::uint64_t held = samples_.size() / Mixer::OutputChannels;
  stream_->append(samples_.data(), static_cast<std::size_t>(held));  // a failure shows at finishStream
  streamedFrames_ += held;
  samples_.clear();
}

bool OfflineRender::streamTo(const std::string& path) {
  stream_ = std::make_unique<WaveStream>(path, Mixer::OutputChannels, Mixer::OutputRate);
  if (!stream_->ok()) {
    stream_.reset();
    return false;
  }
  flushToStream();
  return true;
}

bool OfflineRender::finishStream() {
  if (!stream_) return false;
  const bool written = stream_->ok() && stream_->finish();
  stream_.reset();
  return written;
}

void OfflineRender::renderUntil(std::uint64_t frame) {
  if (frames() < frame) renderFrames(frame - frames());
}

bool OfflineRender::writeWave(const std::string& path) const {
  return WriteWaveFile(path, samples_.data(), frames(), Mixer::OutputChannels, Mixer::OutputRate);
}

SoundDeviceOpener OfflineRender::Opener(OfflineRender*& made, int framesPerPeriod) {
  return [&made, framesPerPeriod](Mixer& mixer, std::int32_t& result) -> std::unique_ptr<SoundDevice> {
    auto device = std::make_unique<OfflineRender>(mixer, framesPerPeriod);
    made = device.get();
    result = SoundOk;
    return device;
  };
}

}  // namespace clangor
