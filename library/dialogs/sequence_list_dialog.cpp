#include "library/dialogs/sequence_list_dialog.h"

#include "library/dialogs/dialog_support.h"
#include "library/dialogs/sequence_editor_dialog.h"
#include "library/library.h"
#include "shell/framework/modal_dialog.h"
#include "ui_d133_sequence_list.h"

namespace clangor {

SequenceListDialog::SequenceListDialog(const LibraryDialogContext& context, QWidget* parent)
    : RecordListDialog(context, parent), ui_(std::make_unique<Ui::SequenceListDialog>()) {
  ui_->setupUi(this);
  setWindowTitle(Q("Call Change Sequences for " + std::to_string(context.stage) + " Bells"));
  Connect({ui_->c1142, ui_->c1, ui_->c1050, ui_->c2, ui_->c1146, ui_->c1147, ui_->c1145, ui_->c1144},
          "library.html#sequences");
}

SequenceListDialog::~SequenceListDialog() = default;

std::vector<RecordListDialog::Entry> SequenceListDialog::Records() const {
  std::vector<Entry> entries;
  for (const auto& sequence : context_.library->Sequences(context_.stage))
    entries.push_back({sequence->name, sequence.get()});
  return entries;
}

void SequenceListDialog::RingRecord(const void* record) {
  if (context_.ringSequence) context_.ringSequence(*static_cast<const CallChangeSequence*>(record));
}

const void* SequenceListDialog::Edit(EditorMode mode, const void* from, void* editing, bool* changed) {
  SequenceEditorDialog editor(context_, mode, static_cast<const CallChangeSequence*>(from),
                              static_cast<CallChangeSequence*>(editing), this);
  const int result = OvLibrary::RunModal(editor);
  *changed = result == QDialog::Accepted || result == SequenceEditorDialog::Deleted;
  return editor.stored();
}

}  // namespace clangor
