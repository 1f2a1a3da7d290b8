// The composition list: every composition with its length, source and
// composer, in order of usage or by label (a click on the header changes
// it), the first CompositionLimit ticked, and the description of the chosen
// one beside the list. Go rings it with the current method and closes;
// Apply rings it and keeps the list open.
#pragma once

#include <QDialog>

#include <memory>

#include "library/dialogs/dialog_context.h"

namespace Ui {
class CompositionListDialog;
}

namespace clangor {

class CompositionListDialog final : public QDialog {
  Q_OBJECT
 public:
  CompositionListDialog(const LibraryDialogContext& context, QWidget* parent);
  ~CompositionListDialog() override;

  Composition* current() const;
  void SetAlphabetical(bool alphabetical);

 public slots:
  void accept() override;
  void done(int result) override;

 private:
  void Fill(const Composition* select);
  void Describe();
  void Ring();
  void OpenEditor(EditorMode mode, bool copy);

  std::unique_ptr<Ui::CompositionListDialog> ui_;
  LibraryDialogContext context_;
  bool alphabetical_ = false;
};

}  // namespace clangor
