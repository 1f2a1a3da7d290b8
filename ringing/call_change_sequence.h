// Call-change sequences: named lists of call changes at one stage.
#pragma once

#include <string>

#include "ringing/row.h"

namespace clangor {

struct CallChangeSequence {
  int stage = 0;
  std::string name;      // blank-normalised, unique within the stage
  std::string notation;  // bell characters and "."
};

// Converts the sequence's notation into place notation at its stage: each
// change its places and ".", or "-" when no place is made.
std::string ToPlaceNotation(const CallChangeSequence& sequence);

// The announcement of the change at `change` (a compiled change: places as
// bell indexes, or "-", ending at the first byte that is not a place) rung
// from `row`, for the first `stage` positions. `callUp` names the bell that
// moves up ("3 to 4"), else the bell that moves down ("4 to 2", "2 lead");
// bells are named by their numbers, as a conductor calls them ("10 to 11").
std::string CallText(const Row& row, const std::string& change, int stage, bool callUp);

}  // namespace clangor
