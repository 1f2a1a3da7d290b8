#include "ringing/lead_calls.h"

#include "ringing/call_table.h"

namespace clangor {

const Method* LeadCalls::NextMethod(bool atHalfLead) {
  if (!atHalfLead) {
    ++lead_;
    called_ = false;
  }
  return nullptr;
}

char LeadCalls::CallAt(const Row&, char marker, const CallTable& calls) {
  if (called_ || lead_ >= letters_.size()) return 'p';
  const char letter = letters_[lead_];
  if (!calls.CanCall(letter, marker)) return 'p';
  called_ = true;
  return letter;
}

void LeadCalls::Restart(const Method*, const Row&) {
  lead_ = 0;
  called_ = false;
}

}  // namespace clangor
