#include "tools/ring/touch_runner.h"

#include <ostream>
#include <vector>

#include "ringing/change_generator.h"
#include "ringing/event_log.h"
#include "ringing/touch_rows.h"
#include "ringing/memory_settings.h"
#include "tools/ring/arguments.h"
#include "ringing/lead_calls.h"

namespace clangor::ring {


void CheckCallLetters(const std::string& letters) {
  for (const char c : letters)
    if (c != '-' && (c < 'a' || c > 'z'))
      throw UsageError(std::string("--calls takes call letters a-z or \"-\", not \"") + c + "\"");
}

int RingTouch(const TouchOptions& options, const std::function<void(ChangeGenerator&)>& start, std::ostream& out,
              std::ostream& err) {
  MemorySettings settings;
  settings.SetTowerInt(tower_setting::WholePullChanges, options.wholePull ? 1 : 0);
  EventLog owner;
  ChangeGenerator generator(options.bells, &owner, &settings);
  LeadCalls calls(options.calls);
  if (!options.calls.empty()) generator.SetComposition(&calls);
  start(generator);

  const TouchEnd end = RingUntilRound(generator, owner, options.maxRows,
                                      [&](const std::string& row) { out << row << '\n'; });
  switch (end) {
    case TouchEnd::CameRound:
      return 0;
    case TouchEnd::TooLong:
      err << "clangor-ring: the touch did not come round in " << options.maxRows << " rows\n";
      return 1;
    case TouchEnd::NoChanges:
      err << "clangor-ring: the touch rings no changes\n";
      return 1;
  }
  return 1;
}

}  // namespace clangor::ring
