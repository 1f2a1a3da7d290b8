// An owner for a change generator run without an engine: it keeps every
// event posted, for the headless ringer and the tests.
#pragma once

#include <utility>
#include <vector>

#include "ringing/generator_owner.h"

namespace clangor {

class EventLog : public GeneratorOwner {
 public:
  explicit EventLog(bool silent = false) : silent_(silent) {}

  void PostEvent(EngineEvent event) override { events_.push_back(std::move(event)); }
  bool IsSilent() const override { return silent_; }

  // The events posted since the last call.
  std::vector<EngineEvent> Take() { return std::exchange(events_, {}); }
  const std::vector<EngineEvent>& events() const { return events_; }

 private:
  bool silent_;
  std::vector<EngineEvent> events_;
};

}  // namespace clangor
