#include "views/ropes_feed.h"

#include "engine/tower_window.h"
#include "views/ropes_content.h"
#include "views/ropes_snapshot.h"

namespace clangor {

void RopesFeed::noteStruck(int bell) {
  TowerWindow* engine = engine_;
  if (engine == nullptr) return;
  content_.UpdateOnBlow(bell, false, ReadRingingSnapshot(*engine));
}

void RopesFeed::shiftTime(double seconds) { content_.ShiftTime(seconds); }

void RopesFeed::reset() {
  if (TowerWindow* engine = engine_) content_.StartRinging(ReadRingingSnapshot(*engine));
}

// The own rope stays chosen; the ids follow the bells now in play.
void RopesFeed::bellsChanged(bool refresh) {
  TowerWindow* engine = engine_;
  if (engine == nullptr) return;
  std::vector<bool> inPlay;
  for (int b = 0; b < engine->bellCount(); ++b) inPlay.push_back(engine->IsBellInPlay(b));
  content_.SetBellsInPlay(inPlay);
  if (refresh) content_.Relayout();
}

}  // namespace clangor
