// Rings a touch headless, from rounds, striking the bells at their ideal
// times, and prints the rows it publishes.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace clangor {
class ChangeGenerator;
}

namespace clangor::ring {

struct TouchOptions {
  int bells = 0;
  bool wholePull = false;
  std::string calls;      // one letter per lead; empty: no calls
  long maxRows = 100000;  // a touch that has not come round by then is given up
};

// `start` hands the touch to the generator while it holds rounds. Prints every
// row published from the first changed row up to and including the rounds at
// which the touch comes round; returns 0, or 1 (with a message on `err`) when
// it does not come round within maxRows rows or never leaves rounds.
int RingTouch(const TouchOptions& options, const std::function<void(ChangeGenerator&)>& start, std::ostream& out,
              std::ostream& err);

// Checks a --calls value: call letters "a".."z" or "-".
void CheckCallLetters(const std::string& letters);

}  // namespace clangor::ring
