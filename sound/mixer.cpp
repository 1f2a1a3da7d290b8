#include "sound/mixer.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "sound/resample.h"

namespace clangor {

// What a slot plays: the recording itself, interpolated at the slot's
// frequency, or a resampling of it made for one frequency and played frame
// for frame while the slot keeps that frequency.
struct Mixer::Source {
  SampleBuffer samples;
  std::uint32_t madeFor = 0;          // 0: the recording itself
  const Source* recording = nullptr;  // of a resampling: what it was made from
};

// One static buffer. What other threads set is atomic; what only the audio
// thread touches is plain and is reset by the owner only while no render can
// see the slot.
struct Mixer::Slot {
  std::atomic<bool> taken{false};
  // Published to the audio thread once the slot is ready; null while free.
  std::atomic<const Source*> source{nullptr};
  // (sequence << 1) | play: the latest command wins when several arrive in
  // one period, and a repeated start is seen as a new one.
  std::atomic<std::uint64_t> command{0};
  // The output frame the latest command takes effect at; 0: at once. Stored
  // before the command, so a render that sees the command sees its frame.
  std::atomic<std::uint64_t> commandFrame{0};
  std::atomic<std::uint64_t> startedAt{0};  // published by the audio thread
  std::atomic<std::uint32_t> frequency{0};
  std::atomic<std::int32_t> volume{0};
  std::atomic<bool> playing{false};  // published by the audio thread

  // Audio thread only.
  std::uint64_t seenCommand = 0;
  bool waiting = false;        // a command seen, its frame not yet reached
  bool waitingPlay = false;
  std::uint64_t waitingFrame = 0;
  std::uint64_t position = 0;  // frames, 32.32 fixed point
  bool active = false;
  std::uint64_t tailPosition = 0;  // the blow cut off by a restart, fading out
  int tailLeft = 0;                // frames of its fade still to play
  std::int32_t gainLevel = 0;
  float gain = 1.0f;

  // Owner thread only.
  std::unique_ptr<Source> owned;    // the recording
  std::unique_ptr<Source> pitched;  // its resampling for the frequency, or null
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
    s.waiting = false;
    s.startedAt = 0;
    s.position = 0;
    s.active = false;
    s.tailLeft = 0;
    s.gainLevel = 0;
    s.gain = 1.0f;
    s.owned = std::make_unique<Source>(Source{std::move(samples), 0, nullptr});
    s.pitched.reset();
    s.source.store(s.owned.get());
    return id;
  }
  return NoBuffer;
}

void Mixer::releaseBuffer(BufferId id) {
  Slot* s = slot(id);
  if (!s || !s->taken.load()) return;
  s->source.store(nullptr);
  // A render that began before the store may still be reading the samples.
  waitForRender();
  s->owned.reset();
  s->pitched.reset();
  s->active = false;
  s->tailLeft = 0;
  s->playing = false;
  s->taken.store(false);
}

void Mixer::waitForRender() const {
  const std::uint64_t epoch = renderEpoch_.load();
  if (epoch % 2 == 0) return;
  while (renderEpoch_.load() == epoch) std::this_thread::yield();
}

void Mixer::sendCommand(Slot& s, bool play, std::uint64_t frame) {
  s.commandFrame.store(frame);
  std::uint64_t current = s.command.load();
  std::uint64_t next;
  do {
    next = (((current >> 1) + 1) << 1) | (play ? 1u : 0u);
  } while (!s.command.compare_exchange_weak(current, next));
}

void Mixer::playFromStart(BufferId id) {
  if (Slot* s = slot(id)) sendCommand(*s, true, 0);
}

void Mixer::playAt(BufferId id, std::uint64_t frame) {
  if (Slot* s = slot(id)) sendCommand(*s, true, frame);
}

void Mixer::stop(BufferId id) {
  if (Slot* s = slot(id)) sendCommand(*s, false, 0);
}

std::uint64_t Mixer::lastStartFrame(BufferId id) const {
  const Slot* s = slot(id);
  return s ? s->startedAt.load() : 0;
}

bool Mixer::setFrequency(BufferId id, std::uint32_t hertz) {
  Slot* s = slot(id);
  if (!s || !s->taken.load() || hertz < MinFrequency || hertz > MaxFrequency) return false;
  s->frequency = hertz;
  return true;
}

bool Mixer::resampleTo(BufferId id, std::uint32_t hertz) {
  Slot* s = slot(id);
  if (!s || !s->taken.load() || !s->owned || hertz < MinFrequency || hertz > MaxFrequency) return false;
  // At the output rate the recording plays frame for frame as it is.
  std::unique_ptr<Source> made;
  if (hertz != OutputRate) {
    auto resampled = ResampleForPlayback(s->owned->samples, hertz, OutputRate);
    if (!resampled) return setFrequency(id, hertz);
    made = std::make_unique<Source>(Source{std::move(*resampled), hertz, s->owned.get()});
  }
  s->frequency = hertz;
  s->source.store(made ? made.get() : s->owned.get());
  // A render that began before the store may still be reading the old one.
  waitForRender();
  s->pitched = std::move(made);
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
  const std::uint64_t periodStart = framesRendered_.load(std::memory_order_relaxed);
  for (int id = 0; id < capacity_; ++id) {
    Slot& s = slots_[static_cast<std::size_t>(id)];
    const Source* source = s.source.load();
    if (!source) continue;
    const std::uint64_t command = s.command.load();
    if (command != s.seenCommand) {
      // A start still waiting when the next command comes (a bell struck
      // again within the latency, at a high clock speed) sounds now rather
      // than not at all.
      if (s.waiting && s.waitingPlay) obey(s, periodStart);
      s.seenCommand = command;
      s.waiting = true;
      s.waitingPlay = (command & 1) != 0;
      s.waitingFrame = s.commandFrame.load();
      if (s.waitingPlay && s.waitingFrame != 0 && s.waitingFrame < periodStart) lateStarts_.fetch_add(1);
    }
    renderSlot(s, *source, periodStart, frames);
    s.playing.store(s.active, std::memory_order_relaxed);
  }
  limiter_.apply(mix_.data(), frames);
  for (std::size_t i = 0; i < count; ++i) out[i] = ToPcm16(mix_[i]);
  framesRendered_.fetch_add(static_cast<std::uint64_t>(frames));
}

// The period in two parts when a waiting command falls inside it: what
// sounded before, then the command obeyed at its own frame.
void Mixer::renderSlot(Slot& s, const Source& source, std::uint64_t periodStart, int frames) {
  int switchAt = frames;
  if (s.waiting && s.waitingFrame < periodStart + static_cast<std::uint64_t>(frames))
    switchAt = s.waitingFrame > periodStart ? static_cast<int>(s.waitingFrame - periodStart) : 0;
  if (switchAt > 0 && (s.tailLeft > 0 || s.active)) mixSlot(s, source, 0, switchAt);
  if (switchAt == frames) return;
  obey(s, periodStart + static_cast<std::uint64_t>(switchAt));
  if (s.tailLeft > 0 || s.active) mixSlot(s, source, switchAt, frames - switchAt);
}

void Mixer::obey(Slot& s, std::uint64_t frame) {
  s.waiting = false;
  // A restart lets the blow before it fade; a stop silences at once.
  s.tailLeft = s.waitingPlay && s.active ? FadeFrames : 0;
  s.tailPosition = s.position;
  s.active = s.waitingPlay;
  s.position = 0;
  if (s.active) {
    buffersStarted_.fetch_add(1);
    s.startedAt.store(frame, std::memory_order_relaxed);
  }
}

void Mixer::mixSlot(Slot& s, const Source& published, int from, int frames) {
  const std::int32_t level = s.volume.load(std::memory_order_relaxed);
  if (level != s.gainLevel) {
    s.gainLevel = level;
    s.gain = GainFor(level);
  }
  // A frequency set since the resampling was made: the recording itself,
  // interpolated, until it is resampled again.
  const std::uint32_t frequency = s.frequency.load(std::memory_order_relaxed);
  const Source& source =
      published.madeFor != 0 && published.madeFor != frequency ? *published.recording : published;
  const std::uint64_t step =
      source.madeFor != 0 ? FractionOne : (std::uint64_t{frequency} << 32) / OutputRate;
  if (s.tailLeft > 0) {
    const int fade = std::min(s.tailLeft, frames);
    if (!mixFrom(s.tailPosition, source, step, s.gain, from, fade, s.tailLeft)) s.tailLeft = 0;
    else s.tailLeft -= fade;
  }
  if (s.active && !mixFrom(s.position, source, step, s.gain, from, frames, 0)) s.active = false;
}

// Reads the recording at `step` recorded frames per output frame: each output
// frame takes the point between two recorded frames that the position has
// reached, weighted by the fraction. With `fadeLeft` frames of a fade still
// to go, the gain falls evenly towards silence. False when the recording
// ended. The frames go into the mix from frame `from` of the period.
bool Mixer::mixFrom(std::uint64_t& position, const Source& source, std::uint64_t step, float gain, int from,
                    int frames, int fadeLeft) {
  const SampleBuffer& samples = source.samples;
  const std::uint64_t length = samples.frames();
  const float* data = samples.samples.data();
  const bool stereo = samples.channels == 2;
  const float fadeStep = fadeLeft > 0 ? gain / FadeFrames : 0.0f;
  float g = fadeLeft > 0 ? fadeStep * static_cast<float>(fadeLeft - 1) : gain;
  std::uint64_t at = position;
  float* mix = mix_.data() + static_cast<std::size_t>(from) * OutputChannels;
  bool sounding = true;
  for (int f = 0; f < frames; ++f, at += step, g -= fadeStep) {
    const std::uint64_t i = at >> 32;
    if (i >= length) {
      sounding = false;
      break;
    }
    const float fraction = static_cast<float>(at & (FractionOne - 1)) * (1.0f / 4294967296.0f);
    const std::uint64_t j = i + 1 < length ? i + 1 : i;
    if (stereo) {
      const float l0 = data[2 * i], l1 = data[2 * j];
      const float r0 = data[2 * i + 1], r1 = data[2 * j + 1];
      mix[2 * f] += (l0 + (l1 - l0) * fraction) * g;
      mix[2 * f + 1] += (r0 + (r1 - r0) * fraction) * g;
    } else {
      const float a = data[i], b = data[j];
      const float v = (a + (b - a) * fraction) * g;
      mix[2 * f] += v;
      mix[2 * f + 1] += v;
    }
  }
  position = at;
  return sounding;
}

}  // namespace clangor
