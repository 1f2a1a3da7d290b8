#include "tools/towerkit/program_sounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/towerkit/bell_sound.h"
#include "tools/towerkit/wave_writer.h"

namespace clangor::towerkit {

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;

std::size_t Samples(double seconds) { return static_cast<std::size_t>(seconds * SampleRate); }

// A voiced sound: harmonics of a pitch that follows `pitch(t)`, shaped by
// `level(t)`, with harmonic h weighted by `weight(h)`.
template <typename Pitch, typename Level, typename Weight>
std::vector<float> Voice(double seconds, int harmonics, Pitch pitch, Level level, Weight weight) {
  std::vector<float> out(Samples(seconds));
  std::vector<double> phase(static_cast<std::size_t>(harmonics), 0.0);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / SampleRate;
    const double f = pitch(t);
    double sum = 0;
    for (int h = 1; h <= harmonics; ++h) {
      if (f * h > 16000) break;
      double& ph = phase[static_cast<std::size_t>(h - 1)];
      ph = std::fmod(ph + TwoPi * f * h / SampleRate, TwoPi);
      sum += weight(h) * std::sin(ph);
    }
    out[i] = static_cast<float>(0.25 * level(t) * sum);
  }
  return out;
}

double Swell(double t, double start, double rise, double end, double fall) {
  if (t < start || t > end) return 0.0;
  const double in = std::min(1.0, (t - start) / rise);
  const double out = std::min(1.0, (end - t) / fall);
  return in * out;
}

}  // namespace

std::vector<float> QuietSound() { return std::vector<float>(Samples(0.1), 0.0f); }

std::vector<float> CowSound() {
  // "Moo": a low voice sliding up and back, with a slow wobble.
  return Voice(
      1.4, 20, [](double t) { return 110 + 25 * std::sin(std::numbers::pi * t / 1.4) + 2 * std::sin(TwoPi * 5 * t); },
      [](double t) { return Swell(t, 0.0, 0.15, 1.4, 0.35); },
      [](int h) { return h == 2 || h == 3 ? 1.0 : 0.6 / h; });
}

std::vector<float> CockerelSound() {
  // "Cock-a-doodle-doo": four calls, the last long and falling.
  const double starts[] = {0.0, 0.18, 0.36, 0.62};
  const double ends[] = {0.14, 0.32, 0.56, 1.5};
  auto out = Voice(
      1.6, 12,
      [](double t) { return t < 0.62 ? 520 + 180 * std::fmod(t, 0.18) / 0.18 : 700 - 200 * (t - 0.62); },
      [&](double t) {
        double level = 0;
        for (int i = 0; i < 4; ++i) level += Swell(t, starts[i], 0.02, ends[i], 0.05);
        return level;
      },
      [](int h) { return 1.0 / (1 + std::abs(h - 3)); });
  Noise noise(5);
  for (float& s : out) s = static_cast<float>(s * (1.0 + 0.15 * noise.Next()));
  return out;
}

std::vector<float> DogSound() {
  // "Woof, woof": two short barks, rough and falling.
  auto out = Voice(
      0.9, 16, [](double t) { return 380 - 300 * std::fmod(t, 0.45); },
      [](double t) { return Swell(t, 0.0, 0.01, 0.18, 0.08) + Swell(t, 0.45, 0.01, 0.63, 0.08); },
      [](int h) { return 1.0 / std::sqrt(h); });
  Noise noise(11);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<float>(out[i] * (0.8 + 0.4 * noise.Next()));
  }
  return out;
}

std::vector<float> Normalised(std::vector<float> sound) {
  float peak = 0;
  for (const float s : sound) peak = std::max(peak, std::abs(s));
  if (peak > 0) {
    for (float& s : sound) s = s * 0.8f / peak;
  }
  return sound;
}

void WriteProgramSounds(const std::filesystem::path& programStuff) {
  WriteWaveFile(programStuff / "quiet.wav", QuietSound());
  WriteWaveFile(programStuff / "cow.wav", Normalised(CowSound()));
  WriteWaveFile(programStuff / "cockerel.wav", Normalised(CockerelSound()));
  WriteWaveFile(programStuff / "dog.wav", Normalised(DogSound()));
}

}  // namespace clangor::towerkit
