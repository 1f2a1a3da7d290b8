#include "library/composition_file.h"

#include <algorithm>

#include "library/library_lines.h"
#include "ringing/text.h"

namespace clangor {

namespace {

void ReadStandardHeadings(LibraryLines& lines, StandardHeadings* headings, std::optional<std::string>* next) {
  while (auto line = lines.Next()) {
    if (!line->empty() && line->front() == '[') {
      *next = std::move(line);
      return;
    }
    const auto eq = line->find('=');
    if (eq == std::string::npos || eq + 1 == line->size()) continue;
    std::string identifier = NormaliseBlanks(std::string_view(*line).substr(0, eq));
    std::string text = NormaliseBlanks(std::string_view(*line).substr(eq + 1));
    if (!identifier.empty() && !text.empty()) (*headings)[identifier] = std::move(text);
  }
  next->reset();
}

// Puts one key=value line of a record into the fields.
void TakeRecordLine(const std::string& line, CompositionFields* fields) {
  const auto eq = line.find('=');
  const std::string key = NormaliseBlanks(std::string_view(line).substr(0, eq));
  const std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
  if (key == "Name") fields->name = value;
  else if (key == "Composer") fields->composer = value;
  else if (key == "Source") fields->source = value;
  else if (key == "Bells") fields->bells = value;
  else if (key == "Length") fields->length = value;
  else if (key == "HalfLeadSplicing") fields->halfLeadSplicing = value;
  else if (key == "Method") fields->methods.push_back(value);
  else if (key == "Exclude") {
    fields->methods.push_back(value);
    fields->exclude = true;
  } else if (key == "DefaultCallMarkers") fields->defaultCallMarkers = value;
  else if (key == "Headings") fields->headings = value;
  else if (key == "LeadsPerCourse") fields->leadsPerCourse = value;
  else if (key == "Line") fields->lines.push_back(value);
  else if (key == "Parts") fields->parts = value;
  else if (key == "KeepGoing") fields->keepGoing = value;
  else if (key == "Observation") fields->observation = value;
  else if (key == "Note") fields->notes.push_back(value);
  // Any other key is not ours: it is passed over.
}

}  // namespace

bool ReadCompositionFile(std::istream& in, std::vector<std::string>* header, StandardHeadings* headings,
                         std::vector<CompositionFields>* records) {
  LibraryLines lines(in);
  const auto first = lines.ReadHeader(header);
  if (!first) return !lines.cutShort();
  if (*first != "[Standard Headings]") return false;
  std::optional<std::string> section;
  ReadStandardHeadings(lines, headings, &section);
  if (!section) return !lines.cutShort();
  if (*section != "[Compositions]") return false;
  while (true) {
    CompositionFields fields;
    int lineCount = 0;
    bool more = false;
    while (auto line = lines.Next()) {
      if (line->empty()) {
        more = true;
        break;
      }
      TakeRecordLine(*line, &fields);
      ++lineCount;
    }
    if (lineCount == 0 || fields.lines.empty()) {
      // The list ends here: complete only when nothing but empty lines follows.
      if (lineCount > 0) return false;
      while (const auto rest = lines.Next()) {
        if (!rest->empty()) return false;
      }
      return !lines.cutShort();
    }
    records->push_back(std::move(fields));
    if (!more) return !lines.cutShort();
  }
}

std::vector<std::string> MethodLines(const Composition& composition) {
  std::vector<const MethodEntry*> ordered;
  for (const MethodEntry& entry : composition.entries) ordered.push_back(&entry);
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const MethodEntry* a, const MethodEntry* b) { return a->label < b->label; });
  std::size_t width = 0;
  if (ordered.size() > 1) {
    for (const MethodEntry* entry : ordered) width = std::max(width, entry->title.size() + 1);
  }
  const std::string key = composition.exclude ? "Exclude=" : "Method=";
  std::vector<std::string> out;
  for (const MethodEntry* entry : ordered) {
    std::string rest;
    if (!entry->automaticLabel) {
      rest = ":" + entry->label;
    } else if (entry->length > 0) {
      rest = ":" + std::to_string(entry->length);
    }
    if (!entry->specialCalls.empty()) rest += "," + entry->specialCalls;
    std::string line = key + entry->title;
    // The padding only lines the titles up: a line it would make too long
    // to read back goes without it.
    if (line.size() < key.size() + width && FitsLibraryLine(key + std::string(width, ' ') + rest)) {
      line.resize(key.size() + width, ' ');
    }
    out.push_back(line + rest);
  }
  return out;
}

namespace {

// The lines of one record, in the order of the keys, without the empty line
// that ends it.
std::vector<std::string> RecordLines(const Composition& c) {
  std::vector<std::string> out;
  const auto put = [&out](const std::string& key, const std::string& value) { out.push_back(key + "=" + value); };
  if (!c.name.empty()) put("Name", c.name);
  if (!c.composer.empty()) put("Composer", c.composer);
  if (!c.source.empty()) put("Source", c.source);
  if (c.stages.any()) {
    std::string bells;
    for (int stage = MinStage; stage <= MaxStage; ++stage) {
      if (!c.stages.test(static_cast<std::size_t>(stage))) continue;
      if (!bells.empty()) bells += ",";
      bells += std::to_string(stage);
    }
    put("Bells", bells);
  }
  if (c.length > 0) put("Length", std::to_string(c.length));
  if (c.halfLeadSplicing) put("HalfLeadSplicing", "Yes");
  for (std::string& line : MethodLines(c)) out.push_back(std::move(line));
  if (c.defaultCallMarkers != "|") put("DefaultCallMarkers", c.defaultCallMarkers);
  if (!c.headings.empty()) put("Headings", c.headings);
  if (c.leadsPerCourse > 0) put("LeadsPerCourse", std::to_string(c.leadsPerCourse));
  for (const std::string& line : c.lines) put("Line", line);
  if (c.parts != 1) put("Parts", std::to_string(c.parts));
  if (c.keepGoing > 0) put("KeepGoing", std::to_string(c.keepGoing));
  if (c.observation >= 0) put("Observation", std::to_string(c.observation + 1));
  for (const std::string& note : c.notes) put("Note", note);
  return out;
}

bool AllFit(const std::vector<std::string>& lines) {
  return std::all_of(lines.begin(), lines.end(), [](const std::string& line) { return FitsLibraryLine(line); });
}

// How a record left out is named to the user.
std::string RecordName(const Composition& c) {
  if (!c.name.empty()) return c.name;
  return c.lines.empty() ? std::string("(unnamed)") : c.lines.front();
}

}  // namespace

bool RecordFits(const Composition& composition) { return AllFit(RecordLines(composition)); }

std::string WriteCompositionFile(const std::vector<std::string>& header, const StandardHeadings& headings,
                                 const std::vector<std::unique_ptr<Composition>>& compositions,
                                 std::vector<std::string>* leftOut) {
  // A line the reader could not read back would end the reading there and
  // lose what follows: what would make one is left out and named instead.
  const auto leave = [leftOut](const std::string& what) {
    if (leftOut != nullptr) leftOut->push_back(what);
  };
  std::string out;
  for (const std::string& line : header) {
    if (FitsLibraryLine(line)) out += line + "\n";
    else leave(line.substr(0, 40));
  }
  out += "[Standard Headings]\n";
  for (const auto& [identifier, text] : headings) {
    const std::string line = identifier + "=" + text;
    if (FitsLibraryLine(line)) out += line + "\n";
    else leave(identifier);
  }
  out += "\n[Compositions]\n";
  for (const auto& composition : compositions) {
    const std::vector<std::string> lines = RecordLines(*composition);
    if (!AllFit(lines)) {
      leave(RecordName(*composition));
      continue;
    }
    for (const std::string& line : lines) out += line + "\n";
    out += "\n";
  }
  return out;
}

}  // namespace clangor
