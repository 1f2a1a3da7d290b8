// A composition's fields and calling lines, built and rung through the change
// generator for a few hundred changes. Lines: bells, parts, leads per course,
// keep going, headings, then the calling.
#include "fuzz/fuzz_input.h"
#include "ringing/change_generator.h"
#include "ringing/composition_builder.h"
#include "ringing/event_log.h"
#include "ringing/ideal_striking.h"
#include "ringing/memory_settings.h"
#include "ringing/method.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace clangor;
  std::vector<std::string> lines = fuzz::Lines(fuzz::Text(data, size));
  if (lines.size() < 6) return 0;
  CompositionFields fields;
  fields.bells = lines[0];
  fields.parts = lines[1];
  fields.leadsPerCourse = lines[2];
  fields.keepGoing = lines[3];
  fields.headings = lines[4];
  fields.lines.assign(lines.begin() + 5, lines.end());
  fields.methods = {"Plain Bob Minor:P", "Cambridge Surprise Minor:C"};
  static const Method plain{6, "Plain Bob", "|12|&-16-16-16,|14|1234"};
  static const Method cambridge{6, "Cambridge Surprise", "|12|&-36-14-12-36-14-56,|14|1234"};
  auto composition = BuildComposition(fields, nullptr, nullptr);
  if (!composition) return 0;
  composition->labelToMethod["P"] = &plain;
  composition->labelToMethod["C"] = &cambridge;
  composition->labelLength = 1;
  MemorySettings settings;
  EventLog log;
  ChangeGenerator generator(6, &log, &settings);
  generator.SetComposition(composition.get());
  generator.SetMethod(&plain);
  IdealStriking striking(generator);
  for (int change = 0; change < 300; ++change) {
    striking.Strike();
    log.Take();
  }
  return 0;
}
