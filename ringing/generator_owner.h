// What the change generator needs of the engine that owns it.
#pragma once

#include "ringing/engine_event.h"

namespace clangor {

class GeneratorOwner {
 public:
  virtual ~GeneratorOwner() = default;
  // Appends an event to the owner's queue. Called on the striking thread.
  virtual void PostEvent(EngineEvent event) = 0;
  // A silent owner gets no events from the generator but event 9.
  virtual bool IsSilent() const = 0;
};

}  // namespace clangor
