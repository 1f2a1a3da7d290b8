// What the method list and the call-change sequence list share: a list of
// the stage's records in order of usage or by title (the header says which;
// a click on it changes it), the first MethodLimit ticked, since those are
// the ones the menus offer; Go rings the chosen record and closes, Apply
// rings it and keeps the list open, Edit (View while the bells ring), Copy
// and New open the editor.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "library/dialogs/dialog_context.h"

class QPushButton;
class QTreeWidget;

namespace clangor {

class RecordListDialog : public QDialog {
  Q_OBJECT
 public:
  bool alphabetical() const { return alphabetical_; }
  void SetAlphabetical(bool alphabetical);
  // The record of the current item, or none.
  const void* current() const;

 public slots:
  void accept() override;

 protected:
  struct Controls {
    QTreeWidget* list;
    QPushButton *go, *apply, *close, *edit, *copy, *create, *help;
  };
  struct Entry {
    std::string title;
    const void* record;
  };

  RecordListDialog(const LibraryDialogContext& context, QWidget* parent);
  // Called once the .ui is set up.
  void Connect(const Controls& controls, const char* helpTopic);
  // Refills the list, selecting `select` when it is there.
  void Fill(const void* select);

  // The stage's records in library order.
  virtual std::vector<Entry> Records() const = 0;
  virtual void RingRecord(const void* record) = 0;
  // Opens the editor on `from` (none for New), `editing` changed on OK;
  // returns the record to select afterwards, or none when nothing changed.
  virtual const void* Edit(EditorMode mode, const void* from, void* editing, bool* changed) = 0;

  LibraryDialogContext context_;

 private:
  void OpenEditor(EditorMode mode, bool copy);
  void Ring();

  Controls controls_{};
  bool alphabetical_ = false;
};

}  // namespace clangor
