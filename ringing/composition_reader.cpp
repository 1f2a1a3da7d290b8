#include "ringing/composition_reader.h"

#include <algorithm>
#include <cctype>

#include "ringing/call_table.h"
#include "ringing/text.h"

namespace clangor {

namespace {

// Structural steps a single look for the next item may take before the
// calling is treated as used up: empty groups repeated many times, or a
// calling that repeats without end but holds no call, stop here.
constexpr int StepBudget = 200000;

// Beyond any leads per course: a line that rings this many leads needs no padding.
constexpr long long MaxLeadsCounted = 1 << 30;

bool IsOpener(char c) { return c == '(' || c == '[' || c == '{'; }
bool IsCloser(char c) { return c == ')' || c == ']' || c == '}'; }
char CloserOf(char c) { return c == '(' ? ')' : c == '[' ? ']' : '}'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsItemChar(char c) { return IsLower(c) || IsDigit(c) || c == '-' || c == '*' || c == ','; }
bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '~' || c == '='; }

// Characters that end a label written with labels of differing lengths.
bool EndsLabel(char c) {
  return c == ',' || c == '#' || IsOpener(c) || IsCloser(c) || IsCallMarker(c) || c == '~' || c == '=';
}

// Reads a run of digits as a count no larger than the longest repeat.
int ReadCount(std::string_view text, std::size_t* i) {
  long long value = 0;
  while (*i < text.size() && IsDigit(text[*i])) {
    value = std::min<long long>(value * 10 + (text[*i] - '0'), CompositionReader::MaxRepeat);
    ++*i;
  }
  return static_cast<int>(value);
}

}  // namespace

const std::string& CompositionReader::Line(int line) const {
  static const std::string none;
  if (setup_.lines == nullptr || line < 0 || line >= static_cast<int>(setup_.lines->size())) return none;
  return (*setup_.lines)[static_cast<std::size_t>(line)];
}

void CompositionReader::Start(Setup setup) {
  setup_ = std::move(setup);
  frames_.clear();
  pending_.clear();
  groups_.clear();
  closers_.clear();
  course_ = 0;
  leadsThisLine_ = 0;
  leadOpen_ = false;
  CollectDefinitions();
  if (setup_.lines == nullptr || setup_.beginLine > setup_.lastLine || setup_.repeats == 0) return;
  Frame bottom;
  bottom.begin = bottom.pos = {setup_.beginLine, 0};
  bottom.end = {setup_.lastLine + 1, 0};
  bottom.remaining = setup_.repeats < 0 ? -1 : setup_.repeats;
  BeginPass(bottom);
  frames_.push_back(bottom);
}

void CompositionReader::CollectDefinitions() {
  definitions_.clear();
  if (setup_.lines == nullptr) return;
  for (int l = setup_.lastLine + 1; l < static_cast<int>(setup_.lines->size()); ++l) {
    const std::string& text = Line(l);
    if (!IsDefinitionLine(text)) continue;
    // The name is the text before the first "=" that has text before it.
    std::size_t eq = 0;
    while (eq < text.size() && (text[eq] == '=' || text[eq] == ' ' || text[eq] == '\t')) ++eq;
    eq = text.find('=', eq);
    if (eq == std::string::npos) continue;
    const std::string name = NormaliseBlanks(std::string_view(text).substr(0, eq));
    if (!name.empty() && definitions_.count(name) == 0) definitions_[name] = {l, static_cast<int>(eq) + 1};
  }
}

const CallItem& CompositionReader::Peek() {
  if (pending_.empty()) Fill();
  return pending_.empty() ? end_ : pending_.front();
}

void CompositionReader::Take() {
  if (pending_.empty()) return;
  CallItem& item = pending_.front();
  if (item.kind == CallItem::Kind::Call && --item.count > 0) return;
  pending_.pop_front();
}

void CompositionReader::SkipWhile(const std::function<bool(const CallItem&)>& drop) {
  skip_ = ++skipsBegun_;
  while (true) {
    const CallItem& item = Peek();
    if (item.kind == CallItem::Kind::End || !drop(item)) break;
    pending_.pop_front();
  }
  skip_ = 0;
}

void CompositionReader::BeginPass(Frame& frame) const {
  frame.passCourse = course_;
  frame.passSkip = skip_;
}

void CompositionReader::Fill() {
  int budget = StepBudget;
  while (pending_.empty() && !frames_.empty()) {
    if (--budget < 0) {
      frames_.clear();  // nothing more comes out of this calling
      return;
    }
    Frame& frame = frames_.back();
    if (frame.pos >= frame.end) {
      CloseFrame();
      continue;
    }
    StepFrame(frame);
  }
}

void CompositionReader::StepFrame(Frame& frame) {
  const std::string& text = Line(frame.pos.line);
  const auto ch = static_cast<std::size_t>(frame.pos.ch);
  if (ch >= text.size() || text[ch] == '#') {
    EndOfLine(frame);
    return;
  }
  if (ch == 0 && SkipCourseHead(frame)) return;
  const char c = text[ch];
  if (IsSkipped(c)) {
    ++frame.pos.ch;
    return;
  }
  if (IsDigit(c)) {
    std::size_t j = ch;
    const int count = ReadCount(text, &j);
    if (j < text.size() && IsOpener(text[j])) {
      frame.pos.ch = static_cast<int>(j);
      OpenGroup(frame, count);
      return;
    }
  }
  if (IsOpener(c)) {
    OpenGroup(frame, 1);
    return;
  }
  if (IsCloser(c)) {  // not the end of this frame: a stray bracket
    ++frame.pos.ch;
    return;
  }
  if (IsCallMarker(c)) {
    ++frame.pos.ch;
    if (ch + 1 < text.size() && IsItemChar(text[ch + 1])) ReadItemRun(frame, c);
    return;
  }
  if (TryLabel(frame)) return;
  if (IsItemChar(c)) {
    ReadItemRun(frame, 0);
    return;
  }
  if (TryReference(frame)) return;
  ++frame.pos.ch;  // anything else is not part of the calling
}

void CompositionReader::EndOfLine(Frame& frame) {
  // A definition's text belongs to the calling line that named it.
  const bool definition = frame.pos.line > setup_.lastLine;
  frame.pos = {frame.pos.line + 1, 0};
  if (!definition) EndCallingLine();
}

// The end of a calling line is the end of a course: with leads per course
// given, plain leads fill it up to that many leads rung. A lead still open
// (after a label) ends at the first of them.
void CompositionReader::EndCallingLine() {
  const bool calling = leadsThisLine_ > 0 || leadOpen_;
  if (setup_.padTo > 0 && calling && leadsThisLine_ < setup_.padTo) {
    CallItem pad;
    pad.kind = CallItem::Kind::Call;
    pad.letter = 'p';
    pad.count = setup_.padTo - leadsThisLine_;
    pad.course = course_;
    pending_.push_back(pad);
  }
  leadsThisLine_ = 0;
  leadOpen_ = false;
  ++course_;
}

// A call at a default marker ends a lead ("x" ends two: it bobs again at the
// next such marker); a call at another marker falls inside a lead.
void CompositionReader::CountLeads(const CallItem& call) {
  const bool endsLead = call.marker == 0 || setup_.defaultMarkers.find(call.marker) != std::string::npos;
  if (!endsLead) {
    leadOpen_ = true;
    return;
  }
  const long long leads = static_cast<long long>(call.count) * (call.letter == 'x' ? 2 : 1);
  leadsThisLine_ = static_cast<int>(std::min<long long>(leadsThisLine_ + leads, MaxLeadsCounted));
  leadOpen_ = false;
}

bool CompositionReader::SkipCourseHead(Frame& frame) {
  if (setup_.courseHeads.end <= 0) return false;
  if (frame.pos.line < setup_.beginLine || frame.pos.line > setup_.lastLine) return false;
  const std::string& text = Line(frame.pos.line);
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && static_cast<int>(i) < setup_.courseHeads.end && text[i] != '#') {
    while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '#') ++i;
  }
  if (i == 0) return false;
  frame.pos.ch = static_cast<int>(i);
  return true;
}

bool CompositionReader::FindCloser(const Frame& frame, Pos open, Pos* close) {
  const auto cached = closers_.find(open);
  if (cached != closers_.end()) {
    *close = cached->second;
    return cached->second.line >= 0;
  }
  std::string expected;
  Pos p = open;
  bool found = false;
  while (p < frame.end) {
    const std::string& text = Line(p.line);
    if (p.ch >= static_cast<int>(text.size()) || text[static_cast<std::size_t>(p.ch)] == '#') {
      p = {p.line + 1, 0};
      continue;
    }
    const char c = text[static_cast<std::size_t>(p.ch)];
    if (IsOpener(c)) {
      expected.push_back(CloserOf(c));
    } else if (IsCloser(c) && !expected.empty() && c == expected.back()) {
      expected.pop_back();
      if (expected.empty()) {
        found = true;
        break;
      }
    }
    ++p.ch;
  }
  closers_[open] = found ? p : Pos{-1, 0};
  *close = p;
  return found;
}

void CompositionReader::OpenGroup(Frame& frame, int count) {
  const Pos open = frame.pos;
  Pos close;
  if (!FindCloser(frame, open, &close)) {  // unbalanced: the bracket is ignored
    ++frame.pos.ch;
    return;
  }
  Frame group;
  group.begin = group.pos = {open.line, open.ch + 1};
  group.end = close;
  group.remaining = count;
  group.group = true;
  if (count <= 0 || static_cast<int>(frames_.size()) >= MaxDepth) {
    group.remaining = 1;
    group.pos = group.end;  // rung no times: straight to its end
  }
  BeginPass(group);
  frames_.push_back(group);
}

void CompositionReader::CloseFrame() {
  Frame& frame = frames_.back();
  if (frame.remaining > 0) --frame.remaining;
  // A whole pass dropped within one course: the passes left would be too.
  const bool dropped = skip_ != 0 && frame.passSkip == skip_ && frame.passCourse == course_;
  if (frame.remaining != 0 && !dropped) {
    if (frame.begin.line != frame.end.line) EndCallingLine();
    frame.pos = frame.begin;
    BeginPass(frame);
    return;
  }
  const Frame done = frame;
  frames_.pop_back();
  if (!done.group || frames_.empty()) return;
  Frame& parent = frames_.back();
  parent.pos = {done.end.line, done.end.ch + 1};
  const std::string& text = Line(parent.pos.line);
  const auto at = static_cast<std::size_t>(parent.pos.ch);
  if (at + 1 < text.size() && text[at] == ':' && std::isalpha(static_cast<unsigned char>(text[at + 1]))) {
    groups_[text[at + 1]] = {done.begin, done.end};
    parent.pos.ch += 2;
  }
}

bool CompositionReader::TryLabel(Frame& frame) {
  if (setup_.labelLength == 0 || !setup_.isLabel) return false;
  const std::string& text = Line(frame.pos.line);
  const auto ch = static_cast<std::size_t>(frame.pos.ch);
  std::size_t used = 0;
  std::string label;
  if (setup_.labelLength > 0) {
    const auto length = static_cast<std::size_t>(setup_.labelLength);
    if (ch + length > text.size()) return false;
    label = text.substr(ch, length);
    if (!setup_.isLabel(label)) return false;
    used = length;
  } else {
    // Up to the next ","; failing that, up to the next blank.
    std::size_t end = ch;
    while (end < text.size() && !EndsLabel(text[end])) ++end;
    label = NormaliseBlanks(std::string_view(text).substr(ch, end - ch));
    if (label.empty() || !setup_.isLabel(label)) {
      end = ch;
      while (end < text.size() && !EndsLabel(text[end]) && text[end] != ' ' && text[end] != '\t') ++end;
      label = text.substr(ch, end - ch);
      if (label.empty() || !setup_.isLabel(label)) {
        // Failing both, the longest label written here, calls straight after it.
        label.clear();
        for (const std::string& known : setup_.labels) {
          if (known.size() > label.size() && text.compare(ch, known.size(), known) == 0) label = known;
        }
        if (label.empty()) return false;
        end = ch + label.size();
      }
    }
    used = end - ch;
  }
  if (ch + used < text.size() && text[ch + used] == ',') ++used;
  // A label begins a lead; a lead begun before it is rung plain.
  if (leadOpen_) ++leadsThisLine_;
  leadOpen_ = true;
  CallItem item;
  item.kind = CallItem::Kind::Label;
  item.label = label;
  item.column = static_cast<int>(ch);
  item.width = static_cast<int>(used);
  item.course = course_;
  pending_.push_back(item);
  frame.pos.ch += static_cast<int>(used);
  return true;
}

bool CompositionReader::TryReference(Frame& frame) {
  const std::string& text = Line(frame.pos.line);
  const auto ch = static_cast<std::size_t>(frame.pos.ch);
  Frame called;
  std::size_t used = 0;
  for (const auto& [name, start] : definitions_) {
    if (name.size() > used && text.compare(ch, name.size(), name) == 0) {
      used = name.size();
      called.begin = start;
      called.end = {start.line + 1, 0};
    }
  }
  if (used == 0) {
    const auto group = groups_.find(text[ch]);
    if (group == groups_.end()) return false;
    used = 1;
    called.begin = group->second.first;
    called.end = group->second.second;
  }
  frame.pos.ch += static_cast<int>(used);
  if (static_cast<int>(frames_.size()) >= MaxDepth) return true;  // too deep: skipped
  called.pos = called.begin;
  BeginPass(called);
  frames_.push_back(called);
  return true;
}

void CompositionReader::ReadItemRun(Frame& frame, char marker) {
  const std::string& text = Line(frame.pos.line);
  const auto start = static_cast<std::size_t>(frame.pos.ch);
  std::size_t i = start;
  while (i < text.size() && IsItemChar(text[i])) {
    if (IsDigit(text[i])) {
      std::size_t j = i;
      while (j < text.size() && IsDigit(text[j])) ++j;
      if (j < text.size() && IsOpener(text[j])) break;  // the count of a group
      i = j;
      continue;
    }
    ++i;
  }
  if (i == start) {
    ++frame.pos.ch;
    return;
  }
  frame.pos.ch = static_cast<int>(i);
  const std::string run = text.substr(start, i - start);
  const int column = static_cast<int>(start) - (marker != 0 ? 1 : 0);
  const int width = static_cast<int>(i) - column;
  if (run.find_first_of("*,") != std::string::npos && setup_.headings != nullptr) {
    const auto heading = setup_.headings->find(run);
    if (heading != setup_.headings->end()) {
      PushCalls(heading->second, marker, column, width);
      return;
    }
  }
  PushCalls(run, marker, column, width);
}

void CompositionReader::PushCalls(std::string_view text, char marker, int column, int width) {
  std::size_t i = 0;
  char nextMarker = marker;
  while (i < text.size()) {
    const char c = text[i];
    if (IsCallMarker(c)) {
      nextMarker = c;
      ++i;
      continue;
    }
    int count = 1;
    bool counted = false;
    if (IsDigit(c)) {
      count = ReadCount(text, &i);
      counted = true;
    }
    char letter = 0;
    if (i < text.size() && (IsLower(text[i]) || text[i] == '-')) {
      letter = text[i] == '-' ? 'b' : text[i];
      ++i;
    } else if (counted) {
      letter = 'b';  // a count alone is that many bobs
    } else {
      ++i;  // "*", "," or anything else between calls
      continue;
    }
    if (count > 0) {
      CallItem item;
      item.kind = CallItem::Kind::Call;
      item.letter = letter;
      item.marker = nextMarker;
      item.count = count;
      item.column = column;
      item.width = width;
      item.course = course_;
      CountLeads(item);
      pending_.push_back(item);
    }
    nextMarker = marker;
  }
}

}  // namespace clangor
