// How many rows per second the change generator produces through NextStrike
// on twelve bells, asked in striking order as the striking clock asks.
#include <chrono>
#include <cstdio>

#include "ringing/change_generator.h"
#include "ringing/event_log.h"
#include "ringing/ideal_striking.h"
#include "ringing/memory_settings.h"
#include "ringing/method.h"

namespace {

struct Scenario {
  const char* name;
  clangor::Method method;
};

double RowsPerSecond(const clangor::Method& method, long rows) {
  clangor::MemorySettings settings;
  settings.SetInt(clangor::setting::ActionAtRounds, 0);  // ring on through rounds
  clangor::EventLog log(/*silent=*/true);
  clangor::ChangeGenerator generator(12, &log, &settings);
  generator.SetMethod(&method);
  clangor::IdealStriking striking(generator);
  const auto start = std::chrono::steady_clock::now();
  for (long blow = 0; blow < rows * 12; ++blow) striking.Strike();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  return static_cast<double>(rows) / elapsed.count();
}

}  // namespace

int main() {
  const Scenario scenarios[] = {
      {"Plain Bob Maximus", {12, "Plain Bob", "|2|&-1T-1T-1T-1T-1T-1T,|4|234"}},
      {"Cambridge Surprise Maximus", {12, "Cambridge Surprise", "|2|&-3T-14-125T-36-147T-58-169T-70-18-9T-10-ET,|4|234"}},
  };
  const long rows = 2000000;
  for (const Scenario& s : scenarios)
    std::printf("%-28s %12.0f rows/s through NextStrike (12 bells, %ld rows)\n", s.name, RowsPerSecond(s.method, rows), rows);
  return 0;
}
