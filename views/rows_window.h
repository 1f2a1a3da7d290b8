// The rows pane: the rows of the touch as they are rung, in a fixed-pitch
// 10-point font, with its own scroll bar. What it keeps and shows is the
// RowsStore; this widget only draws it. It never keeps the keyboard focus.
#pragma once

#include <QWidget>

#include "views/rows_store.h"

class QPlainTextEdit;
class QScrollBar;

namespace clangor {

class RowsWindow final : public QWidget {
  Q_OBJECT
 public:
  RowsWindow(int limit, QWidget* parent = nullptr);

  RowsStore& store() { return store_; }
  void AddRow(const std::string& text) { store_.AddRow(text); }
  void AppendToLastRow(const std::string& text) { store_.AppendToLastRow(text); }
  void MarkCall(char letter) { store_.MarkCall(letter); }
  void Clear();
  // Shows the store afresh (once for each drained batch).
  void Refresh();
  void Show(bool shown);
  int RowCount() const { return store_.RowCount(); }
  // Puts every row on the clipboard, then `appendix`; false when there is
  // no clipboard.
  bool CopyToClipboard(const std::string& appendix = {});

  // The text shown and the scroll bar (for the tests).
  QString shownText() const;
  QScrollBar* scroller() const { return scroller_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Scrolled(int action);
  int LineHeight() const;

  RowsStore store_;
  QPlainTextEdit* text_;
  QScrollBar* scroller_;
  bool shown_ = false;
  bool refreshing_ = false;
};

}  // namespace clangor
