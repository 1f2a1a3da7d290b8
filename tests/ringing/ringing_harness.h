// Rings methods and sequences for the tests, at ideal striking.
#pragma once

#include <string>
#include <vector>

#include "ringing/call_change_sequence.h"
#include "ringing/change_generator.h"
#include "ringing/event_log.h"
#include "ringing/ideal_striking.h"
#include "ringing/lead_calls.h"
#include "ringing/memory_settings.h"
#include "ringing/method.h"
#include "ringing/touch_rows.h"

namespace clangor::testing {

struct Touch {
  std::vector<std::string> rows;  // from the first changed row to the rounds it comes round at
  TouchEnd end = TouchEnd::NoChanges;
};

// Rings `line` at `stage` on `bells` bells (the stage when 0) with one call
// letter per lead, until it comes round or `maxRows` rows.
inline Touch RingLine(const std::string& line, int stage, const std::string& calls = "", long maxRows = 20000,
                      int bells = 0) {
  Method method{stage, "Test", line};
  MemorySettings settings;
  EventLog log;
  ChangeGenerator generator(bells > 0 ? bells : stage, &log, &settings);
  LeadCalls leadCalls(calls);
  if (!calls.empty()) generator.SetComposition(&leadCalls);
  generator.SetMethod(&method);
  Touch touch;
  touch.end = RingUntilRound(generator, log, maxRows, [&](const std::string& row) { touch.rows.push_back(row); });
  return touch;
}

// Strikes `blows` blows of a generator at ideal striking and returns what it posted.
inline std::vector<EngineEvent> StrikeBlows(EventLog& log, IdealStriking& striking, int blows) {
  std::vector<EngineEvent> events;
  for (int i = 0; i < blows; ++i) {
    striking.Strike();
    for (auto& e : log.Take()) events.push_back(std::move(e));
  }
  return events;
}

inline std::vector<std::string> RowsOf(const std::vector<EngineEvent>& events) {
  std::vector<std::string> rows;
  for (const auto& e : events)
    if (e.code == event::RowRung) rows.push_back(e.text);
  return rows;
}

}  // namespace clangor::testing
