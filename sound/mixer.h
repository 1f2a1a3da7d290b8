// Our mixer of static buffers. Each buffer holds one whole recording and is
// played once from its start when asked. A new start while the buffer still
// sounds fades the previous blow out over a millisecond and a half while the
// new one starts on its own first frame: a bare cut would click. Each buffer
// has a playback frequency and a volume in hundredths of a decibel. The
// frequency is reached either by resampling the recording once, band-limited
// (resampleTo, what the bells use), or by interpolating it linearly as it
// plays (setFrequency). The sum passes through a limiter that leaves it as it
// is below three quarters of full scale and never lets it reach full scale. The output is
// 44100 Hz 16-bit stereo, rendered in periods of at most 256 frames.
//
// Threads:
// - createBuffer / releaseBuffer / resampleTo: the thread that owns the
//   buffers (loading, pitching), one at a time, never the audio thread.
// - playFromStart, stop, setFrequency, setVolume and the readers: any thread;
//   they only store atomics and never wait.
// - render: the audio thread (or an offline renderer), one at a time. It never
//   locks, allocates, logs or touches files, and plays silence for anything
//   that is not ready.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "sound/output_limiter.h"
#include "sound/sample_buffer.h"

namespace clangor {

class Mixer {
 public:
  using BufferId = int;
  static constexpr BufferId NoBuffer = -1;

  static constexpr std::uint32_t OutputRate = 44100;
  static constexpr int OutputChannels = 2;
  static constexpr int MaxFramesPerPeriod = 256;
  static constexpr std::uint32_t MinFrequency = 100;
  static constexpr std::uint32_t MaxFrequency = 200000;
  static constexpr std::int32_t MinVolume = -10000;  // hundredths of a decibel: 100 dB down
  static constexpr std::int32_t MaxVolume = 0;
  // Frames over which a blow cut off by the next one fades out: 1.5 ms.
  static constexpr int FadeFrames = 66;
  // Two recordings for each of 18 bells, a warm-up buffer and room to spare.
  static constexpr int DefaultCapacity = 64;

  explicit Mixer(int capacity = DefaultCapacity);
  ~Mixer();
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  // Takes a free slot for the samples: stopped, at volume 0 and at the
  // recording's own rate (clamped to the frequency range). NoBuffer when
  // every slot is taken or the samples hold no frame. Owner thread.
  BufferId createBuffer(SampleBuffer samples);
  // Frees the slot. Waits, without holding anything, for a render that may
  // still read it. Owner thread.
  void releaseBuffer(BufferId id);

  // Stop, back to the start, play once: the next render starts the buffer at
  // the first frame of its period. Any thread.
  void playFromStart(BufferId id);
  // The same, starting the buffer at output frame `frame` (counted as
  // framesRendered counts): a blow sounds from its own sample, however the
  // periods fall. A frame already rendered starts at the next render's first
  // frame (a late start, counted). A buffer holds one start in waiting: a
  // command that comes while one waits starts the waiting one at once (so
  // no blow is lost) and takes its place. Any thread.
  void playAt(BufferId id, std::uint64_t frame);
  // Any thread.
  void stop(BufferId id);
  // Hertz, MinFrequency to MaxFrequency; false (and no change) outside it or
  // for an unknown buffer. The recording is interpolated linearly as it
  // plays (until resampleTo makes a resampling for the new frequency). Any
  // thread.
  bool setFrequency(BufferId id, std::uint32_t hertz);
  // The same frequency, reached by resampling the recording now with a
  // band-limiting filter, so that it plays at the output rate frame for
  // frame. Waits, without holding anything, for a render that may still read
  // the previous resampling. Owner thread.
  bool resampleTo(BufferId id, std::uint32_t hertz);
  // Hundredths of a decibel, MinVolume to MaxVolume; false (and no change)
  // outside it or for an unknown buffer. Any thread.
  bool setVolume(BufferId id, std::int32_t level);
  // 0 for an unknown buffer.
  std::uint32_t frequency(BufferId id) const;
  std::int32_t volume(BufferId id) const;
  // Whether the buffer sounded at the end of the last render.
  bool isPlaying(BufferId id) const;
  int buffersInUse() const;
  int capacity() const { return capacity_; }

  // Mixes `frames` stereo frames into `out` (interleaved left, right),
  // silence where nothing plays. Audio thread.
  void render(std::int16_t* out, int frames);

  // Frames rendered so far, and buffers started by the renders so far (for
  // measuring the delay from a blow to its first sample).
  std::uint64_t framesRendered() const { return framesRendered_.load(); }
  std::uint64_t buffersStarted() const { return buffersStarted_.load(); }
  // Starts asked for a frame that had been rendered already.
  std::uint64_t lateStarts() const { return lateStarts_.load(); }
  // The output frame at which the buffer last started sounding; 0 before.
  std::uint64_t lastStartFrame(BufferId id) const;

  // The linear gain of a volume in hundredths of a decibel.
  static float GainFor(std::int32_t level);

 private:
  struct Slot;
  struct Source;

  Slot* slot(BufferId id) const;
  void sendCommand(Slot& s, bool play, std::uint64_t frame);
  void renderPeriod(std::int16_t* out, int frames);
  void renderSlot(Slot& s, const Source& source, std::uint64_t periodStart, int frames);
  void obey(Slot& s, std::uint64_t frame);
  void mixSlot(Slot& s, const Source& source, int from, int frames);
  bool mixFrom(std::uint64_t& position, const Source& source, std::uint64_t step, float gain, int from, int frames,
               int fadeLeft);
  void waitForRender() const;

  int capacity_;
  std::unique_ptr<Slot[]> slots_;
  // Odd while a render runs; release waits for it to move on.
  std::atomic<std::uint64_t> renderEpoch_{0};
  std::atomic<std::uint64_t> framesRendered_{0};
  std::atomic<std::uint64_t> buffersStarted_{0};
  std::atomic<std::uint64_t> lateStarts_{0};
  std::array<float, MaxFramesPerPeriod * OutputChannels> mix_{};  // audio thread
  OutputLimiter limiter_;                                          // audio thread
};

}  // namespace clangor
