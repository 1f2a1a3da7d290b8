// What the rows pane keeps and shows: the rows rung, oldest first, each with
// its call mark and the name of what starts on it; which of them the pane
// shows; and the text it shows and copies. Plain data, no toolkit; the pane
// (RowsWindow) draws it.
#pragma once

#include <algorithm>
#include <deque>
#include <string>

namespace clangor {

class RowsStore {
 public:
  static constexpr int DefaultLimit = 6000;
  // The display holds at most this many characters.
  static constexpr int DisplayCapacity = 2047;

  explicit RowsStore(int limit = DefaultLimit) : limit_(limit) {}

  // Appends a row (bell characters, no mark); the oldest row goes when the
  // store is full.
  void AddRow(const std::string& text);
  // The last row gains one blank and `text`; nothing without a row or text.
  void AppendToLastRow(const std::string& text);
  // The mark lands on the second row appended after the call: "-" for a
  // bob (b), a blank for a plain lead (p), else the letter.
  void MarkCall(char letter);
  // Empties the store; the mark waiting for its row stays.
  void Clear();

  // The pane's height in whole lines changed.
  void SetVisible(int lines);

  // Scrolling.
  void LineUp();
  void LineDown();
  void PageUp();
  void PageDown();
  void ThumbTrack(int position);

  // The lines from `top`, CR LF between them, cut at DisplayCapacity.
  std::string DisplayText() const;
  // Every row: mark, tab, bells, then a tab and the name where there is
  // one; CR LF after each.
  std::string ClipboardText() const;

  int RowCount() const { return static_cast<int>(rows_.size()); }
  int top() const { return top_; }
  int visible() const { return visible_; }
  int limit() const { return limit_; }
  const std::string& Row(int index) const { return rows_.at(static_cast<std::size_t>(index)); }
  // The scroll bar: range 0 to max(count - 1, 0), page min(count, visible).
  int ScrollMaximum() const { return std::max(RowCount() - 1, 0); }
  int ScrollPage() const { return std::min(RowCount(), visible_); }

 private:
  std::deque<std::string> rows_;
  int limit_;
  int top_ = 0;
  int visible_ = 0;
  char callMark_ = ' ';
  int markCountdown_ = 0;
  int rowWidth_ = 0;
};

}  // namespace clangor
