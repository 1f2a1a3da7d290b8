// What the change generator asks of the composition it rings: which method
// each lead, which call at each marker. The composition record implements it.
#pragma once

#include <string>

#include "ringing/row.h"

namespace clangor {

struct Method;
class CallTable;

class CompositionSource {
 public:
  virtual ~CompositionSource() = default;

  // Asked at every lead end (false) and half-lead point (true) while not in
  // rounds. None keeps the current method.
  virtual const Method* NextMethod(bool atHalfLead) = 0;
  // The call letter for this marker, or 0. `calls` is the generator's call
  // table, for CanCall.
  virtual char CallAt(const Row& row, char marker, const CallTable& calls) = 0;
  // A call section ended; the composition may fix its observation bell.
  virtual void SectionEnded(const Row& row) = 0;
  // Start again from the beginning, ringing `method` from `row` (rounds).
  virtual void Restart(const Method* method, const Row& row) = 0;

  virtual int KeepGoing() const = 0;
  virtual const std::string& DefaultCallMarkers() const = 0;
  // True once the observation bell has been fixed while ringing.
  virtual bool ObservationFixed() const = 0;
  // The calls area given with this method in the composition, replacing the
  // one in the method's line; empty when none.
  virtual std::string SpecialCalls(const Method& method) const = 0;
};

}  // namespace clangor
