#include "sound/mixer.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace clangor {

// One static buffer. What other threads set is atomic; what only the audio
// thread touches is plain and is reset by the owner only while no render can
// see the slot.
struct Mixer::Slot {
  std::atomic<bool> taken{false};
  // Published to the audio thread once the slot is ready; null while free.
  std::atomic<const SampleBuffer*> samples{nullptr};
  // (sequence << 1) | play: the latest command wins when several arrive in
  // one period, and a repeated start is seen as a new one.
  std::atomic<std::uint64_t> command{0};
  std::atomic<std::uint32_t> frequency{0};
  std::atomic<std::int32_t> volume{0};
  std::atomic<bool> playing{false};  // published by the audio thread

  // Audio thread only.
  std::uint64_t seenCommand = 0;
  std::uint64_t position = 0;  // frames, 32.32 fixed point
  bool active = false;
  std::int32_t gainLevel = 0;
  float gain = 1.0f;

  // Owner thread only.
  std::unique_ptr<SampleBuffer> owned;
};

namespace {

constexpr std::uint64_t FractionOne = std::uint64_t{1} << 32;

std::int16_t ToPcm16(float v) {
  float scaled = v * 32768.0f;
  if (!(scaled > -32768.0f)) return -32768;  // also NaN
  if (scaled >= 32767.0f) return 32767;
  scaled += scaled >= 0.0f ? 0.5f : -0.5f;
  return static_cast<std::int16_t>(scaled);
}

}  // namespace

float Mixer::GainFor(std::int32_t level) {
  if (level >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, level / 2000.0));
}

Mixer::Mixer(int capacity) : capacity_(std::max(capacity, 1)), slots_(new Slot[capacity_]) {}

Mixer::~Mixer() {
  for (int i = 0; i < capacity_; ++i) releaseBuffer(i);
}

Mixer::Slot* Mixer::slot(BufferId id) const {
  if (id < 0 || id >= capacity_) return nullptr;
  return &slots_[static_cast<std::size_t>(id)];
}

Mixer::BufferId Mixer::createBuffer(SampleBuffer samples) {
  if (samples.channels < 1 || samples.channels > 2 || samples.frames() == 0) return NoBuffer;
  for (int id = 0; id < capacity_; ++id) {
    Slot& s = *slot(id);
    bool free = false;
    if (!s.taken.compare_exchange_strong(free, true)) continue;
    s.frequency = std::clamp(samples.sampleRate, MinFrequency, MaxFrequency);
    s.volume = 0;
    s.playing = false;
    s.seenCommand = s.command.load();
    s.position = 0;
    s.active = false;
    s.gainLevel = 0;
    s.gain = 1.0f;
    s.owned = std::make_unique<SampleBuffer>(std::move(samples));
    s.samples.store(s.owned.get());
    return id;
  }
  return NoBuffer;
}

void Mixer::releaseBuffer(BufferId id) {
  Slot* s = slot(id);
  if (!s || !s->taken.load()) return;
  s->samples.store(nullptr);
  // A render that began before the store may still be reading the samples.
  waitForRender();
  s->owned.reset();
  s->active = false;
  s->playing = false;
  s->taken.store(false);
}

void Mixer::waitForRender() const {
  const std::uint64_t epoch = renderEpoch_.load();
  if (epoch % 2 == 0) return;
  while (renderEpoch_.load() == epoch) std::this_thread::yield();
}

void Mixer::sendCommand(Slot& s, bool play) {
  std::uint64_t current = s.command.load();
  std::uint64_t next;
  do {
    next = (((current >> 1) + 1) << 1) | (play ? 1u : 0u);
  } while (!s.command.compare_exchange_weak(current, next));
}

void Mixer::playFromStart(BufferId id) {
  if (Slot* s = slot(id)) sendCommand(*s, true);
}

void Mixer::stop(BufferId id) {
  if (Slot* s = slot(id)) sendCommand(*s, false);
}

bool Mixer::setFrequency(BufferId id, std::uint32_t hertz) {
  Slot* s = slot(id);
  if (!s || !s->taken.load() || hertz < MinFrequency || hertz > MaxFrequency) return false;
  s->frequency = hertz;
  return true;
}

bool Mixer::setVolume(BufferId id, std::int32_t level) {
  Slot* s = slot(id);
  if (!s || !s->taken.load() || level < MinVolume || level > MaxVolume) return false;
  s->volume = level;
  return true;
}

std::uint32_t Mixer::frequency(BufferId id) const {
  const Slot* s = slot(id);
  return s && s->taken.load() ? s->frequency.load() : 0;
}

std::int32_t Mixer::volume(BufferId id) const {
  const Slot* s = slot(id);
  return s && s->taken.load() ? s->volume.load() : 0;
}

bool Mixer::isPlaying(BufferId id) const {
  const Slot* s = slot(id);
  return s && s->playing.load();
}

int Mixer::buffersInUse() const {
  int count = 0;
  for (int i = 0; i < capacity_; ++i) count += slots_[static_cast<std::size_t>(i)].taken.load() ? 1 : 0;
  return count;
}

void Mixer::render(std::int16_t* out, int frames) {
  renderEpoch_.fetch_add(1);
  while (frames > 0) {
    const int period = std::min(frames, MaxFramesPerPeriod);
    renderPeriod(out, period);
    out += period * OutputChannels;
    frames -= period;
  }
  renderEpoch_.fetch_add(1);
}

void Mixer::renderPeriod(std::int16_t* out, int frames) {
  const std::size_t count = static_cast<std::size_t>(frames) * OutputChannels;
  std::fill_n(mix_.begin(), count, 0.0f);
  for (int id = 0; id < capacity_; ++id) {
    Slot& s = slots_[static_cast<std::size_t>(id)];
    const SampleBuffer* samples = s.samples.load();
    if (!samples) continue;
    const std::uint64_t command = s.command.load();
    if (command != s.seenCommand) {
      s.seenCommand = command;
      s.active = (command & 1) != 0;
      s.position = 0;
      if (s.active) buffersStarted_.fetch_add(1);
    }
    if (s.active) mixSlot(s, *samples, frames);
    s.playing.store(s.active, std::memory_order_relaxed);
  }
  for (std::size_t i = 0; i < count; ++i) out[i] = ToPcm16(mix_[i]);
  framesRendered_.fetch_add(static_cast<std::uint64_t>(frames));
}

// Reads the recording at the buffer's frequency: each output frame takes the
// point between two recorded frames that the position has reached, weighted
// by the fraction. Past the last frame the buffer stops.
void Mixer::mixSlot(Slot& s, const SampleBuffer& samples, int frames) {
  const std::int32_t level = s.volume.load(std::memory_order_relaxed);
  if (level != s.gainLevel) {
    s.gainLevel = level;
    s.gain = GainFor(level);
  }
  const float gain = s.gain;
  const std::uint64_t step = (std::uint64_t{s.frequency.load(std::memory_order_relaxed)} << 32) / OutputRate;
  const std::uint64_t length = samples.frames();
  const float* data = samples.samples.data();
  const bool stereo = samples.channels == 2;
  std::uint64_t position = s.position;
  float* mix = mix_.data();
  for (int f = 0; f < frames; ++f, position += step) {
    const std::uint64_t i = position >> 32;
    if (i >= length) {
      s.active = false;
      break;
    }
    const float fraction = static_cast<float>(position & (FractionOne - 1)) * (1.0f / 4294967296.0f);
    const std::uint64_t j = i + 1 < length ? i + 1 : i;
    if (stereo) {
      const float l0 = data[2 * i], l1 = data[2 * j];
      const float r0 = data[2 * i + 1], r1 = data[2 * j + 1];
      mix[2 * f] += (l0 + (l1 - l0) * fraction) * gain;
      mix[2 * f + 1] += (r0 + (r1 - r0) * fraction) * gain;
    } else {
      const float a = data[i], b = data[j];
      const float v = (a + (b - a) * fraction) * gain;
      mix[2 * f] += v;
      mix[2 * f + 1] += v;
    }
  }
  s.position = position;
}

}  // namespace clangor
