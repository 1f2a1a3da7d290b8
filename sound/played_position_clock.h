// Where a sound device's output stands on the machine's steady clock, from
// the device's own word: the frame it is playing at a steady instant (a sound
// server's timing report). Those reports come unevenly and each is a little
// off either way, so a straight line is fitted through the recent ones: its
// slope is the device's pace (its clock and the steady clock differ a little),
// and the fit averages each report's error away. A report far off the line
// means the device stopped or skipped (it ran dry): the line starts again
// from there. A blow is placed at the frame its instant falls on, a constant
// latency later: every blow is heard the same time after its instant.
//
// Threads: positionAt on the device's thread, one at a time; the readers
// from any thread, without waiting (a sequence lock of atomics).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace clangor {

class PlayedPositionClock {
 public:
  // `latencyFrames`: from a blow's instant to its first sample.
  PlayedPositionClock(std::uint32_t sampleRate, int latencyFrames);

  // The device played output frame `frame` at steady time `nowNs`. Device
  // thread.
  void positionAt(double frame, std::int64_t nowNs);
  // The frame at which a blow whose instant is `instantNs` starts: the frame
  // played at that instant plus the latency. 0 (at once) until the line is
  // known. Any thread.
  std::uint64_t frameForInstant(std::int64_t instantNs) const;
  // The frame played at `instantNs`; negative until the line is known.
  double playedFrameAt(std::int64_t instantNs) const;
  // Starts the line afresh (the device ran dry or was reopened), with
  // another latency. Device thread.
  void restart(int latencyFrames);

  // Another latency from now on, the line kept (more buffering). Any thread.
  void setLatency(int latencyFrames) { latencyFrames_ = latencyFrames; }

  int latencyFrames() const { return latencyFrames_.load(); }
  double latencyMs() const { return latencyFrames_.load() * 1000.0 / sampleRate_; }
  // Times the line started afresh because a report fell far off it.
  std::uint64_t jumps() const { return jumps_.load(); }

 private:
  struct Report {
    double ns;  // since origin_
    double frame;
  };
  double fit();
  double lineAt(double ns) const;

  const std::uint32_t sampleRate_;
  const double nominalNsPerFrame_;
  std::atomic<int> latencyFrames_;
  std::atomic<std::uint64_t> jumps_{0};
  // Device thread.
  static constexpr std::size_t Kept = 1024;
  std::array<Report, Kept> reports_{};
  std::uint64_t count_ = 0;
  double origin_ = 0;  // steady ns of the first report since the line started
  double lineNs_ = 0, lineFrame_ = 0, lineNsPerFrame_ = 0;  // the fitted line, about the reports' mean
  // Published: odd while being written.
  std::atomic<std::uint64_t> sequence_{0};
  std::atomic<double> time_{0};
  std::atomic<double> frame_{0};
  std::atomic<double> nsPerFrame_{0};
};

}  // namespace clangor
