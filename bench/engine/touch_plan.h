// The plan the engine benchmarks ring by: one method from rounds, ringing on
// at rounds for a given number of changes.
#pragma once

#include "engine/ringing_control.h"
#include "tools/ring/headless_ringer.h"

namespace clangor::bench {

inline ring::RingPlan TouchPlan(const Method* method, long changes) {
  ring::RingPlan plan;
  plan.actionAtRounds = 0;          // ring on at rounds
  plan.roundsRows = changes + 1;    // the first row published is the one the touch starts from
  plan.begin = [method](RingingControl& control, int) {
    control.RingTouch(method);
    return true;
  };
  return plan;
}

}  // namespace clangor::bench
