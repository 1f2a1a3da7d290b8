// The calls a method's line defines, and which one is selected.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace clangor {

inline constexpr std::string_view CallMarkers = "|/\\";
constexpr bool IsCallMarker(char c) { return c == '|' || c == '/' || c == '\\'; }

// One call as a calls area defines it: unnamed segments are the Bob and the
// Single, named ones "Name:l:changes".
struct CallDefinition {
  std::string name;
  char letter = 0;
  char marker = 0;
  int segment = 0;      // the segment's number among its marker's, from 1
  std::string changes;  // blank-normalised
};

// Every definition of a calls area (the text after a line's first ","), in
// order; those the call table would refuse are among them.
std::vector<CallDefinition> CallDefinitions(const std::string& callsArea);

class CallTable {
 public:
  static constexpr int MaxCalls = 7;    // the plain lead and six calls
  static constexpr int MaxMarkers = 3;  // one per marker character

  struct Call {
    std::string name;
    char letter = 0;
    std::string markers;               // in the order added
    std::array<int, MaxMarkers> segments{};  // per marker: its segment in the calls area, from 1
  };

  // Holds the plain lead only.
  CallTable();

  // Adds a definition; false (and nothing changes) when the rules refuse it.
  bool AddCall(const std::string& name, char letter, char marker, int segment);

  // Reads the calls area of a line (the text after its first ","), adding
  // every definition it holds.
  void AddCallsArea(const std::string& callsArea);

  std::string CallName(int index) const;
  char CallLetter(int index) const;
  int CallSegment(char marker, int index) const;
  bool HasMarker(int index, char marker) const;
  // True for "p"; "-" and "x" stand for "b".
  bool CanCall(char letter, char marker) const;
  // The first entry with that letter and at least one marker, or -1.
  int FindSelectable(char letter) const;

  int size() const { return static_cast<int>(calls_.size()); }
  const Call& operator[](int index) const { return calls_[static_cast<std::size_t>(index)]; }

 private:
  std::vector<Call> calls_;
};

}  // namespace clangor
