// A method collection file read, its methods made into library lines and
// added to a library, which is written and read again: every method added
// must come back with its title and line.
#include <sstream>

#include "fuzz/fuzz_input.h"
#include "library/library.h"
#include "library/method_collection.h"
#include "library/method_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const clangor::MethodCollection collection = clangor::ReadMethodCollection(clangor::fuzz::Text(data, size));
  clangor::Library library;
  const auto candidates = clangor::PrepareImport(collection.methods, size % 2 == 0);
  const clangor::ImportReport report = clangor::AddToLibrary(library, candidates);
  clangor::Library again;
  std::istringstream back(library.MethodsText());
  again.ReadMethods(back);
  int read = 0;
  for (int stage = clangor::MinStage; stage <= clangor::MaxStage; ++stage) {
    const auto& added = library.Methods(stage);
    const auto& readBack = again.Methods(stage);
    if (added.size() != readBack.size()) __builtin_trap();
    for (std::size_t i = 0; i < added.size(); ++i) {
      if (added[i]->Title() != readBack[i]->Title() || added[i]->line != readBack[i]->line) __builtin_trap();
    }
    read += static_cast<int>(readBack.size());
  }
  if (read != report.added) __builtin_trap();
  return 0;
}
