// The queue of engine events: appended by the worker thread (and by ringing
// control for what the generator answers on the user-interface thread),
// drained by the user-interface thread. Its own lock guards the queue only.
#pragma once

#include <deque>
#include <mutex>
#include <vector>

#include "ringing/engine_event.h"

namespace clangor {

class EngineEventQueue {
 public:
  // Appends one event. Any thread.
  void Post(EngineEvent event);
  void Post(std::vector<EngineEvent>& events);
  // Takes every waiting event, oldest first. Any thread (the owner's).
  std::vector<EngineEvent> Drain();
  std::size_t Size() const;

 private:
  mutable std::mutex lock_;
  std::deque<EngineEvent> events_;
};

}  // namespace clangor
