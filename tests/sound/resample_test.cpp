// A pitch shift measured by FFT: a recording with one high partial, pitched as
// the bells are pitched (resampled when loaded), must sound that partial where
// the shift puts it and nothing else above the noise: the images and aliases
// of the resampling at least 60 dB down, and a partial shifted beyond the
// Nyquist limit gone.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <vector>

#include "sound/mixer.h"
#include "sound/pitch.h"
#include "sound/sample_buffer.h"

namespace clangor {
namespace {

constexpr std::size_t FftSize = 16384;

// Magnitudes of the spectrum of `signal` (FftSize samples) under a
// Blackman-Harris window, whose side lobes lie 92 dB down.
std::vector<double> Spectrum(const std::vector<double>& signal) {
  std::vector<std::complex<double>> x(FftSize);
  for (std::size_t n = 0; n < FftSize; ++n) {
    const double a = 2 * std::numbers::pi * static_cast<double>(n) / (FftSize - 1);
    const double w = 0.35875 - 0.48829 * std::cos(a) + 0.14128 * std::cos(2 * a) - 0.01168 * std::cos(3 * a);
    x[n] = signal[n] * w;
  }
  for (std::size_t i = 1, j = 0; i < FftSize; ++i) {
    std::size_t bit = FftSize >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(x[i], x[j]);
  }
  for (std::size_t len = 2; len <= FftSize; len <<= 1) {
    const std::complex<double> root = std::polar(1.0, -2 * std::numbers::pi / static_cast<double>(len));
    for (std::size_t i = 0; i < FftSize; i += len) {
      std::complex<double> w(1.0);
      for (std::size_t k = 0; k < len / 2; ++k, w *= root) {
        const std::complex<double> u = x[i + k], v = x[i + k + len / 2] * w;
        x[i + k] = u + v;
        x[i + k + len / 2] = u - v;
      }
    }
  }
  std::vector<double> magnitude(FftSize / 2);
  for (std::size_t k = 0; k < magnitude.size(); ++k) magnitude[k] = std::abs(x[k]);
  return magnitude;
}

// One second of a steady partial at `hertz`, half of full scale.
SampleBuffer Partial(double hertz) {
  std::vector<std::int16_t> values(44100);
  for (std::size_t i = 0; i < values.size(); ++i)
    values[i] = static_cast<std::int16_t>(16384 * std::sin(2 * std::numbers::pi * hertz * static_cast<double>(i) / 44100));
  return MonoBuffer16(44100, values);
}

// The recording pitched by `shift` semitones as the bells pitch theirs, then
// FftSize frames from well inside the blow (left channel).
std::vector<double> RenderShifted(const SampleBuffer& recording, int shift) {
  Mixer mixer;
  const Mixer::BufferId id = mixer.createBuffer(recording);
  EXPECT_TRUE(mixer.resampleTo(id, PitchedFrequency(44100, shift)));
  mixer.playFromStart(id);
  std::vector<std::int16_t> out(2 * (2048 + FftSize));
  mixer.render(out.data(), 2048 + static_cast<int>(FftSize));
  std::vector<double> left(FftSize);
  for (std::size_t n = 0; n < FftSize; ++n) left[n] = out[2 * (2048 + n)] / 32768.0;
  return left;
}

double Decibels(double ratio) { return 20 * std::log10(ratio); }

TEST(PitchShift, ImagesAndAliasesLieAtLeast60DecibelsDown) {
  const std::vector<double> unshifted = Spectrum(RenderShifted(Partial(15000), 0));
  double reference = 0;
  for (const double m : unshifted) reference = std::max(reference, m);
  const double binHertz = 44100.0 / FftSize;
  const struct {
    int shift;
    double expected;  // hertz of the shifted partial; 0 when it lies beyond Nyquist
  } cases[] = {{12, 0}, {3, 15000 * std::pow(2.0, 3 / 12.0)}, {-12, 7500}, {-5, 15000 * std::pow(2.0, -5 / 12.0)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shift);
    const std::vector<double> spectrum = Spectrum(RenderShifted(Partial(15000), c.shift));
    double worst = 0, worstHertz = 0, partial = 0;
    for (std::size_t k = 0; k < spectrum.size(); ++k) {
      const double hertz = static_cast<double>(k) * binHertz;
      if (c.expected > 0 && std::abs(hertz - c.expected) < 50) {
        partial = std::max(partial, spectrum[k]);
      } else if (spectrum[k] > worst) {
        worst = spectrum[k];
        worstHertz = hertz;
      }
    }
    if (c.expected > 0) {
      EXPECT_GT(Decibels(partial / reference), -1.0);
    }
    EXPECT_LT(Decibels(worst / reference), -60.0) << "at " << worstHertz << " Hz";
  }
}

// A frequency set by setFrequency after a resampling plays the recording
// itself, interpolated, until it is resampled again.
TEST(PitchShift, AFrequencySetAfterAResamplingPlaysTheRecordingItself) {
  Mixer mixer;
  const Mixer::BufferId id = mixer.createBuffer(MonoBuffer16(44100, {1000, 2000, 3000, 4000, 5000, 6000}));
  ASSERT_TRUE(mixer.resampleTo(id, 88200));
  ASSERT_TRUE(mixer.setFrequency(id, 44100));
  mixer.playFromStart(id);
  std::vector<std::int16_t> out(12);
  mixer.render(out.data(), 6);
  EXPECT_EQ(out, (std::vector<std::int16_t>{1000, 1000, 2000, 2000, 3000, 3000, 4000, 4000, 5000, 5000, 6000, 6000}));
  EXPECT_EQ(mixer.frequency(id), 44100u);
}

}  // namespace
}  // namespace clangor
