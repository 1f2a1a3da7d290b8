// The composition record: which method each lead, which call at each marker,
// how many parts, how often to keep going, the observation bell; and, while
// it is rung, the reading position that answers the change generator.
#pragma once

#include <bitset>
#include <map>
#include <string>
#include <vector>

#include "ringing/bells.h"
#include "ringing/composition_headings.h"
#include "ringing/composition_reader.h"
#include "ringing/composition_source.h"

namespace clangor {

struct Method;

// Labels the composition gives itself for method entries without one; they
// are never written to the library file.
inline constexpr std::string_view AutomaticLabelPrefix = "ZQXJ";

// One "Method=" (or "Exclude=") entry, split.
struct MethodEntry {
  std::string title;
  std::string label;          // as given, or an automatic label
  bool automaticLabel = false;
  int length = 0;             // a length given instead of a label; 0 = none
  std::string specialCalls;   // replaces the calls area of the method's line
  const Method* method = nullptr;  // none when the title is not in the library
};

// Standard headings: identifier (a method title, a stage number or any name)
// -> headings text.
using StandardHeadings = std::map<std::string, std::string>;

struct Composition : CompositionSource {
  std::bitset<MaxStage + 1> stages;  // bit s: may be rung at stage s ("Bells")
  std::string name;
  std::string composer;
  std::string source;
  std::string headings;
  int leadsPerCourse = 0;
  int length = 0;
  int keepGoing = 0;
  std::string defaultCallMarkers = "|";
  int parts = 1;  // -1 = repeat until the touch comes round
  std::vector<std::string> lines;
  std::vector<std::string> methodEntries;  // raw values as read or edited
  std::vector<std::string> notes;
  int firstLine = 0;
  int lastLine = -1;
  std::vector<MethodEntry> entries;  // split method entries, in the order given
  std::map<std::string, const Method*> labelToMethod;
  std::map<const Method*, std::string> specialCalls;
  std::map<const Method*, int> methodLength;
  int labelLength = 0;  // common length of the labels; -1 when they differ
  bool exclude = false;
  bool halfLeadSplicing = false;
  int observation = -1;      // the observation bell, 0-based ("Observation" less 1); -1 = none
  int observationBell = -1;  // the bell watched, fixed when the touch starts
  int kind = 0;
  const StandardHeadings* standardHeadings = nullptr;  // the library's, not owned

  // The methods of the entries that resolved, in entry order.
  std::vector<const Method*> Methods() const;
  // True when the composition may be rung with this method: its stage is
  // flagged, and it is among the entries (or not among them, for an
  // exclusion list; any method when there are no entries).
  bool AppliesTo(const Method& method) const;
  // The method of the first label in the calling, else of the only entry;
  // the method a spliced touch starts with. None when there is no such method.
  const Method* FirstMethod() const;
  // The headings text in force: named standard headings, the special
  // headings, or the standard headings of the method or stage.
  std::string HeadingsInForce(int stage) const;

  // CompositionSource: the questions of the change generator.
  const Method* NextMethod(bool atHalfLead) override;
  char CallAt(const Row& row, char marker, const CallTable& calls) override;
  void SectionEnded(const Row& row) override;
  void Restart(const Method* method, const Row& row) override;
  int KeepGoing() const override { return keepGoing; }
  const std::string& DefaultCallMarkers() const override { return defaultCallMarkers; }
  bool ObservationFixed() const override { return observationBell >= 0; }
  std::string SpecialCalls(const Method& method) const override;

 private:
  bool IsDefaultMarker(char marker) const;
  CompositionReader::Setup ReaderSetup(int stage, int bells);
  // Takes the front call when it can be made at this marker (at `onlyAt`
  // when the calling position restricts it); its letter, or 0.
  char TakeIfCallable(char marker, const CallTable& calls, char onlyAt);
  char TableCallAt(const Row& row, char marker, const CallTable& calls);
  int ObservationPosition(const Row& row) const;  // 1-based; 0 when unknown
  // The calling position of the column the item stands in; `tied` is false
  // when the table names no calling positions.
  CallingPosition PositionOf(const CallItem& item, bool* tied) const;
  void EndCourse();

  // The reading position and what it was started with.
  CompositionReader reader_;
  HeadingMap headingMap_;
  std::vector<HeaderColumn> columns_;
  int bells_ = 0;
  int homePosition_ = 0;   // the course end of a table without leads per course
  int courseOpen_ = -1;    // the course (line) of the table being rung; -1 = between courses
  int leadsInCourse_ = 0;  // default-marker leads rung in this course
};

}  // namespace clangor
