// clangor-ring import --data DIR FILE.xml [--stage S] [--match TEXT] [--with-calls]
#include <filesystem>
#include <iostream>

#include "library/library.h"
#include "library/method_import.h"
#include "ringing/memory_settings.h"
#include "tools/ring/arguments.h"
#include "tools/ring/library_commands.h"

namespace clangor::ring {

int RunImport(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"data", "stage", "match"}, {"with-calls"});
  if (arguments.positional().size() != 1) throw UsageError("import takes one collection file");
  const std::string file = arguments.positional()[0];
  const std::string data = arguments.Required("data");
  ImportFilter filter;
  filter.stage = arguments.Number("stage", MinStage, MaxStage, 0);
  filter.match = arguments.Value("match").value_or("");

  const MethodCollection collection = ReadMethodCollectionFile(file);
  if (!collection.error.empty()) {
    std::cerr << "clangor-ring: " << file << ": " << collection.error << "\n";
    return 1;
  }
  // The user's own library; the defaults are never written. A data folder
  // without a library of its own rings the defaults (as every other command
  // reads it), so the import starts from them and writes all three files:
  // writing the imported methods alone would hide the default methods,
  // compositions and call changes from then on.
  const bool ownLibrary = std::filesystem::exists(std::filesystem::path(data) / LibraryFolder / MethodsFile);
  Library library;
  MemorySettings settings;
  if (!ownLibrary) settings.SetInt(setting::LoadFromDefaults, 1);
  library.LoadLibrary(data, &settings);

  std::vector<ImportCandidate> chosen;
  for (ImportCandidate& candidate : PrepareImport(collection.methods, arguments.Flag("with-calls"))) {
    if (filter.Chooses(candidate)) chosen.push_back(std::move(candidate));
  }
  ImportReport report;
  bool saved = ImportIntoLibrary(library, chosen, &report);
  std::cout << "added " << report.added << ", skipped " << report.skipped << ", refused " << report.refused.size()
            << "\n";
  for (const auto& refusal : report.refused)
    std::cout << "refused \"" << refusal.title << "\": " << refusal.reason << "\n";
  if (saved && !ownLibrary && report.added > 0)
    saved = library.SaveCompositions() && library.SaveCallChangeSequences();
  if (!saved) {
    std::cerr << "clangor-ring: the library's methods could not be written to " << library.folder().string()
              << "; it is as it was\n";
    return 1;
  }
  return 0;
}

}  // namespace clangor::ring
