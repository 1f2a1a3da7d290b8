// A church bell's blow, synthesised: the partials of a tuned bell (hum,
// prime, tierce, quint, nominal and the upper partials), each with its own
// decay and a slow beat between the two halves of its doublet, and the
// clapper's strike. Muffled, the leather on the clapper softens the strike
// and damps the upper partials quickly. The same bell always gives the same
// samples.
#pragma once

#include <vector>

#include "tools/towerkit/tower_definition.h"

namespace clangor::towerkit {

// Samples at 44.1 kHz, -1..1. `style` Room adds the ringing chamber's
// reverberation.
std::vector<float> SynthesiseBell(const BellDefinition& bell, bool muffled, SoundStyle style);

// The partials as multiples of the nominal: hum, prime, tierce, quint,
// nominal, then the upper partials.
inline constexpr double PartialRatios[] = {0.25, 0.5, 0.6, 0.75, 1.0, 1.25, 1.5, 2.0, 2.5, 2.67, 3.0};

// Lightly filtered noise and the reverberation of a room, shared with the
// program's own sounds.
std::vector<float> AddRoom(const std::vector<float>& dry, double wet, double decaySeconds);

// A deterministic pseudo-random source in -1..1.
class Noise {
 public:
  explicit Noise(unsigned seed) : state_(seed * 2654435761u + 1u) {}
  float Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<float>(static_cast<int>(state_ >> 8) - (1 << 23)) / static_cast<float>(1 << 23);
  }

 private:
  unsigned state_;
};

}  // namespace clangor::towerkit
