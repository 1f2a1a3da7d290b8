// clangor-ring rows --stage S --line "LINE" [--bells N] [--calls LETTERS] [--whole-pull]
#include <iostream>

#include "ringing/bells.h"
#include "ringing/change_generator.h"
#include "ringing/method.h"
#include "tools/ring/arguments.h"
#include "tools/ring/commands.h"
#include "tools/ring/touch_runner.h"

namespace clangor::ring {

int RunRows(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"stage", "line", "bells", "calls"}, {"whole-pull"});
  if (!arguments.positional().empty()) throw UsageError("unexpected argument \"" + arguments.positional()[0] + "\"");
  Method method;
  method.stage = arguments.Number("stage", MinStage, MaxStage, 0);
  if (method.stage == 0) throw UsageError("option --stage is required");
  method.name = "Line";
  method.line = arguments.Required("line");

  TouchOptions options;
  options.bells = arguments.Number("bells", method.stage, MaxBells, method.stage);
  options.wholePull = arguments.Flag("whole-pull");
  options.calls = arguments.Value("calls").value_or("");
  CheckCallLetters(options.calls);
  return RingTouch(options, [&](ChangeGenerator& generator) { generator.SetMethod(&method); }, std::cout, std::cerr);
}

}  // namespace clangor::ring
