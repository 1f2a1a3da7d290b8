// A device that says which frame it is playing (a sound server's timing
// reports): the reports come unevenly and each is off by up to half a
// millisecond either way, and the device's clock runs a little slow against
// the steady clock. Blows must still start a constant latency after their
// instants, to a tenth of a millisecond, and again soon after the device ran
// dry and stopped for a while.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "sound/mixer.h"
#include "sound/played_position_clock.h"

namespace clangor {
namespace {

constexpr double StartNs = 7e9;
constexpr double NsPerFrame = 1e9 / Mixer::OutputRate * (1 + 60e-6);  // 60 ppm slow
constexpr int Latency = 648;
constexpr double TenthOfAMsInFrames = 4.41;

// The fake device: frame played at a steady time, with a stop of
// `stoppedNs` from `stopAtNs` on (a gap: what follows is played later).
struct FakeDevice {
  double stopAtNs = 1e30;
  double stoppedNs = 0;
  double frameAt(double ns) const {
    if (ns >= stopAtNs) ns = std::max(stopAtNs, ns - stoppedNs);
    return (ns - StartNs) / NsPerFrame;
  }
};

// Reports from `fromNs` to `toNs`: bursts of a few close together, then a
// pause of up to 25 ms, each report up to half a millisecond off.
void Report(PlayedPositionClock& clock, const FakeDevice& device, std::mt19937& random, double fromNs, double toNs) {
  std::uniform_real_distribution<double> pause(0.2e6, 25e6), off(-22, 22);
  std::uniform_int_distribution<int> burst(1, 4);
  for (double t = fromNs; t < toNs; t += pause(random))
    for (int b = burst(random); b > 0; --b, t += 0.1e6)
      clock.positionAt(device.frameAt(t) + off(random), static_cast<std::int64_t>(t));
}

// The worst distance, in frames, between where blows at instants around
// `nowNs` are placed and where the device will be a latency after them.
double WorstPlacement(const PlayedPositionClock& clock, const FakeDevice& device, double nowNs) {
  double worst = 0;
  for (double instant = nowNs - 50e6; instant <= nowNs + 5e6; instant += 1.3e6) {
    const double placed = static_cast<double>(clock.frameForInstant(static_cast<std::int64_t>(instant)));
    worst = std::max(worst, std::abs(placed - Latency - device.frameAt(instant)));
  }
  return worst;
}

TEST(PlayedPositionClock, PlacesBlowsAConstantLatencyAfterTheirInstants) {
  PlayedPositionClock clock(Mixer::OutputRate, Latency);
  EXPECT_EQ(clock.frameForInstant(static_cast<std::int64_t>(StartNs)), 0u);  // nothing known: at once
  EXPECT_LT(clock.playedFrameAt(static_cast<std::int64_t>(StartNs)), 0);
  std::mt19937 random(11);
  FakeDevice device;
  Report(clock, device, random, StartNs, StartNs + 0.3e9);
  EXPECT_LT(WorstPlacement(clock, device, StartNs + 0.3e9), 4 * TenthOfAMsInFrames);  // a rough line at once
  for (double t = StartNs + 0.3e9; t < StartNs + 30e9; t += 5e9) {
    Report(clock, device, random, t, t + 5e9);
    EXPECT_LT(WorstPlacement(clock, device, t + 5e9), TenthOfAMsInFrames) << (t - StartNs) / 1e9 << " s";
  }
  EXPECT_EQ(clock.jumps(), 0u);
}

TEST(PlayedPositionClock, FindsTheDeviceAgainAfterItRanDry) {
  PlayedPositionClock clock(Mixer::OutputRate, Latency);
  std::mt19937 random(5);
  FakeDevice device;
  Report(clock, device, random, StartNs, StartNs + 10e9);
  device.stopAtNs = StartNs + 10e9;
  device.stoppedNs = 30e6;
  Report(clock, device, random, StartNs + 10e9, StartNs + 12e9);
  EXPECT_GE(clock.jumps(), 1u);
  EXPECT_LT(WorstPlacement(clock, device, StartNs + 12e9), TenthOfAMsInFrames);
  // Reopened with more buffering: the new latency, and the line found anew.
  clock.restart(Latency);
  EXPECT_EQ(clock.frameForInstant(static_cast<std::int64_t>(StartNs + 12e9)), 0u);
  Report(clock, device, random, StartNs + 12e9, StartNs + 16e9);
  EXPECT_LT(WorstPlacement(clock, device, StartNs + 16e9), TenthOfAMsInFrames);
}

}  // namespace
}  // namespace clangor
