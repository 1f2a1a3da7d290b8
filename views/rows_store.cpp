#include "views/rows_store.h"

#include <algorithm>

namespace clangor {

void RowsStore::AddRow(const std::string& text) {
  while (RowCount() >= limit_ && !rows_.empty()) {
    rows_.pop_front();
    // A view scrolled back keeps showing the same rows.
    if (top_ > 0 && top_ + visible_ < RowCount()) --top_;
  }
  if (visible_ > RowCount()) top_ = 0;
  else if (top_ + visible_ == RowCount()) ++top_;  // the view shows the newest row: it follows
  const char mark = markCountdown_ == 1 ? callMark_ : ' ';
  rows_.push_back(mark + text);
  if (markCountdown_ > 0) --markCountdown_;
  rowWidth_ = static_cast<int>(text.size());
}

void RowsStore::AppendToLastRow(const std::string& text) {
  if (rows_.empty() || text.empty()) return;
  rows_.back() += ' ' + text;
}

void RowsStore::MarkCall(char letter) {
  markCountdown_ = 2;
  callMark_ = letter == 'b' ? '-' : letter == 'p' ? ' ' : letter;
}

void RowsStore::Clear() {
  rows_.clear();
  top_ = 0;
  rowWidth_ = 0;
}

void RowsStore::SetVisible(int lines) {
  visible_ = std::max(lines, 0);
  if (visible_ >= RowCount()) top_ = 0;
  else if (top_ + visible_ - 1 >= RowCount()) top_ = RowCount() - visible_ + 1;
}

void RowsStore::LineUp() { top_ = std::max(top_ - 1, 0); }

void RowsStore::LineDown() {
  if (visible_ + top_ < RowCount()) ++top_;
}

void RowsStore::PageUp() { top_ = std::max(top_ - visible_, 0); }

void RowsStore::PageDown() {
  const int old = top_;
  top_ += visible_;
  if (old + 2 * visible_ > RowCount()) top_ = std::max(RowCount() - visible_, 0);
}

void RowsStore::ThumbTrack(int position) { top_ = std::clamp(position, 0, ScrollMaximum()); }

std::string RowsStore::DisplayText() const {
  std::string text;
  const int last = std::min(top_ + visible_ - 1, RowCount() - 1);
  int total = 0;
  for (int i = top_; i <= last; ++i) {
    const std::string& row = Row(i);
    total += static_cast<int>(row.size()) + 2;
    if (total >= DisplayCapacity) break;
    text += row;
    if (i != RowCount() - 1) text += "\r\n";
  }
  return text;
}

std::string RowsStore::ClipboardText() const {
  std::string text;
  for (const std::string& row : rows_) {
    if (row.empty()) continue;
    text += row[0];
    text += '\t';
    const std::size_t bellsEnd = std::min(row.size(), 1 + static_cast<std::size_t>(rowWidth_));
    text.append(row, 1, bellsEnd - 1);
    std::size_t rest = bellsEnd;
    if (rest < row.size() && row[rest] == ' ') {
      text += '\t';
      ++rest;
    }
    text.append(row, rest);
    text += "\r\n";
  }
  return text;
}

}  // namespace clangor
