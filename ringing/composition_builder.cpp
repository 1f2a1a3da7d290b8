#include "ringing/composition_builder.h"

#include <algorithm>
#include <climits>

#include "ringing/composition_layout.h"
#include "ringing/text.h"

namespace clangor {

int ReadInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i++] - '0');
    if (value > INT_MAX) value = INT_MAX;  // a huge number stays the largest one
  }
  return static_cast<int>(negative ? -value : value);
}

std::bitset<MaxStage + 1> ReadStages(std::string_view text) {
  std::bitset<MaxStage + 1> stages;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ',' || text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t begin = i;
    while (i < text.size() && text[i] != ',' && text[i] != ' ' && text[i] != '\t') ++i;
    if (i == begin) continue;
    const std::string_view word = text.substr(begin, i - begin);
    if (word.find_first_not_of("0123456789") != std::string_view::npos || word.size() > 2) continue;
    const int stage = ReadInteger(word);
    if (IsStage(stage)) stages.set(static_cast<std::size_t>(stage));
  }
  return stages;
}

MethodEntry SplitMethodEntry(std::string_view value) {
  MethodEntry entry;
  std::string rest = NormaliseBlanks(value);
  const auto comma = rest.find(',');
  if (comma != std::string::npos) {
    entry.specialCalls = NormaliseBlanks(std::string_view(rest).substr(comma + 1));
    rest.resize(comma);
  }
  const auto colon = rest.find(':');
  if (colon != std::string::npos) {
    const std::string after = NormaliseBlanks(std::string_view(rest).substr(colon + 1));
    if (!after.empty() && after[0] >= '0' && after[0] <= '9') {
      entry.length = ReadInteger(after);
    } else {
      entry.label = after;
    }
    rest.resize(colon);
  }
  entry.title = NormaliseBlanks(rest);
  return entry;
}

namespace {

// All given labels of one length give that length; differing ones -1.
int CommonLabelLength(const std::vector<MethodEntry>& entries) {
  int length = 0;
  for (const MethodEntry& entry : entries) {
    if (entry.label.empty()) continue;
    const int own = static_cast<int>(entry.label.size());
    if (length == 0) length = own;
    else if (length != own) return -1;
  }
  return length;
}

// Entries without a label get "ZQXJ" and a number. The numbers start at 1000
// so that, in label order, such entries keep the order they were given in.
void GiveAutomaticLabels(Composition& composition) {
  int number = 1000;
  for (MethodEntry& entry : composition.entries) {
    if (!entry.label.empty()) continue;
    std::string label;
    do {
      label = std::string(AutomaticLabelPrefix) + std::to_string(number++);
    } while (composition.labelToMethod.count(label) != 0 ||
             std::any_of(composition.entries.begin(), composition.entries.end(),
                         [&](const MethodEntry& other) { return other.label == label; }));
    entry.label = label;
    entry.automaticLabel = true;
  }
}

}  // namespace

std::unique_ptr<Composition> BuildComposition(const CompositionFields& fields, const MethodFinder* finder,
                                              const StandardHeadings* standardHeadings) {
  if (fields.lines.empty()) return nullptr;
  auto composition = std::make_unique<Composition>();
  Composition& c = *composition;
  const int leadsPerCourse = ReadInteger(fields.leadsPerCourse);
  const LineLayout layout = ClassifyLines(fields.lines, leadsPerCourse);
  c.kind = layout.kind;
  c.firstLine = layout.firstLine;
  c.lastLine = layout.lastLine;
  c.name = fields.name;
  c.composer = fields.composer;
  c.source = fields.source;
  c.headings = fields.headings;
  c.length = ReadInteger(fields.length);
  c.leadsPerCourse = leadsPerCourse;
  c.keepGoing = ReadInteger(fields.keepGoing);
  c.parts = ReadInteger(fields.parts);
  c.observation = ReadInteger(fields.observation) - 1;
  c.defaultCallMarkers = fields.defaultCallMarkers;
  c.lines = fields.lines;
  c.methodEntries = fields.methods;
  c.notes = fields.notes;
  c.halfLeadSplicing = fields.halfLeadSplicing == "Yes";
  c.exclude = fields.exclude;
  c.stages = ReadStages(fields.bells);
  c.standardHeadings = standardHeadings;

  for (const std::string& value : fields.methods) {
    MethodEntry entry = SplitMethodEntry(value);
    if (finder != nullptr && !entry.title.empty()) entry.method = finder->FindMethod(entry.title, c.stages);
    c.entries.push_back(std::move(entry));
  }
  c.labelLength = CommonLabelLength(c.entries);
  GiveAutomaticLabels(c);
  for (const MethodEntry& entry : c.entries) {
    c.labelToMethod.emplace(entry.label, entry.method);
    if (entry.method == nullptr) continue;
    if (entry.length > 0) c.methodLength[entry.method] = entry.length;
    if (!entry.specialCalls.empty()) c.specialCalls[entry.method] = entry.specialCalls;
  }
  return composition;
}

}  // namespace clangor
