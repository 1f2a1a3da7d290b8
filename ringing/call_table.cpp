#include "ringing/call_table.h"

#include <algorithm>

#include "ringing/text.h"

namespace clangor {

namespace {

constexpr std::size_t MaxFieldLength = 99;  // characters taken after each ":" of a named call

struct Segment {
  char marker;
  std::string text;  // without its marker, blank-normalised
};

std::vector<Segment> SplitSegments(const std::string& callsArea) {
  std::vector<Segment> segments;
  std::size_t i = 0;
  while (i < callsArea.size() && !IsCallMarker(callsArea[i])) ++i;
  while (i < callsArea.size()) {
    std::size_t end = i + 1;
    while (end < callsArea.size() && !IsCallMarker(callsArea[end])) ++end;
    segments.push_back({callsArea[i], NormaliseBlanks(std::string_view(callsArea).substr(i + 1, end - i - 1))});
    i = end;
  }
  return segments;
}

}  // namespace

CallTable::CallTable() {
  Call plain;
  plain.name = "Plain";
  plain.letter = 'p';
  plain.markers = std::string(CallMarkers);
  calls_.push_back(plain);
}

bool CallTable::AddCall(const std::string& name, char letter, char marker, int segment) {
  if (name == "Plain" || letter == 'p') return false;
  for (std::size_t i = 1; i < calls_.size(); ++i) {
    Call& call = calls_[i];
    if (call.name != name) {
      if (call.letter == letter) return false;
      continue;
    }
    if (call.letter != letter) return false;
    if (call.markers.find(marker) != std::string::npos) return false;
    if (call.markers.size() >= MaxMarkers) return false;
    call.segments[call.markers.size()] = segment;
    call.markers.push_back(marker);
    return true;
  }
  if (calls_.size() >= MaxCalls) return false;
  Call call;
  call.name = name;
  call.letter = letter;
  call.markers = std::string(1, marker);
  call.segments[0] = segment;
  calls_.push_back(call);
  return true;
}

std::vector<CallDefinition> CallDefinitions(const std::string& callsArea) {
  std::vector<CallDefinition> definitions;
  std::string numbered;  // one entry per segment seen: its marker
  std::string unnamed;   // one entry per segment without a name seen, empty ones too
  for (const Segment& segment : SplitSegments(callsArea)) {
    numbered.push_back(segment.marker);
    const int number = static_cast<int>(std::count(numbered.begin(), numbered.end(), segment.marker));
    const auto first = segment.text.find(':');
    if (first == std::string::npos) {
      // An empty segment defines nothing but takes the Bob's place, so that
      // a Single may stand without a Bob.
      const bool isFirst = unnamed.find(segment.marker) == std::string::npos;
      unnamed.push_back(segment.marker);
      if (segment.text.empty()) continue;
      definitions.push_back({isFirst ? "Bob" : "Single", isFirst ? 'b' : 's', segment.marker, number, segment.text});
      continue;
    }
    const auto second = segment.text.find(':', first + 1);
    if (second == std::string::npos) continue;
    const std::string name = NormaliseBlanks(segment.text.substr(0, first));
    const std::string letter = NormaliseBlanks(segment.text.substr(first + 1, std::min(second - first - 1, MaxFieldLength)));
    const std::string changes = NormaliseBlanks(segment.text.substr(second + 1, MaxFieldLength));
    if (name.empty() || changes.empty() || letter.size() != 1 || letter[0] < 'a' || letter[0] > 'z') continue;
    definitions.push_back({name, letter[0], segment.marker, number, changes});
  }
  return definitions;
}

void CallTable::AddCallsArea(const std::string& callsArea) {
  for (const CallDefinition& call : CallDefinitions(callsArea)) AddCall(call.name, call.letter, call.marker, call.segment);
}

std::string CallTable::CallName(int index) const {
  if (index < 0 || index >= size()) return {};
  return calls_[static_cast<std::size_t>(index)].name;
}

char CallTable::CallLetter(int index) const {
  if (index < 0 || index >= size()) return 0;
  return calls_[static_cast<std::size_t>(index)].letter;
}

int CallTable::CallSegment(char marker, int index) const {
  if (index < 0 || index >= size()) return 0;
  const Call& call = calls_[static_cast<std::size_t>(index)];
  const auto at = call.markers.find(marker);
  if (at == std::string::npos) return 0;
  return call.segments[at];
}

bool CallTable::HasMarker(int index, char marker) const {
  if (index < 0 || index >= size()) return false;
  return calls_[static_cast<std::size_t>(index)].markers.find(marker) != std::string::npos;
}

bool CallTable::CanCall(char letter, char marker) const {
  if (letter == 'p') return true;
  if (letter == '-' || letter == 'x') letter = 'b';
  for (int i = 1; i < size(); ++i)
    if (CallLetter(i) == letter && CallSegment(marker, i) > 0) return true;
  return false;
}

int CallTable::FindSelectable(char letter) const {
  if (letter == '-') letter = 'b';
  for (int i = 0; i < size(); ++i) {
    const Call& call = calls_[static_cast<std::size_t>(i)];
    if (call.letter == letter && !call.markers.empty()) return i;
  }
  return -1;
}

}  // namespace clangor
