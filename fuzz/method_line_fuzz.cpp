// A method line through the change generator for a few hundred changes: the
// first byte picks the stage, the rest is the line.
#include "fuzz/fuzz_input.h"
#include "ringing/bells.h"
#include "ringing/change_generator.h"
#include "ringing/event_log.h"
#include "ringing/ideal_striking.h"
#include "ringing/memory_settings.h"
#include "ringing/method.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace clangor;
  if (size < 1) return 0;
  const int stage = MinStage + data[0] % (MaxStage - MinStage + 1);
  const Method method{stage, "Fuzzed", fuzz::Text(data + 1, size - 1)};
  MemorySettings settings;
  EventLog log;
  ChangeGenerator generator(stage, &log, &settings);
  generator.SetMethod(&method);
  IdealStriking striking(generator);
  for (int change = 0; change < 300; ++change) {
    striking.Strike();
    log.Take();
  }
  return 0;
}
