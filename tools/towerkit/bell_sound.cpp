#include "tools/towerkit/bell_sound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/towerkit/wave_writer.h"

namespace clangor::towerkit {

namespace {

// Strength of each partial at the blow, in the order of PartialRatios.
constexpr double Strength[] = {0.45, 0.35, 0.5, 0.12, 1.0, 0.18, 0.3, 0.22, 0.12, 0.08, 0.06};

// Seconds for a partial to fall by a factor e: long for the low partials of a
// heavy bell, short for the high ones.
double DecayOf(double frequency, const BellDefinition& bell, bool muffled) {
  const double size = std::cbrt(std::max(bell.weight, 0.5) / 10.0);
  double tau = 1.9 * size * std::pow(800.0 / frequency, 0.85);
  // Leather on the clapper: the blow dies in a fraction of a second, the
  // upper partials soonest.
  if (muffled) tau *= frequency > bell.nominal * 0.9 ? 0.05 : 0.08;
  return std::clamp(tau, 0.03, 9.0);
}

double LengthOf(const BellDefinition& bell, bool muffled) {
  const double size = std::cbrt(std::max(bell.weight, 0.5) / 10.0);
  return muffled ? 1.2 + 0.4 * size : 3.0 + 1.2 * size;
}

// The clapper's strike: a burst of noise, brighter when open, with a few
// short inharmonic rings of the metal.
void AddStrike(std::vector<float>& out, const BellDefinition& bell, bool muffled) {
  Noise noise(static_cast<unsigned>(bell.number * 7919 + (muffled ? 1 : 0)));
  const double length = muffled ? 0.012 : 0.006;
  const double smooth = muffled ? 0.08 : 0.5;  // one-pole low-pass: leather is dull
  const std::size_t samples = static_cast<std::size_t>(length * 6 * SampleRate);
  double level = 0;
  for (std::size_t i = 0; i < samples && i < out.size(); ++i) {
    const double t = static_cast<double>(i) / SampleRate;
    level += smooth * (noise.Next() - level);
    out[i] += static_cast<float>((muffled ? 0.25 : 0.45) * level * std::exp(-t / length));
  }
  const double clang[] = {3.76, 4.43, 5.21};
  for (const double ratio : clang) {
    const double f = bell.nominal * ratio;
    if (f > 18000) continue;
    const double tau = muffled ? 0.008 : 0.04;
    for (std::size_t i = 0; i < out.size(); ++i) {
      const double t = static_cast<double>(i) / SampleRate;
      if (t > 8 * tau) break;
      out[i] += static_cast<float>(0.05 * std::exp(-t / tau) * std::sin(2 * std::numbers::pi * f * t));
    }
  }
}

}  // namespace

std::vector<float> AddRoom(const std::vector<float>& dry, double wet, double decaySeconds) {
  // Four combs in parallel, then two all-passes: a small stone room.
  const int combDelays[] = {1557, 1617, 1491, 1422};
  const int allpassDelays[] = {225, 556};
  std::vector<float> wetSignal(dry.size(), 0.0f);
  for (const int delay : combDelays) {
    const double feedback = std::pow(0.001, delay / (decaySeconds * SampleRate));
    std::vector<float> line(static_cast<std::size_t>(delay), 0.0f);
    std::size_t at = 0;
    double damp = 0;
    for (std::size_t i = 0; i < dry.size(); ++i) {
      const float out = line[at];
      damp += 0.3 * (out - damp);
      line[at] = static_cast<float>(dry[i] + feedback * damp);
      at = (at + 1) % line.size();
      wetSignal[i] += out * 0.25f;
    }
  }
  for (const int delay : allpassDelays) {
    std::vector<float> line(static_cast<std::size_t>(delay), 0.0f);
    std::size_t at = 0;
    for (float& sample : wetSignal) {
      const float buffered = line[at];
      const float input = sample;
      sample = buffered - 0.5f * input;
      line[at] = input + 0.5f * buffered;
      at = (at + 1) % line.size();
    }
  }
  std::vector<float> out(dry.size());
  for (std::size_t i = 0; i < dry.size(); ++i) {
    out[i] = static_cast<float>((1.0 - wet * 0.5) * dry[i] + wet * wetSignal[i]);
  }
  return out;
}

// Half the level a bell alone could have.
constexpr double RingHeadroom = 0.5;

std::vector<float> SynthesiseBell(const BellDefinition& bell, bool muffled, SoundStyle style) {
  const double seconds = LengthOf(bell, muffled) + (style == SoundStyle::Room ? 0.8 : 0.0);
  std::vector<float> out(static_cast<std::size_t>(seconds * SampleRate), 0.0f);
  const std::size_t partials = std::size(PartialRatios);
  for (std::size_t p = 0; p < partials; ++p) {
    const double f = bell.nominal * PartialRatios[p];
    if (f > 18000) continue;
    const double tau = DecayOf(f, bell, muffled);
    double amplitude = Strength[p] * (muffled && PartialRatios[p] >= 1.0 ? 0.5 : 1.0);
    // Each partial is a doublet: a strong mode and a weak one close by, so
    // that the partial swells and fades a little, slowly.
    const double beat = 0.2 + 0.07 * static_cast<double>((bell.number * 3 + static_cast<int>(p)) % 7);
    const double phase = 0.37 * static_cast<double>(p * 5 + static_cast<std::size_t>(bell.number));
    const double w1 = 2 * std::numbers::pi * (f - beat / 2) / SampleRate;
    const double w2 = 2 * std::numbers::pi * (f + beat / 2) / SampleRate;
    const double fall = std::exp(-1.0 / (tau * SampleRate));
    double envelope = amplitude;
    for (std::size_t i = 0; i < out.size(); ++i) {
      const double n = static_cast<double>(i);
      out[i] += static_cast<float>(envelope * 0.5 * (std::sin(w1 * n + phase) + 0.2 * std::sin(w2 * n)));
      envelope *= fall;
      if (envelope < 1e-6) break;
    }
  }
  AddStrike(out, bell, muffled);
  if (style == SoundStyle::Room) out = AddRoom(out, 0.45, 1.6);
  // Fade the tail out over the last fifth, then set the loudness: heavier
  // bells a little louder, and every bell 6 dB down, so that a whole ring
  // sounding together stays mostly under the mixer's limiter.
  const std::size_t fade = out.size() / 5;
  for (std::size_t i = 0; i < fade; ++i) out[out.size() - fade + i] *= static_cast<float>(1.0 - double(i) / fade);
  float peak = 0;
  for (const float s : out) peak = std::max(peak, std::abs(s));
  const double loudness = RingHeadroom * (muffled ? 0.45 : 0.7) * (0.75 + 0.25 * std::min(1.0, bell.weight / 30.0));
  if (peak > 0) {
    for (float& s : out) s = static_cast<float>(s * loudness / peak);
  }
  return out;
}

}  // namespace clangor::towerkit
