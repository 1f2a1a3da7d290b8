#include "library/forms/composition_form.h"

#include <algorithm>
#include <regex>

#include "library/library.h"
#include "platform/text_lines.h"
#include "ringing/bells.h"
#include "ringing/call_table.h"
#include "ringing/method.h"
#include "ringing/text.h"

namespace clangor {

namespace {

namespace field = composition_field;

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

bool IsNumber(const std::string& text) { return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos; }

bool AnyLonger(const std::vector<std::string>& lines, int limit) {
  for (const std::string& line : lines)
    if (line.size() > static_cast<std::size_t>(limit)) return true;
  return false;
}

bool HeadingPairs(const std::string& text) {
  static const std::regex pairs(R"(\s*([^\s:]+:[|/\\]?[0-9]+\s*)*)");
  return std::regex_match(text, pairs);
}

std::bitset<MaxStage + 1> AllStages() {
  std::bitset<MaxStage + 1> all;
  for (int stage = MinStage; stage <= MaxStage; ++stage) all.set(static_cast<std::size_t>(stage));
  return all;
}

}  // namespace

bool BellsReadable(const std::string& bells) {
  static const std::regex numbers(R"(\s*[0-9]+\s*(,\s*[0-9]+\s*)*)");
  if (!std::regex_match(bells, numbers)) return false;
  return ReadStages(bells).any();
}

CompositionForm FormOf(const Composition& c) {
  CompositionForm form;
  form.name = c.name;
  for (int stage = MinStage; stage <= MaxStage; ++stage)
    if (c.stages.test(static_cast<std::size_t>(stage))) form.bells += (form.bells.empty() ? "" : ",") + std::to_string(stage);
  if (c.length > 0) form.length = std::to_string(c.length);
  if (c.parts != 1) form.parts = std::to_string(c.parts);
  form.lines = Join(c.lines);
  if (c.leadsPerCourse > 0) form.leadsPerCourse = std::to_string(c.leadsPerCourse);
  form.callMarkers = c.defaultCallMarkers;
  if (c.keepGoing > 0) form.keepGoing = std::to_string(c.keepGoing);
  if (c.observation >= 0) form.observation = std::to_string(c.observation + 1);
  form.halfLeadSplicing = c.halfLeadSplicing;
  for (const MethodEntry& entry : c.entries)
    form.entries.push_back({entry.title, entry.automaticLabel ? "" : entry.label,
                            entry.length > 0 ? std::to_string(entry.length) : "", entry.specialCalls});
  form.exclude = c.exclude;
  if (c.standardHeadings != nullptr && c.standardHeadings->count(c.headings) != 0) form.standardHeadings = c.headings;
  else form.specialHeadings = c.headings;
  form.composer = c.composer;
  form.source = c.source;
  form.notes = Join(c.notes);
  return form;
}

std::string EntryValue(const EntryFields& entry) {
  std::string value = entry.title;
  if (!entry.label.empty()) value += ":" + entry.label;
  else if (!entry.length.empty() && entry.length != "0") value += ":" + entry.length;
  if (!entry.specialCalls.empty()) value += "," + entry.specialCalls;
  return value;
}

Verdict CheckComposition(const CompositionForm& form) {
  if (!BellsReadable(form.bells))
    return Complaint{"Enter bell numbers separated by commas", "Incorrect value in Bells field", field::Bells};
  const std::string key = form.exclude ? "Exclude=" : "Method=";
  for (const EntryFields& entry : form.entries)
    if (key.size() + EntryValue(entry).size() > static_cast<std::size_t>(LongestLibraryLine))
      return Complaint{"Consider shortening a name or defining fewer calls", "Method line too long", field::Entries};
  if (!HeadingPairs(form.specialHeadings))
    return Complaint{"Enter heading:position pairs, separated by spaces", "Invalid special headings",
                     field::SpecialHeadings};
  const std::vector<std::string> lines = SplitLines(form.lines);
  if (std::all_of(lines.begin(), lines.end(), [](const std::string& line) { return NormaliseBlanks(line).empty(); }))
    return Complaint{"Compositions cannot be blank", "Empty Composition", field::Lines};
  const std::string observation = NormaliseBlanks(form.observation);
  if (!observation.empty() && (!IsNumber(observation) || std::stoi(observation.substr(0, 3)) < 1 ||
                               std::stoi(observation.substr(0, 3)) > MaxBells))
    return Complaint{"Specify the initial position of the observation bell", "Invalid Observation", field::Observation};
  const std::string parts = NormaliseBlanks(form.parts);
  if (!parts.empty() && parts != "-1" && (!IsNumber(parts) || ReadInteger(parts) < 1))
    return Complaint{"Enter the number of parts, or -1 to repeat indefinitely", "Invalid 'Parts'", field::Parts};
  const std::string markers(CallMarkers);
  if (form.callMarkers.find_first_not_of(markers) != std::string::npos)
    return Complaint{"Use only " + markers, "Invalid Call Markers", field::CallMarkers};
  if (AnyLonger(SplitLines(form.notes), LongestCompositionLine))
    return Complaint{"A line of notes exceeds " + std::to_string(LongestCompositionLine) + " characters",
                     "Note line too long", field::Notes};
  if (AnyLonger(lines, LongestCompositionLine))
    return Complaint{"A line of the composition exceeds " + std::to_string(LongestCompositionLine) + " characters",
                     "Composition line too long", field::Lines};
  if (ReadInteger(form.leadsPerCourse) > 0 && !NormaliseBlanks(form.specialHeadings).empty())
    return Complaint{"Leads per course and non-standard headings don't mix", "Invalid Combination",
                     field::LeadsPerCourse};
  return std::nullopt;
}

CompositionFields FieldsOf(const CompositionForm& form) {
  CompositionFields f;
  f.name = NormaliseBlanks(form.name);
  f.composer = NormaliseBlanks(form.composer);
  f.source = NormaliseBlanks(form.source);
  f.bells = form.bells;
  f.length = form.length;
  f.leadsPerCourse = form.leadsPerCourse;
  // A keep-going count of 0 is no count.
  f.keepGoing = NormaliseBlanks(form.keepGoing) == "0" ? "" : form.keepGoing;
  f.observation = NormaliseBlanks(form.observation);
  f.parts = NormaliseBlanks(form.parts).empty() ? "1" : NormaliseBlanks(form.parts);
  f.halfLeadSplicing = form.halfLeadSplicing ? "Yes" : "";
  f.defaultCallMarkers = form.callMarkers;
  const std::string special = NormaliseBlanks(form.specialHeadings);
  f.headings = special.empty() ? NormaliseBlanks(form.standardHeadings) : special;
  for (const EntryFields& entry : form.entries) f.methods.push_back(EntryValue(entry));
  f.exclude = form.exclude;
  f.lines = SplitLines(form.lines);
  while (!f.lines.empty() && NormaliseBlanks(f.lines.back()).empty()) f.lines.pop_back();
  f.notes = SplitLines(form.notes);
  return f;
}

Verdict CheckEntry(const EntryFields& entry, const std::vector<EntryFields>& others, const std::string& bells,
                   const Library& library) {
  const std::string markers(CallMarkers);
  const std::string forbidden = markers + ":,~";
  if (entry.label.find_first_of(forbidden) != std::string::npos)
    return Complaint{"Name must not include any of " + forbidden, "Invalid Label", field::EntryLabel};
  const std::bitset<MaxStage + 1> stages = BellsReadable(bells) ? ReadStages(bells) : AllStages();
  const Method* method = library.FindMethod(entry.title, stages);
  int stage = method != nullptr ? method->stage : MinStage;
  if (method == nullptr)
    for (int s = MaxStage; s >= MinStage; --s)
      if (stages.test(static_cast<std::size_t>(s))) {
        stage = s;
        break;
      }
  const std::string allowed = std::string(BellChars.substr(0, static_cast<std::size_t>(stage))) + ".- " + markers;
  if (entry.specialCalls.find_first_not_of(allowed) != std::string::npos)
    return Complaint{"Notation must consist of these characters only:" + allowed, "Invalid Notation", field::EntryCalls};
  for (const EntryFields& other : others)
    if (other.title == entry.title)
      return Complaint{"This method is already on the list", "Duplicate Method", field::EntryName};
  if (method == nullptr) return Complaint{"Method not found", "Invalid Method", field::EntryName};
  return std::nullopt;
}

}  // namespace clangor
