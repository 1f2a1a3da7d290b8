#include "ringing/place_notation.h"

#include <algorithm>

#include "ringing/bells.h"
#include "ringing/call_table.h"

namespace clangor {

namespace {

bool IsBellCharacter(char c) { return BellIndex(c).has_value(); }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSeparator(char c) { return c == '.' || c == ' '; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The second half of a symmetric lead: the changes of the first half in
// reverse order, without the half-lead change, each change's places (and any
// marked section) kept in their written order.
std::string MirrorOf(const std::string& body) {
  long i = static_cast<long>(body.size()) - 1;
  auto at = [&](long k) { return body[static_cast<std::size_t>(k)]; };

  if (i >= 0 && IsSeparator(at(i))) --i;
  if (i >= 0) {  // leave out the half-lead change
    if (IsCallMarker(at(i))) {
      const auto opening = body.rfind(at(i), static_cast<std::size_t>(i) - (i > 0 ? 1 : 0));
      i = (opening == std::string::npos || static_cast<long>(opening) >= i) ? -1 : static_cast<long>(opening) - 1;
    } else if (at(i) == '-') {
      --i;
    } else {
      while (i >= 0 && IsBellCharacter(at(i))) --i;
    }
  }

  std::string mirror;
  if (body.find(':') == std::string::npos) {
    mirror.push_back(':');
    if (i >= 0 && IsSeparator(at(i))) --i;
  }
  while (i >= 0) {
    long start = i;
    if (IsBellCharacter(at(i)) || IsCallMarker(at(i))) {
      while (start > 0 && (IsBellCharacter(at(start - 1)) || IsCallMarker(at(start - 1)))) --start;
    }
    // The half-lead point is one point: a ":" of the body is not mirrored.
    if (at(i) != ':') mirror.append(body, static_cast<std::size_t>(start), static_cast<std::size_t>(i - start + 1));
    i = start - 1;
  }
  return mirror;
}

// A calls-area segment "Name:l:changes" rings only its changes.
std::string ChangesOfSegment(std::string_view segment) {
  const auto first = segment.find(':');
  if (first == std::string_view::npos) return std::string(segment);
  const auto second = segment.find(':', first + 1);
  if (second == std::string_view::npos) return {};
  return std::string(segment.substr(second + 1));
}

std::string CompiledCallsArea(std::string_view callsArea) {
  std::string out;
  std::size_t i = 0;
  while (i < callsArea.size() && !IsCallMarker(callsArea[i])) out.push_back(callsArea[i++]);
  while (i < callsArea.size()) {
    std::size_t end = i + 1;
    while (end < callsArea.size() && !IsCallMarker(callsArea[end])) ++end;
    out.push_back(callsArea[i]);
    out += ChangesOfSegment(callsArea.substr(i + 1, end - i - 1));
    i = end;
  }
  return out;
}

std::uint8_t CompiledByte(char c) {
  const auto index = BellIndex(c);
  return index ? static_cast<std::uint8_t>(*index) : static_cast<std::uint8_t>(c);
}

}  // namespace

ExpandedLine ExpandLine(std::string_view line, std::string_view specialCalls) {
  std::string cleaned(line);
  std::replace(cleaned.begin(), cleaned.end(), '\t', ' ');
  const std::string_view text = TrimBlanks(cleaned);

  const auto comma = text.find(',');
  const std::string_view notation = text.substr(0, comma);
  ExpandedLine result;
  if (comma != std::string_view::npos) result.callsArea = std::string(TrimBlanks(text.substr(comma + 1)));
  if (!specialCalls.empty()) result.callsArea = std::string(TrimBlanks(specialCalls));

  const auto amp = notation.find('&');
  std::string leadEnd;
  std::string body;
  if (amp == std::string_view::npos) {
    body = std::string(notation);
  } else {
    leadEnd = std::string(notation.substr(0, amp));
    body = std::string(notation.substr(amp + 1));
    body += MirrorOf(body);
  }

  result.text = body;
  if (!leadEnd.empty()) result.text += "." + leadEnd;
  const auto colon = result.text.find(':');
  result.halfLeadIndex = colon == std::string::npos ? -1 : static_cast<int>(colon);
  if (!result.callsArea.empty()) result.text += "," + result.callsArea;
  return result;
}

CompiledNotation CompileNotation(const ExpandedLine& line) {
  std::string text = line.text;
  const auto comma = text.find(',');
  if (comma != std::string::npos) text = text.substr(0, comma + 1) + CompiledCallsArea(text.substr(comma + 1));
  CompiledNotation compiled;
  compiled.reserve(text.size());
  for (const char c : text) compiled.push_back(CompiledByte(c));
  return compiled;
}

int SourcePosition(const CompiledNotation& compiled, int& cursor, int p, int stage) {
  if (p >= stage || cursor < 0 || cursor >= static_cast<int>(compiled.size())) return p;
  int c = compiled[static_cast<std::size_t>(cursor)];
  if (c == '-') {
    if (p % 2 == 0) return p + 1 < stage ? p + 1 : p;
    return p - 1;
  }
  if (p > c && cursor + 1 < static_cast<int>(compiled.size()) &&
      IsPlaceByte(compiled[static_cast<std::size_t>(cursor) + 1])) {
    ++cursor;
    c = compiled[static_cast<std::size_t>(cursor)];
  }
  if (p == c) return p;
  int source;
  if ((p % 2) == (c % 2)) {
    source = p < c ? p + 1 : p - 1;
  } else if (p > c) {
    source = p + 1 < stage ? p + 1 : p;
  } else {
    source = p > 0 ? p - 1 : p;
  }
  // A place at or above the stage must not pull a bell from beyond it.
  return source < stage ? source : p;
}

}  // namespace clangor
