#include "engine/engine_event_queue.h"

namespace clangor {

void EngineEventQueue::Post(EngineEvent event) {
  std::lock_guard lock(lock_);
  events_.push_back(std::move(event));
}

void EngineEventQueue::Post(std::vector<EngineEvent>& events) {
  if (events.empty()) return;
  {
    std::lock_guard lock(lock_);
    for (auto& e : events) events_.push_back(std::move(e));
  }
  events.clear();
}

std::vector<EngineEvent> EngineEventQueue::Drain() {
  std::lock_guard lock(lock_);
  std::vector<EngineEvent> taken(std::make_move_iterator(events_.begin()), std::make_move_iterator(events_.end()));
  events_.clear();
  return taken;
}

std::size_t EngineEventQueue::Size() const {
  std::lock_guard lock(lock_);
  return events_.size();
}

}  // namespace clangor
