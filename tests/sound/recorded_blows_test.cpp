// The blows of rounds found in a recording by each bell's own blow: every
// blow at its own sample even when the striking is uneven, and a bell
// sounding in another's place is told apart.
#include "bench/sound_server/recorded_blows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace clangor::bench {
namespace {

constexpr double Rate = 44100;
constexpr int Bells = 4;
constexpr int Rows = 4;

// A bell-like blow: a few decaying partials over a noisy strike, each bell
// its own.
std::vector<float> Blow(int bell) {
  std::mt19937 noise(static_cast<unsigned>(bell + 1));
  std::normal_distribution<float> click(0, 2000);
  std::vector<float> out(std::size_t(Rate * 1.5));
  const double hum = 300.0 * std::pow(0.89, bell);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = i / Rate;
    double v = 0;
    for (double ratio : {0.5, 1.0, 1.2, 1.5, 2.0}) v += 1500 * std::exp(-t * 2 * ratio) * std::sin(2 * M_PI * hum * ratio * t);
    if (i < 200) v += click(noise);
    out[i] = float(v);
  }
  return out;
}

struct Ringing {
  std::vector<float> left;
  std::vector<std::size_t> frames;  // where each blow starts
};

// Rounds with an open handstroke lead, each blow `jitter(k)` seconds off its
// place; `bellAt(k)` is the bell that sounds blow k. A bell struck again cuts
// its sound before off, as the mixer does.
template <typename Jitter, typename BellAt>
Ringing Ring(const std::vector<std::vector<float>>& blows, Jitter jitter, BellAt bellAt, bool handstrokeFirst = false) {
  Ringing r;
  r.left.assign(std::size_t(Rate * 12), 0.0f);
  std::vector<std::size_t> until(r.left.size(), 0);
  std::vector<std::size_t> last(Bells, r.left.size());
  for (std::size_t k = 0; k < Bells * Rows; ++k) r.frames.push_back(std::size_t((0.3 + RoundsSlot(k, Bells, handstrokeFirst) * 0.25 + jitter(k)) * Rate));
  for (std::size_t k = 0; k < r.frames.size(); ++k) {
    const int bell = bellAt(k);
    std::size_t next = r.left.size();
    for (std::size_t j = k + 1; j < r.frames.size(); ++j)
      if (bellAt(j) == bell) { next = r.frames[j]; break; }
    for (std::size_t i = 0; i < blows[std::size_t(bell)].size() && r.frames[k] + i < next; ++i)
      r.left[r.frames[k] + i] += blows[std::size_t(bell)][i];
  }
  return r;
}

TEST(RecordedBlowsTest, EveryBlowIsFoundAtItsOwnSampleThoughTheStrikingIsUneven) {
  std::vector<std::vector<float>> blows;
  for (int b = 0; b < Bells; ++b) blows.push_back(Blow(b));
  std::mt19937 random(7);
  std::uniform_real_distribution<double> off(-0.06, 0.06);
  std::vector<double> jitter;
  for (int k = 0; k < Bells * Rows; ++k) jitter.push_back(off(random));
  const Ringing r = Ring(blows, [&](std::size_t k) { return jitter[k]; }, [](std::size_t k) { return int(k % Bells); });
  const auto found = LocateRounds(r.left, blows, Rows, 0.0);
  ASSERT_EQ(found.size(), r.frames.size());
  for (std::size_t k = 0; k < found.size(); ++k) {
    SCOPED_TRACE("blow " + std::to_string(k));
    EXPECT_NEAR(found[k].seconds * Rate, double(r.frames[k]), 0.5);
    EXPECT_GT(found[k].match, 0.95);
    EXPECT_TRUE(found[k].sure());
  }
}

TEST(RecordedBlowsTest, ABellInAnotherBellsPlaceIsNotTakenForIt) {
  std::vector<std::vector<float>> blows;
  for (int b = 0; b < Bells; ++b) blows.push_back(Blow(b));
  // The second row rung 1 3 2 4: its second and third blows are not rounds.
  const auto bellAt = [](std::size_t k) {
    const int place = int(k % Bells);
    if (k / Bells == 1 && (place == 1 || place == 2)) return 3 - place;
    return place;
  };
  const Ringing r = Ring(blows, [](std::size_t) { return 0.0; }, bellAt);
  const auto found = LocateRounds(r.left, blows, Rows, 0.0);
  ASSERT_EQ(found.size(), r.frames.size());
  for (std::size_t k = 0; k < Bells; ++k) EXPECT_TRUE(found[k].sure()) << "blow " << k;
  EXPECT_FALSE(found[Bells + 1].sure());
  EXPECT_FALSE(found[Bells + 2].sure());
}

// A touch whose first row heard is a handstroke: the gap comes after its
// second row. Read so, every blow is found and the striking is even; read
// as a backstroke first, the gap would look like bad striking.
TEST(RecordedBlowsTest, RoundsHeardFromAHandstrokeAreReadWithTheGapInItsPlace) {
  std::vector<std::vector<float>> blows;
  for (int b = 0; b < Bells; ++b) blows.push_back(Blow(b));
  const Ringing r = Ring(blows, [](std::size_t) { return 0.0; }, [](std::size_t k) { return int(k % Bells); }, true);
  const auto found = LocateRounds(r.left, blows, Rows, 0.0, true);
  ASSERT_EQ(found.size(), r.frames.size());
  std::vector<double> onsets;
  for (std::size_t k = 0; k < found.size(); ++k) {
    EXPECT_TRUE(found[k].sure()) << "blow " << k;
    onsets.push_back(found[k].seconds);
  }
  EXPECT_LT(FitRounds(onsets, Bells, true).rmsMs, 0.05);
  EXPECT_GT(FitRounds(onsets, Bells, false).rmsMs, 20.0);
}

// The stream ran dry while the bells sounded: the recording holds a run of
// silence, and the server carried on where it stopped (everything after
// comes that much later), or played the silence in place of part of the
// stream, or something between. Every blow is still found at the sample it
// is heard, however the gap cuts the bells' sound.
TEST(RecordedBlowsTest, BlowsAfterAGapInTheSoundAreFoundWhereTheyAreHeard) {
  std::vector<std::vector<float>> blows;
  for (int b = 0; b < Bells; ++b) blows.push_back(Blow(b));
  struct Case {
    std::size_t gapFrames, lostFrames;
  };
  for (const Case c : {Case{128, 0}, Case{128, 123}, Case{128, 128}, Case{2000, 700}}) {
    SCOPED_TRACE("gap " + std::to_string(c.gapFrames) + ", lost " + std::to_string(c.lostFrames));
    Ringing r = Ring(blows, [](std::size_t) { return 0.0; }, [](std::size_t k) { return int(k % Bells); });
    // Between the sixth blow and the seventh, all four bells still sounding.
    const std::size_t gapAt = (r.frames[5] + r.frames[6]) / 2;
    std::fill_n(r.left.begin() + std::ptrdiff_t(gapAt), c.lostFrames, 0.0f);
    r.left.insert(r.left.begin() + std::ptrdiff_t(gapAt + c.lostFrames), c.gapFrames - c.lostFrames, 0.0f);
    for (std::size_t& f : r.frames)
      if (f > gapAt) f += c.gapFrames - c.lostFrames;
    const auto found = LocateRounds(r.left, blows, Rows, 0.0);
    ASSERT_EQ(found.size(), r.frames.size());
    for (std::size_t k = 0; k < found.size(); ++k) {
      SCOPED_TRACE("blow " + std::to_string(k));
      EXPECT_NEAR(found[k].seconds * Rate, double(r.frames[k]), 0.5);
      EXPECT_TRUE(found[k].sure());
    }
  }
}

}  // namespace
}  // namespace clangor::bench
