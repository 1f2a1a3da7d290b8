// The library keeps each stage's methods and sequences most recently rung
// first; the generator tells it what it loads through this.
#pragma once

namespace clangor {

struct Method;
struct CallChangeSequence;

class UsageOrder {
 public:
  virtual ~UsageOrder() = default;
  // Move the record to the front of its stage's list. The record is one the
  // library owns; a record it does not hold is ignored.
  virtual void MethodRung(const Method& method) = 0;
  virtual void SequenceRung(const CallChangeSequence& sequence) = 0;
};

}  // namespace clangor
