// clangor-ring library --data DIR list
// clangor-ring composition --data DIR --name "NAME" [--bells N] [--method "TITLE"]
// clangor-ring method --data DIR --title "TITLE" [--bells N] [--calls LETTERS]
// clangor-ring sequence --data DIR --name "NAME" --bells N
#include "tools/ring/library_commands.h"

#include <iostream>

#include "library/library.h"
#include "ringing/change_generator.h"
#include "ringing/memory_settings.h"
#include "tools/ring/arguments.h"
#include "tools/ring/touch_runner.h"

namespace clangor::ring {

namespace {

void NoPositional(const Arguments& arguments, std::size_t allowed = 0) {
  if (arguments.positional().size() > allowed) {
    throw UsageError("unexpected argument \"" + arguments.positional()[allowed] + "\"");
  }
}

// Reads the library of the data folder named by --data, as the simulator
// does at start-up (never from the defaults).
void Load(const Arguments& arguments, Library& library) {
  MemorySettings settings;
  library.LoadLibrary(arguments.Required("data"), &settings);
}

std::bitset<MaxStage + 1> AllStages() {
  std::bitset<MaxStage + 1> stages;
  for (int stage = MinStage; stage <= MaxStage; ++stage) stages.set(static_cast<std::size_t>(stage));
  return stages;
}

}  // namespace

int RunLibrary(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"data"}, {});
  NoPositional(arguments, 1);
  if (arguments.positional().empty() || arguments.positional()[0] != "list") {
    throw UsageError("library takes the action \"list\"");
  }
  Library library;
  Load(arguments, library);
  for (int stage = MinStage; stage <= MaxStage; ++stage) {
    for (const auto& method : library.Methods(stage)) {
      std::cout << stage << "\tmethod\t" << method->Title() << "\t\n";
    }
  }
  for (const auto& composition : library.compositions()) {
    const auto methods = composition->Methods();
    int stage = methods.empty() ? 0 : methods.front()->stage;
    for (int s = MinStage; stage == 0 && s <= MaxStage; ++s) {
      if (composition->stages.test(static_cast<std::size_t>(s))) stage = s;
    }
    std::cout << stage << "\tcomposition " << composition->kind << "\t" << composition->name << "\t"
              << composition->length << "\n";
  }
  for (int stage = MinStage; stage <= MaxStage; ++stage) {
    for (const auto& sequence : library.Sequences(stage)) {
      std::cout << stage << "\tsequence\t" << sequence->name << "\t\n";
    }
  }
  return 0;
}

int RunComposition(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"data", "name", "bells", "method"}, {});
  NoPositional(arguments);
  Library library;
  Load(arguments, library);
  const std::string name = arguments.Required("name");
  const Method* method = nullptr;
  if (const auto title = arguments.Value("method")) {
    method = library.FindMethod(*title, AllStages());
    if (method == nullptr) {
      std::cerr << "clangor-ring: no method titled \"" << *title << "\"\n";
      return 1;
    }
  }
  // Several compositions may share a name (one per method): the one that
  // may be rung with the method given, else the first of that name.
  Composition* composition = nullptr;
  for (const auto& candidate : library.compositions()) {
    if (candidate->name != name) continue;
    if (method != nullptr && !candidate->AppliesTo(*method)) continue;
    composition = candidate.get();
    break;
  }
  if (composition == nullptr) {
    std::cerr << "clangor-ring: no composition named \"" << name << "\"" << (method ? " for that method" : "") << "\n";
    return 1;
  }
  if (method == nullptr) method = composition->FirstMethod();
  if (method == nullptr) {
    std::cerr << "clangor-ring: give the method to ring \"" << name << "\" with (--method)\n";
    return 1;
  }
  TouchOptions options;
  options.bells = arguments.Number("bells", method->stage, MaxBells, method->stage);
  return RingTouch(
      options,
      [&](ChangeGenerator& generator) {
        generator.SetComposition(composition);
        generator.SetMethod(method);
      },
      std::cout, std::cerr);
}

int RunMethod(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"data", "title", "bells", "calls"}, {});
  NoPositional(arguments);
  Library library;
  Load(arguments, library);
  const std::string title = arguments.Required("title");
  const Method* method = library.FindMethod(title, AllStages());
  if (method == nullptr) {
    std::cerr << "clangor-ring: no method titled \"" << title << "\"\n";
    return 1;
  }
  TouchOptions options;
  options.bells = arguments.Number("bells", method->stage, MaxBells, method->stage);
  options.calls = arguments.Value("calls").value_or("");
  CheckCallLetters(options.calls);
  return RingTouch(options, [&](ChangeGenerator& generator) { generator.SetMethod(method); }, std::cout, std::cerr);
}

int RunSequence(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"data", "name", "bells"}, {});
  NoPositional(arguments);
  Library library;
  Load(arguments, library);
  const std::string name = arguments.Required("name");
  const int bells = arguments.Number("bells", MinStage, MaxBells, 0);
  if (bells == 0) throw UsageError("option --bells is required");
  const CallChangeSequence* sequence = library.FindSequence(name, bells);
  if (sequence == nullptr) {
    std::cerr << "clangor-ring: no call-change sequence \"" << name << "\" on " << bells << " bells\n";
    return 1;
  }
  TouchOptions options;
  options.bells = bells;
  return RingTouch(options, [&](ChangeGenerator& generator) { generator.SetSequence(sequence); }, std::cout,
                   std::cerr);
}

}  // namespace clangor::ring
