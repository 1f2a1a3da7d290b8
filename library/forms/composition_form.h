// The composition editor and its method entry dialog without a window: the
// fields as typed, the checks made before a change is accepted, and the
// record's values built from them.
#pragma once

#include <string>
#include <vector>

#include "library/forms/complaint.h"
#include "ringing/composition_builder.h"

namespace clangor {

class Library;

namespace composition_field {
inline constexpr int Name = 1075;
inline constexpr int Bells = 1081;
inline constexpr int Length = 1082;
inline constexpr int Entries = 1071;
inline constexpr int Exclude = 1085;
inline constexpr int HalfLeadSplicing = 1086;
inline constexpr int CallMarkers = 1087;
inline constexpr int LeadsPerCourse = 1089;
inline constexpr int Lines = 1090;
inline constexpr int Parts = 1091;
inline constexpr int KeepGoing = 1092;
inline constexpr int Observation = 1093;
inline constexpr int Notes = 1094;
inline constexpr int StandardHeadings = 1103;
inline constexpr int SpecialHeadings = 1105;
inline constexpr int Composer = 1083;
inline constexpr int Source = 1084;
inline constexpr int EntryName = 1076;
inline constexpr int EntryLabel = 1077;
inline constexpr int EntryLength = 1078;
inline constexpr int EntryCalls = 1079;
}  // namespace composition_field

// The longest line of the composition or of its notes: with "Line=" or
// "Note=" in front, the longest line the library reader reads back.
inline constexpr int LongestCompositionLine = LongestLibraryLine - 5;
// At most this many characters are read from the special calls field.
inline constexpr int SpecialCallsLength = 101;

// One method entry as the editor lists it.
struct EntryFields {
  std::string title, label, length, specialCalls;
  bool operator==(const EntryFields&) const = default;
};

// The composition editor's fields as typed.
struct CompositionForm {
  std::string name, bells, length;
  std::string parts, lines, leadsPerCourse, callMarkers, keepGoing, observation;
  bool halfLeadSplicing = false;
  std::vector<EntryFields> entries;
  bool exclude = false;
  std::string standardHeadings, specialHeadings;
  std::string composer, source, notes;
};

CompositionForm FormOf(const Composition& composition);

// The composition editor's OK: the first check that fails.
Verdict CheckComposition(const CompositionForm& form);

// The values of the record the form stands for.
CompositionFields FieldsOf(const CompositionForm& form);

// The method entry as the file holds it ("title:label,calls").
std::string EntryValue(const EntryFields& entry);

// The method entry dialog's OK. `others` are the composition's other
// entries; `bells` the composition's "Bells" field.
Verdict CheckEntry(const EntryFields& entry, const std::vector<EntryFields>& others, const std::string& bells,
                   const Library& library);

// True when the "Bells" field is bell numbers separated by commas.
bool BellsReadable(const std::string& bells);

}  // namespace clangor
