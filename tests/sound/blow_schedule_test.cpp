// Blows placed at their own samples: the mixer starts a buffer at the frame
// it is given, and the device clock turns each blow's instant into the frame
// a constant latency later, however late the device's requests and the
// ringing loop's hand-overs come.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "sound/device_clock.h"
#include "sound/mixer.h"
#include "sound/sample_buffer.h"
#include "sound/underrun_watch.h"

namespace clangor {
namespace {

constexpr int Period = 128;
constexpr double NsPerFrame = 1e9 / Mixer::OutputRate;

// A short click: loud on its first sample, so its start is plain to see.
Mixer::BufferId Click(Mixer& mixer) {
  return mixer.createBuffer(MonoBuffer16(44100, std::vector<std::int16_t>{12000, 6000, 3000}));
}

// The frames at which a sound starts after silence (left channel).
std::vector<std::uint64_t> Onsets(const std::vector<std::int16_t>& stereo) {
  std::vector<std::uint64_t> onsets;
  for (std::size_t f = 0; f < stereo.size() / 2; ++f)
    if (stereo[2 * f] != 0 && (f == 0 || stereo[2 * f - 2] == 0)) onsets.push_back(f);
  return onsets;
}

TEST(BlowSchedule, TheMixerStartsABufferAtTheFrameItIsGiven) {
  Mixer mixer;
  const Mixer::BufferId a = Click(mixer), b = Click(mixer);
  mixer.playAt(a, 1000);
  mixer.playAt(b, 1283);
  std::vector<std::int16_t> out;
  for (int p = 0; p < 12; ++p) {
    std::vector<std::int16_t> period(2 * Period);
    mixer.render(period.data(), Period);
    out.insert(out.end(), period.begin(), period.end());
  }
  EXPECT_EQ(Onsets(out), (std::vector<std::uint64_t>{1000, 1283}));
  EXPECT_EQ(mixer.lastStartFrame(a), 1000u);
  EXPECT_EQ(mixer.lastStartFrame(b), 1283u);
  EXPECT_EQ(mixer.lateStarts(), 0u);
  // A frame already rendered: at once, and counted as late.
  mixer.playAt(a, 20);
  std::vector<std::int16_t> period(2 * Period);
  mixer.render(period.data(), Period);
  EXPECT_EQ(Onsets(period), (std::vector<std::uint64_t>{0}));
  EXPECT_EQ(mixer.lastStartFrame(a), 12u * Period);
  EXPECT_EQ(mixer.lateStarts(), 1u);
}

// A bell struck again before its waiting blow was due (a high clock speed,
// a long latency): the waiting blow sounds at once rather than being lost.
TEST(BlowSchedule, AStartStillWaitingIsNeverLost) {
  Mixer mixer;
  const Mixer::BufferId a = Click(mixer);
  mixer.playAt(a, 700);
  std::vector<std::int16_t> out(2 * 1024);
  mixer.render(out.data(), 256);
  mixer.playAt(a, 900);
  mixer.render(out.data() + 2 * 256, 1024 - 256);
  EXPECT_EQ(Onsets(out), (std::vector<std::uint64_t>{256, 900}));
}

// The fake device plays frame F at exactly StartNs + F frames of time, and
// asks for each period up to 1.5 ms late; the ringing loop hands each blow
// over up to 2 ms after its instant. Every blow must be heard the same
// time after its instant (to 0.1 ms), at most 6 ms after it, none late.
TEST(BlowSchedule, EveryBlowIsHeardAConstantLatencyAfterItsInstant) {
  constexpr std::int64_t StartNs = 5'000'000'000;
  Mixer mixer;
  DeviceClock clock(Mixer::OutputRate, 264);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> wake(0, 1.5e6), handOver(0, 2.0e6), apart(150e6, 260e6);

  struct Blow {
    double instantNs;
    double handedNs;
    Mixer::BufferId buffer;
  };
  std::vector<Blow> blows;
  // After two seconds for the clock to settle, a blow every 150 to 260 ms,
  // each at an instant that falls anywhere within a period.
  for (double t = StartNs + 2e9; t < StartNs + 10e9; t += apart(random)) {
    const Mixer::BufferId id = Click(mixer);
    if (id == Mixer::NoBuffer) break;
    blows.push_back({t, t + handOver(random), id});
  }
  ASSERT_GT(blows.size(), 30u);

  std::vector<std::int16_t> out;
  std::size_t next = 0;
  for (std::uint64_t frame = 0; frame < 11ull * Mixer::OutputRate; frame += Period) {
    const double askedNs = StartNs + static_cast<double>(frame) * NsPerFrame + wake(random);
    // Every blow handed over before this request.
    for (; next < blows.size() && blows[next].handedNs < askedNs; ++next)
      mixer.playAt(blows[next].buffer, clock.frameForInstant(static_cast<std::int64_t>(blows[next].instantNs)));
    clock.periodAsked(mixer.framesRendered(), static_cast<std::int64_t>(askedNs));
    std::vector<std::int16_t> period(2 * Period);
    mixer.render(period.data(), Period);
    out.insert(out.end(), period.begin(), period.end());
  }
  const std::vector<std::uint64_t> onsets = Onsets(out);
  ASSERT_EQ(onsets.size(), blows.size());
  EXPECT_EQ(mixer.lateStarts(), 0u);
  std::vector<double> delaysMs;
  for (std::size_t i = 0; i < blows.size(); ++i)
    delaysMs.push_back((StartNs + static_cast<double>(onsets[i]) * NsPerFrame - blows[i].instantNs) / 1e6);
  const auto [least, most] = std::minmax_element(delaysMs.begin(), delaysMs.end());
  EXPECT_LT(*most - *least, 0.1);
  EXPECT_LE(*most, 6.0);
  EXPECT_GT(*least, 0.0);
}

// A device that asks for a period late has played a gap: the watch sees it,
// the buffering grows, and it never goes back below what held.
TEST(Buffering, AGapGrowsTheBufferingWhichNeverShrinks) {
  UnderrunWatch watch(Mixer::OutputRate);
  BufferingChoice choice;
  EXPECT_EQ(choice.period(), BufferingChoice::SmallestPeriod);
  const double period = choice.period() * NsPerFrame;
  double t = 1e9;
  const auto ask = [&](double after) {
    t += after;
    if (watch.periodAsked(choice.period(), static_cast<std::int64_t>(t))) choice.grow();
  };
  for (int i = 0; i < 1000; ++i) ask(period * (i % 2 ? 1.6 : 0.4));  // uneven, never dry
  EXPECT_EQ(watch.underruns(), 0u);
  EXPECT_EQ(choice.period(), 128);
  ask(period * 2.5);  // ran dry
  EXPECT_EQ(watch.underruns(), 1u);
  EXPECT_EQ(choice.period(), 256);
  for (int i = 0; i < 1000; ++i) ask(choice.period() * NsPerFrame);
  EXPECT_EQ(choice.period(), 256);
  ask(choice.period() * NsPerFrame * 3);
  EXPECT_EQ(choice.period(), 512);

  BufferingChoice fixed(192);
  EXPECT_TRUE(fixed.fixed());
  EXPECT_FALSE(fixed.grow());
  EXPECT_EQ(fixed.period(), 192);
  BufferingChoice largest(BufferingChoice::LargestPeriod * 4);
  EXPECT_EQ(largest.period(), BufferingChoice::LargestPeriod);
}

}  // namespace
}  // namespace clangor
