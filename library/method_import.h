// Methods of a collection file made into the library's method records, and
// added to a library: a title the library holds is skipped, and a method
// that cannot be kept is refused with its reason.
#pragma once

#include <string>
#include <vector>

#include "library/method_collection.h"
#include "ringing/method.h"

namespace clangor {

class Library;

struct ImportCandidate {
  std::string title;    // the library's title; the collection's when refused
  Method method;        // what is added (stage, name and line) when not refused
  std::string refusal;  // why it cannot be added; empty when it can
};

// Each method of the collection, in file order. `withCalls` gives each line
// the standard Bob and Single of its lead-end group.
std::vector<ImportCandidate> PrepareImport(const std::vector<CollectedMethod>& methods, bool withCalls);

// Chooses candidates: `stage` 0 for every stage; `match` a text the title
// holds, in any case (empty for all).
struct ImportFilter {
  int stage = 0;
  std::string match;
  bool Chooses(const ImportCandidate& candidate) const;
};

struct ImportReport {
  struct Refusal {
    std::string title, reason;
  };
  int added = 0;
  int skipped = 0;  // titles the library already held
  std::vector<Refusal> refused;
};

// True when the library holds a method of the candidate's title at its stage.
bool LibraryHolds(const Library& library, const ImportCandidate& candidate);

// Adds the candidates the library lacks, in order, at the end of their
// stages' lists; writes nothing.
ImportReport AddToLibrary(Library& library, const std::vector<ImportCandidate>& candidates);

// AddToLibrary, then the methods file written once (when anything was
// added). False when it could not be written: the methods added are then
// taken out again, so the library in memory is the one on disk.
bool ImportIntoLibrary(Library& library, const std::vector<ImportCandidate>& candidates, ImportReport* report);

}  // namespace clangor
