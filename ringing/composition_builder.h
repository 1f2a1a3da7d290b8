// Building a composition from the values of one library record (or of the
// composition editor), and splitting a method entry.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ringing/composition.h"

namespace clangor {

// The values of one composition record, as read: text as it stands,
// integers still as text. Absent keys keep these defaults.
struct CompositionFields {
  std::string name, composer, source;
  std::string bells;  // stages, separated by "," or blanks
  std::string length, leadsPerCourse, keepGoing, observation;
  std::string parts = "1";
  std::string halfLeadSplicing;  // "Yes" turns it on
  std::string defaultCallMarkers = "|";
  std::string headings;
  std::vector<std::string> methods;  // "Method=" or "Exclude=" values
  bool exclude = false;              // any "Exclude=" line
  std::vector<std::string> lines;
  std::vector<std::string> notes;
};

// Where a composition finds its methods by title.
class MethodFinder {
 public:
  virtual ~MethodFinder() = default;
  // The method with that title at one of the flagged stages, or none.
  virtual const Method* FindMethod(const std::string& title, const std::bitset<MaxStage + 1>& stages) const = 0;
};

// The integer value of a text as the files hold it: optional blanks and
// sign, then leading digits; 0 when there are none.
int ReadInteger(std::string_view text);

// The stages of a "Bells" value: every number 3..18 between "," and blanks.
std::bitset<MaxStage + 1> ReadStages(std::string_view text);

// Splits a method entry: title, then ":" and a label or a length, then ","
// and the special calls. The method stays unresolved.
MethodEntry SplitMethodEntry(std::string_view value);

// Builds the record; none when it has no lines. `finder` resolves the
// titles (none: every label stays unresolved); `standardHeadings` is kept
// for resolving the headings when the composition is rung.
std::unique_ptr<Composition> BuildComposition(const CompositionFields& fields, const MethodFinder* finder,
                                              const StandardHeadings* standardHeadings);

}  // namespace clangor
