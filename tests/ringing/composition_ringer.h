// Rings a composition through the change generator, at ideal striking,
// from rounds until the touch stops at rounds (or a cap of rows), for the
// composition tests.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "ringing/change_generator.h"
#include "ringing/composition.h"
#include "ringing/event_log.h"
#include "ringing/ideal_striking.h"
#include "ringing/memory_settings.h"
#include "ringing/method.h"

namespace clangor::testing {

struct RungTouch {
  std::vector<std::string> rows;    // every changed row, the final rounds included
  std::vector<std::string> loaded;  // titles loaded at lead ends and half leads (event 7)
  std::vector<char> calls;          // letters of the calls made (event 3), plain leads left out
  bool cameRound = false;           // stopped holding rounds
};

inline RungTouch Ring(Composition& composition, const Method* method, int bells, long maxRows = 20000) {
  MemorySettings settings;
  EventLog log;
  ChangeGenerator generator(bells, &log, &settings);
  generator.SetComposition(&composition);
  generator.SetMethod(method);
  IdealStriking striking(generator);
  RungTouch touch;
  const std::string rounds = RowText(Rounds(bells));
  long quietRows = 0;
  while (static_cast<long>(touch.rows.size()) < maxRows && quietRows < 1000) {
    striking.Strike();
    for (const EngineEvent& e : log.Take()) {
      if (e.code == event::TouchLoaded) touch.loaded.push_back(e.text);
      if (e.code == event::CallMade && e.values[0] != 'p') touch.calls.push_back(static_cast<char>(e.values[0]));
      if (e.code != event::RowRung) continue;
      if (touch.rows.empty() && e.text == rounds) {
        ++quietRows;
        continue;
      }
      touch.rows.push_back(e.text);
      if (e.text == rounds && generator.holding()) {
        touch.cameRound = true;
        return touch;
      }
    }
  }
  return touch;
}

// True when no row but the last (the rounds the touch ends with) comes twice.
inline bool IsTrue(const std::vector<std::string>& rows) {
  std::set<std::string> seen;
  for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
    if (!seen.insert(rows[i]).second) return false;
  }
  return true;
}

}  // namespace clangor::testing
