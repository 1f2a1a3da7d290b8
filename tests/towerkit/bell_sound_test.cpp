// The synthesised recordings sound like the bell they stand for: tuned to
// its nominal with the hum two octaves below, the muffled blow dying away
// sooner than the open one, and the same samples every time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "tools/towerkit/bell_sound.h"
#include "tools/towerkit/program_sounds.h"
#include "tools/towerkit/wave_writer.h"

namespace clangor::towerkit {
namespace {

// Strength of one frequency over samples [from, to) (Goertzel).
double Strength(const std::vector<float>& s, double frequency, double from, double to) {
  const auto a = static_cast<std::size_t>(from * SampleRate), b = static_cast<std::size_t>(to * SampleRate);
  const double w = 2 * std::numbers::pi * frequency / SampleRate;
  double s1 = 0, s2 = 0;
  for (std::size_t i = a; i < b && i < s.size(); ++i) {
    const double s0 = s[i] + 2 * std::cos(w) * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return std::sqrt(s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2) / static_cast<double>(b - a);
}

double Energy(const std::vector<float>& s, double from, double to) {
  double sum = 0;
  for (auto i = static_cast<std::size_t>(from * SampleRate); i < static_cast<std::size_t>(to * SampleRate) && i < s.size(); ++i) {
    sum += s[i] * s[i];
  }
  return sum;
}

const BellDefinition Tenor{8, "Tenor", "G", 783.99, 12, 1.78, 0.72, 32};

TEST(BellSoundTest, TheBlowIsTunedToTheBellsNominalWithItsHum) {
  const std::vector<float> open = SynthesiseBell(Tenor, false, SoundStyle::Dry);
  const double nominal = Strength(open, Tenor.nominal, 0.05, 0.55);
  // A semitone either side there is little.
  EXPECT_GT(nominal, 10 * Strength(open, Tenor.nominal * 1.0595, 0.05, 0.55));
  EXPECT_GT(nominal, 10 * Strength(open, Tenor.nominal / 1.0595, 0.05, 0.55));
  const double hum = Strength(open, Tenor.nominal / 4, 0.05, 0.55);
  EXPECT_GT(hum, 10 * Strength(open, Tenor.nominal / 4 * 1.0595, 0.05, 0.55));
  // The hum outlasts the nominal.
  EXPECT_GT(Strength(open, Tenor.nominal / 4, 2.0, 2.5) / hum, Strength(open, Tenor.nominal, 2.0, 2.5) / nominal);
}

TEST(BellSoundTest, TheMuffledBlowDiesAwaySoonerAndEveryBlowIsTheSame) {
  const std::vector<float> open = SynthesiseBell(Tenor, false, SoundStyle::Dry);
  const std::vector<float> muffled = SynthesiseBell(Tenor, true, SoundStyle::Dry);
  EXPECT_LT(muffled.size(), open.size());
  const double openFall = Energy(open, 0.5, 0.7) / Energy(open, 0.0, 0.2);
  const double muffledFall = Energy(muffled, 0.5, 0.7) / Energy(muffled, 0.0, 0.2);
  EXPECT_LT(muffledFall, openFall / 2);
  EXPECT_EQ(SynthesiseBell(Tenor, false, SoundStyle::Room), SynthesiseBell(Tenor, false, SoundStyle::Room));
  for (const auto& sound : {open, muffled, Normalised(CowSound()), Normalised(DogSound()), Normalised(CockerelSound())}) {
    float peak = 0;
    for (const float s : sound) peak = std::max(peak, std::abs(s));
    EXPECT_GT(peak, 0.1f);
    EXPECT_LE(peak, 1.0f);
  }
}

}  // namespace
}  // namespace clangor::towerkit
