// The reading position in a composition's lines: walks repeat groups, named
// groups and definitions, and hands out one item at a time: a method label or
// a call (letter, marker, count) with the column where it stood.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ringing/composition_headings.h"
#include "ringing/composition_layout.h"

namespace clangor {

struct CallItem {
  enum class Kind { End, Label, Call };
  Kind kind = Kind::End;
  std::string label;  // Label: the label as written
  char letter = 0;    // Call: "a".."z"; a bob is "b"
  char marker = 0;    // Call: the only marker it may be made at; 0 = the default markers
  int count = 1;      // Call: successive calls still to make
  int column = -1;    // where the item began in its line
  int width = 1;      // how many columns it covered
  int course = 0;     // items read from one line of the calling share this number
};

class CompositionReader {
 public:
  // Longest accepted repeat count; larger counts are cut to it.
  static constexpr int MaxRepeat = 10000;
  // Deepest nesting of groups and definitions; deeper ones are skipped.
  static constexpr int MaxDepth = 64;

  struct Setup {
    const std::vector<std::string>* lines = nullptr;
    int beginLine = 0;  // first calling line to read
    int lastLine = -1;  // last calling line; definitions lie below it
    int repeats = 1;    // times through the calling; -1 = without end
    int labelLength = 0;
    std::function<bool(const std::string&)> isLabel;
    std::vector<std::string> labels;  // every label, for labels written straight before their calls
    const HeadingMap* headings = nullptr;  // looked up for items holding "*" or ","
    ColumnRange courseHeads;               // columns of a table's course heads, skipped
    int padTo = 0;                         // plain leads that fill each calling line
    std::string defaultMarkers = "|";      // where a call without its own marker ends a lead
  };

  void Start(Setup setup);
  // The next item, without taking it; Kind::End when the calling is used up.
  const CallItem& Peek();
  // Takes one call of the front item (or the whole label).
  void Take();
  // Drops whole items from the front while `drop` says so. A repeat whose
  // pass, begun while dropping, stays in one course and yields nothing kept
  // is not walked again: the next pass would yield the same items. Skipping
  // costs the text written, not the count it multiplies out to.
  void SkipWhile(const std::function<bool(const CallItem&)>& drop);

 private:
  struct Pos {
    int line = 0;
    int ch = 0;
    auto operator<=>(const Pos&) const = default;
  };
  struct Frame {
    Pos begin, end, pos;
    int remaining = 1;  // -1 repeats without end
    bool group = false;  // ends at a closing bracket at `end`
    int passCourse = 0;  // the course the current pass began in
    int passSkip = 0;    // the skip it began in; 0 = begun while not skipping
  };

  void BeginPass(Frame& frame) const;

  void Fill();
  void StepFrame(Frame& frame);
  void EndOfLine(Frame& frame);
  void EndCallingLine();
  void CountLeads(const CallItem& call);
  void CloseFrame();
  void OpenGroup(Frame& frame, int count);
  bool FindCloser(const Frame& frame, Pos open, Pos* close);
  bool TryLabel(Frame& frame);
  bool TryReference(Frame& frame);
  void ReadItemRun(Frame& frame, char marker);
  void PushCalls(std::string_view text, char marker, int column, int width);
  bool SkipCourseHead(Frame& frame);
  void CollectDefinitions();
  const std::string& Line(int line) const;

  Setup setup_;
  std::vector<Frame> frames_;
  std::deque<CallItem> pending_;
  std::map<std::string, Pos> definitions_;  // name -> start of its text
  std::map<char, std::pair<Pos, Pos>> groups_;  // letter -> text of the named group
  std::map<Pos, Pos> closers_;  // opening bracket -> its closing bracket ({-1, 0}: none)
  CallItem end_;
  int course_ = 0;
  // Leads the items read since the calling line began will ring, and whether
  // a lead has begun (after a label, or a call inside the lead) and not ended.
  int leadsThisLine_ = 0;
  bool leadOpen_ = false;
  // Numbers each SkipWhile; the current one while it runs, else 0.
  int skip_ = 0;
  int skipsBegun_ = 0;
};

}  // namespace clangor
