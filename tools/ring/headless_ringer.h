// Rings a touch on a tower with the real engine and ringing control, headless:
// on simulated time as fast as the machine allows, or on the real clock. The
// rows are handed on as the touch publishes them, and every blow is kept for
// the striking report.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/ring/striking_report.h"

namespace clangor {
class EngineStrikingView;
class RingingControl;
class TowerWindow;
}  // namespace clangor

namespace clangor::ring {

struct RingPlan {
  std::string tower;                // empty: the default tower
  int bells = 0;                    // the back `bells` bells; 0: all
  std::string ring;                 // a ring of the tower by its menu text, instead of `bells`
  int pealMinutes = 0;              // 0: the tower's own
  bool realTime = false;            // on the real clock, sounding through the sound device
  std::string wavFile;              // when given: the touch's sound is rendered into this WAV file
  // What to ring once the bells are up: a method, a sequence, or rounds
  // (given the control and the number of bells in play). Returns false when
  // it is not found; the message goes to the error stream.
  std::function<bool(RingingControl&, int bellsInPlay)> begin;
  long roundsRows = 0;              // stand after this many rows (rounds, or any touch); 0: see maxRows
  long maxRows = 200000;            // a touch that has not stood by then is stood
  // The action when the touch comes round: 2 stands (the ringer's own
  // choice), 0 rings on, as the main window's setting does.
  int actionAtRounds = 2;
  // The user's own bell (0-based among the tower's bells, -1 none): the
  // engine tells `striking` where each of its blows belonged.
  int ownBell = -1;
  EngineStrikingView* striking = nullptr;
};

struct RingResult {
  int status = 0;
  std::vector<std::string> rows;    // as published
  std::vector<StruckBlow> blows;    // bells numbered among those in play
  int bellsInPlay = 0;
  double blowInterval = 0;
  double simulatedSeconds = 0;
  double realSeconds = 0;
};

// Hands each row to `onRow` as it is published; a WAV file that cannot be
// written makes the status 1. It rings on the shared ringing state as it
// stands: a caller that rings again in the same process resets it first
// (Ringing().Reset()), or the new simulated clock, starting low again, reads
// as a wrap of the tick count. The data folder must
// already be the settings store's (CLANGOR_COMMON_APPDATA).
RingResult RingHeadless(const RingPlan& plan, const std::function<void(const std::string&)>& onRow,
                        std::ostream& err);

}  // namespace clangor::ring
