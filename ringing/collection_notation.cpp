#include "ringing/collection_notation.h"

#include <algorithm>
#include <cctype>

#include "ringing/bells.h"

namespace clangor {

namespace {

bool IsCross(char c) { return c == 'x' || c == 'X' || c == '-'; }
bool IsBetweenChanges(char c) { return c == '.' || c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Collections write bells above 9 in capitals; a small letter is read the
// same, except "x", which is the cross.
std::optional<int> PlaceOf(char c) {
  return BellIndex(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string PlacesText(const std::vector<int>& places) {
  std::string text;
  for (const int place : places) text.push_back(BellChar(place));
  return text;
}

// The changes of one part, as written.
bool ReadChanges(std::string_view part, int stage, std::vector<Change>* changes, std::string* error) {
  std::vector<int> places;
  bool inPlaces = false;
  auto endPlaces = [&]() {
    if (!inPlaces) return true;
    inPlaces = false;
    Change change = WholeChange(std::move(places), stage, error);
    places.clear();
    if (!error->empty()) return false;
    changes->push_back(std::move(change));
    return true;
  };
  for (const char c : part) {
    if (IsCross(c)) {
      if (!endPlaces()) return false;
      if (stage % 2 != 0) {
        *error = "a cross on an odd number of bells";
        return false;
      }
      changes->push_back({});
    } else if (IsBetweenChanges(c)) {
      if (!endPlaces()) return false;
    } else if (const auto place = PlaceOf(c)) {
      places.push_back(*place);
      inPlaces = true;
    } else {
      *error = "the character " + Quoted(std::string(1, c)) + " is not place notation";
      return false;
    }
  }
  return endPlaces();
}

// A part written up to its middle change, turned about it.
void MirrorAboutLast(std::vector<Change>& changes) {
  for (std::size_t i = changes.size() - 1; i-- > 0;) changes.push_back(changes[i]);
}

}  // namespace

Change WholeChange(std::vector<int> places, int stage, std::string* error) {
  std::sort(places.begin(), places.end());
  places.erase(std::unique(places.begin(), places.end()), places.end());
  error->clear();
  if (places.empty()) return places;
  if (places.back() >= stage) {
    *error = "place " + std::string(1, BellChar(places.back())) + " is beyond " + std::to_string(stage) + " bells";
    return {};
  }
  for (std::size_t i = 1; i < places.size(); ++i) {
    if ((places[i] - places[i - 1] - 1) % 2 != 0) {
      *error = Quoted(PlacesText(places)) + " leaves one bell alone between places " + BellChar(places[i - 1]) +
               " and " + BellChar(places[i]);
      return {};
    }
  }
  // An odd number of bells below the lowest place leaves the lead in place,
  // and one left over above the highest place stays at the back.
  if (places.front() % 2 != 0) places.insert(places.begin(), 0);
  if ((stage - 1 - places.back()) % 2 != 0) places.push_back(stage - 1);
  return places;
}

std::string ChangeText(const Change& change) { return change.empty() ? "-" : PlacesText(change); }

CollectionNotation ReadCollectionNotation(std::string_view notation, int stage) {
  CollectionNotation read;
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const auto comma = notation.find(',', start);
    parts.push_back(notation.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (parts.size() > 2) {
    read.error = "more than one \",\"";
    return read;
  }
  for (std::string_view part : parts) {
    while (!part.empty() && IsBetweenChanges(part.front())) part.remove_prefix(1);
    // With a ",", both sides are palindromes unless "+" says otherwise.
    bool palindrome = parts.size() == 2;
    if (!part.empty() && (part.front() == '&' || part.front() == '+')) {
      palindrome = part.front() == '&';
      part.remove_prefix(1);
    }
    std::vector<Change> changes;
    if (!ReadChanges(part, stage, &changes, &read.error)) {
      read.lead.clear();
      return read;
    }
    if (changes.empty()) {
      read.error = parts.size() == 2 ? "a side of the \",\" without changes" : "no changes";
      read.lead.clear();
      return read;
    }
    if (palindrome) MirrorAboutLast(changes);
    read.lead.insert(read.lead.end(), changes.begin(), changes.end());
  }
  return read;
}

}  // namespace clangor
