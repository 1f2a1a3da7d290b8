#include "library/method_import.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <set>
#include <utility>

#include "library/library.h"
#include "library/library_lines.h"
#include "library/staged_file.h"
#include "ringing/bells.h"
#include "ringing/collection_method_line.h"
#include "ringing/collection_notation.h"

namespace clangor {

namespace {

// The stage of a collection's <stage> text, or 0 when it is no number.
int StageOf(const std::string& text) {
  if (text.empty() || text.size() > 2 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) return 0;
  return std::stoi(text);
}

// The method's name: the title without its stage name.
std::string NameOf(const std::string& title, int stage) {
  const std::string suffix = " " + StageName(stage);
  if (title.size() > suffix.size() && title.compare(title.size() - suffix.size(), suffix.size(), suffix) == 0)
    return title.substr(0, title.size() - suffix.size());
  return title == StageName(stage) ? std::string() : title;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

ImportCandidate Prepare(const CollectedMethod& collected, bool withCalls) {
  ImportCandidate candidate;
  candidate.title = collected.title;
  auto refuse = [&](std::string reason) {
    candidate.refusal = std::move(reason);
    return candidate;
  };
  if (collected.title.empty()) return refuse("the method has no title");
  const int stage = StageOf(collected.stage);
  if (!IsStage(stage)) {
    return refuse(collected.stage.empty() ? "the method has no stage"
                                          : "stage \"" + collected.stage + "\" is not 3 to 18");
  }
  candidate.method.stage = stage;
  const std::string name = NameOf(collected.title, stage);
  if (name.empty()) return refuse("the title names no method");
  // The library file would read "[" as a section and split the line at "=".
  if (name.front() == '[' || name.find('=') != std::string::npos)
    return refuse("a title with \"=\" or beginning with \"[\" cannot be kept in the library");
  if (collected.notation.empty()) return refuse("the method has no notation");
  const CollectionNotation notation = ReadCollectionNotation(collected.notation, stage);
  if (!notation.error.empty()) return refuse("notation \"" + collected.notation + "\" cannot be read: " + notation.error);
  candidate.method = {stage, name, CollectionMethodLine(notation.lead, stage, withCalls)};
  candidate.title = candidate.method.Title();
  const std::size_t length = name.size() + 1 + candidate.method.line.size();
  if (!FitsStagedLine({stage, name, candidate.method.line})) {
    return refuse("its library line would be " + std::to_string(length) + " characters; a line holds fewer than " +
                  std::to_string(LibraryLineLimit));
  }
  return candidate;
}

}  // namespace

std::vector<ImportCandidate> PrepareImport(const std::vector<CollectedMethod>& methods, bool withCalls) {
  std::vector<ImportCandidate> candidates;
  candidates.reserve(methods.size());
  for (const CollectedMethod& method : methods) candidates.push_back(Prepare(method, withCalls));
  return candidates;
}

bool ImportFilter::Chooses(const ImportCandidate& candidate) const {
  if (stage != 0 && candidate.method.stage != stage) return false;
  return match.empty() || Lower(candidate.title).find(Lower(match)) != std::string::npos;
}

bool LibraryHolds(const Library& library, const ImportCandidate& candidate) {
  std::bitset<MaxStage + 1> stage;
  stage.set(static_cast<std::size_t>(candidate.method.stage));
  return library.FindMethod(candidate.title, stage) != nullptr;
}

ImportReport AddToLibrary(Library& library, const std::vector<ImportCandidate>& candidates) {
  // The titles held, gathered once: a collection holds thousands of methods.
  std::set<std::pair<int, std::string>> held;
  for (int stage = MinStage; stage <= MaxStage; ++stage) {
    for (const auto& method : library.Methods(stage)) held.emplace(stage, method->Title());
  }
  ImportReport report;
  for (const ImportCandidate& candidate : candidates) {
    if (!candidate.refusal.empty()) {
      report.refused.push_back({candidate.title, candidate.refusal});
    } else if (!held.emplace(candidate.method.stage, candidate.title).second) {
      ++report.skipped;
    } else if (library.AddMethod(candidate.method) != nullptr) {
      ++report.added;
    } else {
      report.refused.push_back({candidate.title, "the library cannot hold it"});
    }
  }
  return report;
}

bool ImportIntoLibrary(Library& library, const std::vector<ImportCandidate>& candidates, ImportReport* report) {
  std::array<std::size_t, MaxStage + 1> held{};
  for (int stage = MinStage; stage <= MaxStage; ++stage) held[static_cast<std::size_t>(stage)] = library.Methods(stage).size();
  *report = AddToLibrary(library, candidates);
  if (report->added == 0 || library.SaveMethods()) return true;
  for (int stage = MinStage; stage <= MaxStage; ++stage) library.Methods(stage).resize(held[static_cast<std::size_t>(stage)]);
  return false;
}

}  // namespace clangor
