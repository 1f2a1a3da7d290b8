// Where a sound device's output stands on the machine's steady clock. The
// device asks for its periods at a pace set by its own clock, each request a
// little late by however the audio thread was woken. The earliest of the
// recent requests, the one woken least late, places the line from steady
// time to output frame; its slope, the device's pace (its clock and the
// steady clock differ a little), is read from where that line stood seconds
// before, and from a delay-locked loop while there is no such past yet. A blow
// is then placed at the frame its instant falls on, a constant latency
// later: every blow is heard the same time after its instant, whichever
// period it falls in.
//
// Threads: periodAsked on the audio thread, one at a time; frameForInstant
// from any thread, without waiting (a sequence lock of atomics).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace clangor {

class DeviceClock {
 public:
  // `latencyFrames`: from a blow's instant to its first sample.
  DeviceClock(std::uint32_t sampleRate, int latencyFrames);

  // The device asks for the period that starts at output frame `frame`, at
  // steady time `nowNs`. Audio thread.
  void periodAsked(std::uint64_t frame, std::int64_t nowNs);
  // The frame at which a blow whose instant was (or will be) at steady time
  // `instantNs` starts: the device's frame at that instant plus the latency.
  // 0 (at once) until the device has asked for two periods. Any thread.
  std::uint64_t frameForInstant(std::int64_t instantNs) const;

  // Starts the loop afresh with another latency: the device was reopened.
  // Only while the device asks for no period.
  void restart(int latencyFrames);

  int latencyFrames() const { return latencyFrames_.load(); }
  double latencyMs() const { return latencyFrames_.load() * 1000.0 / sampleRate_; }
  // The steady nanoseconds one output frame takes, as the loop reckons it.
  double nsPerFrame() const { return nsPerFrame_.load(); }

 private:
  double pace_() const;

  const std::uint32_t sampleRate_;
  std::atomic<int> latencyFrames_;
  // Audio thread.
  std::uint64_t periods_ = 0;
  double loopTime_ = 0;      // ns: the smoothed steady time of loopFrame_
  std::uint64_t loopFrame_ = 0;
  double loopNsPerFrame_ = 0;
  struct Request {
    std::uint64_t frame;
    double ns;
  };
  static constexpr std::size_t Recent = 128;  // about 0.4 s of 128-frame periods
  std::array<Request, Recent> recent_{};
  // Where the line stood, one point every Recent requests, for the pace.
  static constexpr std::size_t Past = 16;
  std::array<Request, Past> past_{};
  std::uint64_t pastCount_ = 0;
  // Published: odd while being written.
  std::atomic<std::uint64_t> sequence_{0};
  std::atomic<double> time_{0};
  std::atomic<std::uint64_t> frame_{0};
  std::atomic<double> nsPerFrame_{0};
};

}  // namespace clangor
