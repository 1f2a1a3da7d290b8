// What the ropes window reads of the engine: each bell's swing (from the
// record that rings it now), the bells in play, and the row being rung.
#pragma once

#include "views/ropesight.h"

namespace clangor {

class TowerWindow;

// The engine's state now. Worker thread only (inside a call the engine
// makes to its ropes view), where the bells' swings are written.
RingingSnapshot ReadRingingSnapshot(TowerWindow& engine);

}  // namespace clangor
