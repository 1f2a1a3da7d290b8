#include "ringing/composition.h"

#include <algorithm>
#include <climits>

#include "ringing/call_table.h"
#include "ringing/method.h"

namespace clangor {

std::vector<const Method*> Composition::Methods() const {
  std::vector<const Method*> methods;
  for (const MethodEntry& entry : entries) {
    if (entry.method != nullptr) methods.push_back(entry.method);
  }
  return methods;
}

bool Composition::AppliesTo(const Method& method) const {
  if (!IsStage(method.stage) || !stages.test(static_cast<std::size_t>(method.stage))) return false;
  const bool listed = std::any_of(entries.begin(), entries.end(),
                                  [&](const MethodEntry& entry) { return entry.method == &method; });
  if (exclude) return !listed;
  return entries.empty() || listed;
}

std::string Composition::HeadingsInForce(int stage) const {
  const auto standard = [this](const std::string& id) -> const std::string* {
    if (standardHeadings == nullptr) return nullptr;
    const auto found = standardHeadings->find(id);
    return found == standardHeadings->end() ? nullptr : &found->second;
  };
  if (!headings.empty()) {
    const std::string* named = standard(headings);
    return named != nullptr ? *named : headings;
  }
  if (entries.size() == 1 && !exclude) {
    if (const std::string* own = standard(entries.front().title)) return *own;
  }
  if (const std::string* byStage = standard(std::to_string(stage))) return *byStage;
  return {};
}

std::string Composition::SpecialCalls(const Method& method) const {
  const auto found = specialCalls.find(&method);
  return found == specialCalls.end() ? std::string() : found->second;
}

CompositionReader::Setup Composition::ReaderSetup(int stage, int bells) {
  headingMap_ = ParseHeadings(HeadingsInForce(stage));
  columns_.clear();
  homePosition_ = 0;
  CompositionReader::Setup setup;
  setup.lines = &lines;
  setup.lastLine = lastLine;
  setup.labelLength = labelLength;
  setup.defaultMarkers = defaultCallMarkers;
  setup.isLabel = [this](const std::string& label) { return labelToMethod.count(label) != 0; };
  for (const auto& entry : labelToMethod) setup.labels.push_back(entry.first);
  setup.headings = &headingMap_;
  // Parts and keep going come from the file: their product is held to the
  // largest count rather than allowed to overflow.
  const long long times =
      static_cast<long long>(std::max(parts, 1)) * (std::clamp(keepGoing, 0, CompositionReader::MaxRepeat) + 1);
  setup.repeats = parts < 0 ? -1 : static_cast<int>(std::min<long long>(times, INT_MAX));
  if (kind == 0 || firstLine < 0 || firstLine + 1 >= static_cast<int>(lines.size())) {
    setup.beginLine = std::max(firstLine, 0);
    setup.padTo = leadsPerCourse;
    return setup;
  }
  // A table: the header names the calling positions, the rule under it is
  // skipped, and (kind 1) so is the column of course heads.
  setup.beginLine = firstLine + 2;
  const std::string& header = lines[static_cast<std::size_t>(firstLine)];
  if (kind == 1) setup.courseHeads = CourseHeadColumns(header);
  for (const HeaderColumn& column : HeaderColumns(header, headingMap_)) {
    if (column.begin >= setup.courseHeads.end) columns_.push_back(column);
  }
  if (!columns_.empty()) homePosition_ = ReadCallingPosition(headingMap_[columns_.back().name], bells).position;
  return setup;
}

const Method* Composition::FirstMethod() const {
  Composition probe = *this;
  probe.reader_.Start(probe.ReaderSetup(0, MaxBells));
  const CallItem& item = probe.reader_.Peek();
  if (item.kind == CallItem::Kind::Label) {
    const auto found = labelToMethod.find(item.label);
    return found == labelToMethod.end() ? nullptr : found->second;
  }
  if (exclude) return nullptr;
  const auto methods = Methods();
  return methods.empty() ? nullptr : methods.front();
}

void Composition::Restart(const Method* method, const Row& row) {
  bells_ = static_cast<int>(row.size());
  const int stage = method != nullptr ? method->stage : bells_;
  // The observation bell is watched from the first lead: the bell the
  // composition names, else the heaviest bell of the method. A bell beyond
  // those rung watches nothing, so no calling position is ever reached.
  if (observation >= 0) observationBell = observation < bells_ ? observation : -1;
  else observationBell = std::min(stage, bells_) - 1;
  reader_.Start(ReaderSetup(stage, bells_));
  courseOpen_ = -1;
  leadsInCourse_ = 0;
  // A label that opens the calling names the first lead, already under way.
  if (reader_.Peek().kind == CallItem::Kind::Label) reader_.Take();
}

const Method* Composition::NextMethod(bool atHalfLead) {
  if (atHalfLead && !halfLeadSplicing) return nullptr;
  const CallItem& item = reader_.Peek();
  if (item.kind != CallItem::Kind::Label) return nullptr;
  const auto found = labelToMethod.find(item.label);
  const Method* method = found == labelToMethod.end() ? nullptr : found->second;
  reader_.Take();
  return method;
}

// The observation bell was fixed when the touch started; a call section
// ending changes nothing.
void Composition::SectionEnded(const Row&) {}

bool Composition::IsDefaultMarker(char marker) const {
  return defaultCallMarkers.find(marker) != std::string::npos;
}

int Composition::ObservationPosition(const Row& row) const {
  const auto at = std::find(row.begin(), row.end(), observationBell);
  return at == row.end() ? 0 : static_cast<int>(at - row.begin()) + 1;
}

CallingPosition Composition::PositionOf(const CallItem& item, bool* tied) const {
  const int column = ColumnOf(columns_, item.column, item.column + item.width);
  *tied = column >= 0;
  if (column < 0) return {};
  const auto heading = headingMap_.find(columns_[static_cast<std::size_t>(column)].name);
  if (heading == headingMap_.end()) return {};
  return ReadCallingPosition(heading->second, bells_);
}

char Composition::TakeIfCallable(char marker, const CallTable& calls, char onlyAt) {
  const CallItem& item = reader_.Peek();
  const char letter = item.letter;
  const char restricted = item.marker != 0 ? item.marker : onlyAt;
  if (letter == 'x') {  // a bob wherever it is met; the generator remembers the marker
    if ((restricted != 0 && restricted != marker) || !calls.CanCall('x', marker)) return 0;
  } else {
    const bool here = restricted != 0 ? restricted == marker : IsDefaultMarker(marker);
    if (!here || !calls.CanCall(letter, marker)) return 0;
  }
  reader_.Take();
  return letter;
}

char Composition::CallAt(const Row& row, char marker, const CallTable& calls) {
  if (kind == 0) {
    if (reader_.Peek().kind != CallItem::Kind::Call) return 0;
    return TakeIfCallable(marker, calls, 0);
  }
  return TableCallAt(row, marker, calls);
}

void Composition::EndCourse() {
  // Calls of the course that were not reached are dropped with it.
  const int course = courseOpen_;
  reader_.SkipWhile(
      [course](const CallItem& item) { return item.kind == CallItem::Kind::Call && item.course == course; });
  courseOpen_ = -1;
  leadsInCourse_ = 0;
}

char Composition::TableCallAt(const Row& row, char marker, const CallTable& calls) {
  const bool lead = IsDefaultMarker(marker);
  char result = 0;
  const CallItem* item = &reader_.Peek();
  if (courseOpen_ < 0 && item->kind == CallItem::Kind::Call) courseOpen_ = item->course;
  // Calls under a calling position that names no usable position are dropped.
  const int course = courseOpen_;
  reader_.SkipWhile([this, course](const CallItem& call) {
    if (call.kind != CallItem::Kind::Call || call.course != course) return false;
    bool tiedHere = false;
    return PositionOf(call, &tiedHere).position == 0 && tiedHere;
  });
  item = &reader_.Peek();
  const bool inCourse = item->kind == CallItem::Kind::Call && item->course == courseOpen_;
  bool tied = false;
  const CallingPosition at = inCourse ? PositionOf(*item, &tied) : CallingPosition{};
  if (inCourse) {
    if (!tied) {
      result = TakeIfCallable(marker, calls, 0);  // no calling position: as plain calling
    } else if (ObservationPosition(row) == at.position) {
      result = TakeIfCallable(marker, calls, at.marker);
    }
  }
  if (leadsPerCourse > 0) {
    // Courses of a fixed number of leads.
    if (lead && ++leadsInCourse_ >= leadsPerCourse) EndCourse();
    return result;
  }
  // A course ends when the observation bell reaches the last calling
  // position of the header (home) with nothing left to call in it.
  const CallItem& next = reader_.Peek();
  const bool courseLeft = next.kind == CallItem::Kind::Call && next.course == courseOpen_;
  if (!courseLeft && courseOpen_ >= 0 && lead &&
      (homePosition_ == 0 || ObservationPosition(row) == homePosition_)) {
    EndCourse();
  }
  return result;
}

}  // namespace clangor
