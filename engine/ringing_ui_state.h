// What the main window keeps for ringing control: what was rung last (for
// Go Again), when the touch started on the ringing clock, and the pitch shift.
// User-interface thread only.
#pragma once

#include <bitset>
#include <functional>
#include <string>

#include "ringing/bells.h"

namespace clangor {

class CompositionSource;
struct CallChangeSequence;
struct Method;

// A composition of the library as ringing control sees it.
struct RingableComposition {
  CompositionSource* source = nullptr;
  std::string name;
  std::bitset<MaxStage + 1> stages;  // numbers of bells it has a variant for
  // Builds the touch data for `method` on `bells` bells; false when it cannot
  // be rung so. Null: nothing to build.
  std::function<bool(const Method* method, int bells)> prepare;
};

struct RingingUiState {
  const Method* lastTouch = nullptr;
  const RingableComposition* lastComposition = nullptr;
  const CallChangeSequence* lastSequence = nullptr;
  double touchStart = 0.0;  // ringing clock; moved on by every pause
  int semitoneShift = 0;    // -12 to 12
  std::string title;        // what is being rung
};

}  // namespace clangor
