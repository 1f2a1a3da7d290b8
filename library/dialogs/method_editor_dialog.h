// The method editor: name, notation and calls of one method of a stage.
// It checks the fields, stores the method and writes the methods and
// compositions files on OK; Delete takes the method out (not while a
// composition names it).
#pragma once

#include <QDialog>

#include <memory>

#include "library/dialogs/dialog_context.h"
#include "library/forms/method_form.h"

namespace Ui {
class MethodEditorDialog;
}

namespace clangor {

class MethodEditorDialog final : public QDialog {
  Q_OBJECT
 public:
  using Mode = EditorMode;
  // What the dialog ended with besides Accepted and Rejected.
  static constexpr int Deleted = 2;

  // `from` fills the fields (none: empty); `editing` is the method changed
  // on OK (Edit and View), none for a new one (New, or a copy).
  MethodEditorDialog(const LibraryDialogContext& context, Mode mode, const Method* from, Method* editing,
                     QWidget* parent);
  ~MethodEditorDialog() override;

  // The method stored by OK.
  Method* stored() const { return stored_; }

 public slots:
  void accept() override;
  void done(int result) override;

 private:
  void FillCalls();
  void EditCall(bool isNew);
  void RemoveCall();
  void Delete();
  void Convert();
  MethodForm ReadForm() const;
  bool Store(const MethodForm& form);
  bool SaveFiles();

  std::unique_ptr<Ui::MethodEditorDialog> ui_;
  LibraryDialogContext context_;
  Mode mode_;
  Method* editing_;
  Method* stored_ = nullptr;
  std::vector<MethodCall> calls_;
};

}  // namespace clangor
