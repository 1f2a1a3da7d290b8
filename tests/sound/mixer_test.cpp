#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "sound/mixer.h"
#include "sound/sample_buffer.h"

namespace clangor {
namespace {

using Samples = std::vector<std::int16_t>;

// Renders `frames` frames and returns the left channel, checking that the
// right one (mono sources) carries the same samples.
Samples RenderLeft(Mixer& mixer, int frames) {
  Samples stereo(static_cast<std::size_t>(frames) * 2);
  mixer.render(stereo.data(), frames);
  Samples left;
  for (int f = 0; f < frames; ++f) {
    left.push_back(stereo[2 * f]);
    EXPECT_EQ(stereo[2 * f + 1], stereo[2 * f]) << "frame " << f;
  }
  return left;
}

Mixer::BufferId PlayMono(Mixer& mixer, const Samples& values, std::uint32_t frequency = 44100) {
  const Mixer::BufferId id = mixer.createBuffer(MonoBuffer16(44100, values));
  EXPECT_NE(id, Mixer::NoBuffer);
  EXPECT_TRUE(mixer.setFrequency(id, frequency));
  mixer.playFromStart(id);
  return id;
}

// Golden renders: one buffer, its frequency and volume, the exact samples out.
struct GoldenCase {
  const char* what;
  Samples recording;
  std::uint32_t frequency;
  std::int32_t volume;
  Samples expected;
};

TEST(MixerGolden, RendersTheExactSamples) {
  const GoldenCase cases[] = {
      {"at the output rate the samples pass unchanged", {0, 1000, -1000, 24576, -24576, 5}, 44100, 0,
       {0, 1000, -1000, 24576, -24576, 5, 0, 0}},
      {"at half the rate each step is halved: midpoints between samples, the last one held",
       {0, 1000, 2000, 4000}, 22050, 0, {0, 500, 1000, 1500, 2000, 3000, 4000, 4000, 0, 0}},
      {"at twice the rate every other sample", {0, 100, 200, 300, 400, 500, 600}, 88200, 0,
       {0, 200, 400, 600, 0, 0}},
      {"-600 is about half the amplitude", {10000, -20000, 32767, 0}, 44100, -600,
       {5012, -10024, 16422, 0, 0}},
      {"-10000 is silence", {32767, -32768}, 44100, -10000, {0, 0, 0}},
      {"a quarter of the way between samples", {0, 4000, 8000}, 11025, 0, {0, 1000, 2000, 3000, 4000, 5000}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Mixer mixer;
    const Mixer::BufferId id = PlayMono(mixer, c.recording, c.frequency);
    ASSERT_TRUE(mixer.setVolume(id, c.volume));
    EXPECT_EQ(RenderLeft(mixer, static_cast<int>(c.expected.size())), c.expected);
  }
}

TEST(MixerGolden, RestartingPlaysFromTheStartAndFadesTheBlowBefore) {
  Mixer mixer;
  const Mixer::BufferId id = PlayMono(mixer, {100, 200, 300, 400, 500, 600, 700, 800});
  EXPECT_EQ(RenderLeft(mixer, 3), (Samples{100, 200, 300}));
  mixer.playFromStart(id);
  // The new blow from its start, plus the one before from where it was
  // (400, 500, ...) at 65/66, 64/66, ... of its level, until it ends.
  EXPECT_EQ(RenderLeft(mixer, 4), (Samples{100 + 394, 200 + 485, 300 + 573, 400 + 658}));
  EXPECT_TRUE(mixer.isPlaying(id));
  // Played once, never looped.
  EXPECT_EQ(RenderLeft(mixer, 6), (Samples{500 + 739, 600, 700, 800, 0, 0}));
  EXPECT_FALSE(mixer.isPlaying(id));
  EXPECT_EQ(RenderLeft(mixer, 2), (Samples{0, 0}));
  mixer.playFromStart(id);
  EXPECT_EQ(RenderLeft(mixer, 2), (Samples{100, 200}));
}

// A bell struck again while its last blow still sounds: the old blow fades
// out over a millisecond and a half, with no step in it larger than the new
// blow's own in its first millisecond, and the new blow starts on its own
// first frame: once the fade is over the output is the new blow alone.
TEST(MixerGolden, ARestartNeverStepsFurtherThanTheNewBlowItself) {
  Samples blow;
  for (int i = 0; i < 44100; ++i) {
    const double t = i / 44100.0;
    blow.push_back(static_cast<std::int16_t>(12000 * std::sin(2 * 3.141592653589793 * 600 * t) * std::exp(-t / 0.5)));
  }
  const auto render = [](Mixer& mixer, int frames) { return RenderLeft(mixer, frames); };
  Mixer alone;
  PlayMono(alone, blow);
  const Samples fresh = render(alone, 2000);
  int ownStep = std::abs(fresh[0]);  // from silence into its first frame
  for (int k = 1; k < 44; ++k) ownStep = std::max(ownStep, std::abs(fresh[k] - fresh[k - 1]));

  for (const int struckAt : {13230, 13237, 20000}) {  // peaks and zero crossings of the old blow
    SCOPED_TRACE(struckAt);
    Mixer mixer;
    const Mixer::BufferId id = PlayMono(mixer, blow);
    const Samples before = render(mixer, struckAt);
    mixer.playFromStart(id);
    const Samples after = render(mixer, 2000);
    int previous = before.back();  // the old blow's last frame before the restart
    int worst = 0;
    for (int k = 0; k < 2000; ++k) {
      const int tail = after[k] - fresh[k];  // what is left of the old blow
      worst = std::max(worst, std::abs(tail - previous));
      previous = tail;
      if (k >= Mixer::FadeFrames) {
        EXPECT_EQ(after[k], fresh[k]) << "frame " << k;
      }
    }
    EXPECT_LE(worst, ownStep);
  }
}

TEST(MixerGolden, StopSilencesAtOnceAndTheLastCommandOfAPeriodWins) {
  Mixer mixer;
  const Mixer::BufferId id = PlayMono(mixer, {100, 200, 300, 400, 500, 600});
  EXPECT_EQ(RenderLeft(mixer, 2), (Samples{100, 200}));
  mixer.stop(id);
  EXPECT_EQ(RenderLeft(mixer, 3), (Samples{0, 0, 0}));
  EXPECT_FALSE(mixer.isPlaying(id));

  // Start then stop before the next period: nothing sounds (the warm-up).
  mixer.playFromStart(id);
  mixer.stop(id);
  EXPECT_EQ(RenderLeft(mixer, 2), (Samples{0, 0}));
  // Stop then start: the start stands, from the first sample.
  mixer.stop(id);
  mixer.playFromStart(id);
  EXPECT_EQ(RenderLeft(mixer, 2), (Samples{100, 200}));
  // Two starts in one period are one start (the blow before, at 300 and
  // 400, fades: 65/66 and 64/66 of it).
  mixer.playFromStart(id);
  mixer.playFromStart(id);
  const std::uint64_t started = mixer.buffersStarted();
  EXPECT_EQ(RenderLeft(mixer, 2), (Samples{100 + 295, 200 + 388}));
  EXPECT_EQ(mixer.buffersStarted(), started + 1);
}

TEST(MixerGolden, BuffersSoundTogetherAndTheSumIsLimitedShortOfFullScale) {
  Mixer mixer;
  PlayMono(mixer, {1000, 30000, -30000, 7});
  PlayMono(mixer, {2000, 30000, -30000});
  const Samples out = RenderLeft(mixer, 5);
  EXPECT_EQ(out[0], 3000);
  EXPECT_GT(out[1], 31000);
  EXPECT_LT(out[1], 32767);
  EXPECT_LT(out[2], -31000);
  EXPECT_GT(out[2], -32767);
  EXPECT_EQ(out[4], 0);
}

TEST(MixerGolden, StereoRecordingsKeepTheirChannels) {
  Mixer mixer;
  SampleBuffer stereo;
  stereo.channels = 2;
  stereo.sampleRate = 44100;
  for (const int v : {1000, -1000, 2000, -2000}) stereo.samples.push_back(v / 32768.0f);
  const Mixer::BufferId id = mixer.createBuffer(stereo);
  mixer.playFromStart(id);
  Samples out(6);
  mixer.render(out.data(), 3);
  EXPECT_EQ(out, (Samples{1000, -1000, 2000, -2000, 0, 0}));
}

TEST(MixerGolden, OneLongRenderEqualsTheSamePeriodsRenderedOneByOne) {
  // An odd frequency, so the position carries a fraction across periods.
  Samples ramp;
  for (int i = 0; i < 2000; ++i) ramp.push_back(static_cast<std::int16_t>(i * 13 % 20000 - 10000));
  Mixer whole, pieces;
  PlayMono(whole, ramp, 30011);
  PlayMono(pieces, ramp, 30011);
  Samples a(1300 * 2), b;
  whole.render(a.data(), 1300);
  for (const int n : {256, 256, 256, 256, 256, 20}) {
    Samples part(static_cast<std::size_t>(n) * 2);
    pieces.render(part.data(), n);
    b.insert(b.end(), part.begin(), part.end());
  }
  EXPECT_EQ(a, b);
  EXPECT_EQ(whole.framesRendered(), 1300u);
}

TEST(Mixer, ControlsRefuseWhatTheyCannotPlay) {
  Mixer mixer(2);
  EXPECT_EQ(mixer.createBuffer(MonoBuffer16(44100, {})), Mixer::NoBuffer);
  const Mixer::BufferId id = mixer.createBuffer(MonoBuffer16(22050, {1, 2}));
  ASSERT_NE(id, Mixer::NoBuffer);
  // A new buffer is stopped, at full volume and at its recording's rate.
  EXPECT_EQ(mixer.frequency(id), 22050u);
  EXPECT_EQ(mixer.volume(id), 0);
  EXPECT_FALSE(mixer.isPlaying(id));

  struct { std::uint32_t hertz; bool taken; } frequencies[] = {
      {99, false}, {100, true}, {200000, true}, {200001, false}, {0, false}};
  for (const auto& f : frequencies) {
    EXPECT_EQ(mixer.setFrequency(id, f.hertz), f.taken) << f.hertz;
  }
  EXPECT_EQ(mixer.frequency(id), 200000u);
  struct { std::int32_t level; bool taken; } volumes[] = {{-10001, false}, {-10000, true}, {1, false}, {-250, true}};
  for (const auto& v : volumes) EXPECT_EQ(mixer.setVolume(id, v.level), v.taken) << v.level;
  EXPECT_EQ(mixer.volume(id), -250);

  // Unknown buffers are ignored.
  for (const Mixer::BufferId other : {Mixer::NoBuffer, 1, 2, 99}) {
    EXPECT_FALSE(mixer.setVolume(other, -100));
    EXPECT_FALSE(mixer.setFrequency(other, 44100));
    EXPECT_EQ(mixer.frequency(other), 0u);
    mixer.playFromStart(other);
    mixer.stop(other);
  }
}

TEST(Mixer, ReleasedSlotsAreReusedWithoutTheOldBuffersCommands) {
  Mixer mixer(2);
  const Mixer::BufferId a = mixer.createBuffer(MonoBuffer16(44100, {1000}));
  const Mixer::BufferId b = mixer.createBuffer(MonoBuffer16(44100, {2000}));
  EXPECT_EQ(mixer.createBuffer(MonoBuffer16(44100, {3000})), Mixer::NoBuffer);  // full
  EXPECT_EQ(mixer.buffersInUse(), 2);
  mixer.playFromStart(a);
  mixer.releaseBuffer(a);
  mixer.releaseBuffer(a);  // twice is harmless
  const Mixer::BufferId c = mixer.createBuffer(MonoBuffer16(44100, {3000, 3000}));
  EXPECT_EQ(c, a);
  // The start sent to the released buffer does not start the new one.
  EXPECT_EQ(RenderLeft(mixer, 2), (Samples{0, 0}));
  mixer.playFromStart(b);
  mixer.playFromStart(c);
  EXPECT_EQ(RenderLeft(mixer, 2), (Samples{5000, 3000}));
}

TEST(Mixer, GainFollowsHundredthsOfADecibel) {
  EXPECT_EQ(Mixer::GainFor(0), 1.0f);
  EXPECT_NEAR(Mixer::GainFor(-600), 0.501187, 1e-6);
  EXPECT_NEAR(Mixer::GainFor(-2000), 0.1, 1e-7);
  EXPECT_NEAR(Mixer::GainFor(-10000), 1e-5, 1e-10);
}

// Blows from one thread and volume and pitch from another while a third
// renders: every control is an atomic, so nothing is torn or lost and the
// renders never wait. (Its value is under ThreadSanitizer.)
TEST(Mixer, BlowsVolumeAndPitchFromOtherThreadsWhileRendering) {
  Mixer mixer;
  std::vector<Mixer::BufferId> ids;
  for (int i = 0; i < 8; ++i) ids.push_back(mixer.createBuffer(MonoBuffer16(44100, Samples(500, 1000))));
  std::atomic<bool> done{false};
  std::thread audio([&] {
    Samples period(Mixer::MaxFramesPerPeriod * 2);
    while (!done) mixer.render(period.data(), Mixer::MaxFramesPerPeriod);
  });
  std::thread worker([&] {
    for (int n = 0; n < 20000; ++n) mixer.playFromStart(ids[static_cast<std::size_t>(n % 8)]);
  });
  for (int n = 0; n < 20000; ++n) {
    const Mixer::BufferId id = ids[static_cast<std::size_t>(n % 8)];
    mixer.setVolume(id, -(n % 10001));
    mixer.setFrequency(id, 100 + static_cast<std::uint32_t>(n % 100000));
  }
  worker.join();
  // A buffer released and made again while the renders run.
  mixer.releaseBuffer(ids[0]);
  ids[0] = mixer.createBuffer(MonoBuffer16(44100, {5}));
  EXPECT_NE(ids[0], Mixer::NoBuffer);
  done = true;
  audio.join();
  EXPECT_EQ(mixer.volume(ids[1]), -(19993 % 10001));
  EXPECT_EQ(mixer.frequency(ids[1]), 100u + 19993u % 100000u);
}

}  // namespace
}  // namespace clangor
