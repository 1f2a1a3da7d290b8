// The call-change sequence editor: name and notation of one sequence of a
// stage. It checks the fields, stores the sequence and writes the
// call-change sequences file on OK; Delete takes the sequence out.
#pragma once

#include <QDialog>

#include <memory>

#include "library/dialogs/dialog_context.h"

namespace Ui {
class SequenceEditorDialog;
}

namespace clangor {

class SequenceEditorDialog final : public QDialog {
  Q_OBJECT
 public:
  static constexpr int Deleted = 2;

  // `from` fills the fields (none: empty); `editing` is the sequence changed
  // on OK, none for a new one.
  SequenceEditorDialog(const LibraryDialogContext& context, EditorMode mode, const CallChangeSequence* from,
                       CallChangeSequence* editing, QWidget* parent);
  ~SequenceEditorDialog() override;

  CallChangeSequence* stored() const { return stored_; }

 public slots:
  void accept() override;

 private:
  bool Store(const CallChangeSequence& value);
  void Delete();

  std::unique_ptr<Ui::SequenceEditorDialog> ui_;
  LibraryDialogContext context_;
  EditorMode mode_;
  CallChangeSequence* editing_;
  CallChangeSequence* stored_ = nullptr;
};

}  // namespace clangor
