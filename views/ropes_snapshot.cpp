#include "views/ropes_snapshot.h"

#include "engine/ringing_state.h"
#include "engine/tower_window.h"
#include "ringing/change_generator.h"

namespace clangor {

RingingSnapshot ReadRingingSnapshot(TowerWindow& engine) {
  RingingSnapshot s;
  const int n = engine.bellCount();
  s.bells.resize(static_cast<std::size_t>(n));
  int id = 0;
  for (int i = 0; i < n; ++i) {
    RopeBellState& b = s.bells[static_cast<std::size_t>(i)];
    const Bell* record = engine.WorkerSwingOf(i);
    if (record == nullptr) continue;
    const SwingState& swing = record->state();
    b.exists = true;
    b.inPlay = engine.IsBellInPlay(i);
    b.id = b.inPlay ? id++ : -1;
    b.up = !swing.stood || record->isUp();
    b.angle = swing.angle;
    b.anticlockwise = !swing.turningClockwise;
    b.struckHandstroke = !swing.handstrokeNext;
    b.time = swing.time;
    b.prevMove = swing.prevTiming;
    b.nextMove = swing.nextTiming;
    b.wheelRadius = record->data().wheelRadius;
  }
  engine.WithTouch([&s](ChangeGenerator* touch) {
    if (touch == nullptr) return;
    s.rowBells = touch->bellCount();
    s.row = touch->currentRow();
  });
  const RingingState& r = Ringing();
  s.rowBlows = r.rowBlows;
  s.blowInterval = r.blowInterval;
  return s;
}

}  // namespace clangor
