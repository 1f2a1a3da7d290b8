// The composition editor ("Edit Composition"): name, bells and length over
// four pages (the calling, the method entries, the headings, other
// details). It checks the fields, builds the composition and writes the
// compositions file on OK; Delete takes the composition out.
#pragma once

#include <QDialog>

#include <memory>

#include "library/dialogs/dialog_context.h"
#include "library/forms/composition_form.h"

namespace Ui {
class CompositionEditorDialog;
}

namespace clangor {

class CompositionEditorDialog final : public QDialog {
  Q_OBJECT
 public:
  static constexpr int Deleted = 2;

  // `from` fills the fields (none: empty); `editing` is the composition
  // changed on OK, none for a new one.
  CompositionEditorDialog(const LibraryDialogContext& context, EditorMode mode, const Composition* from,
                          Composition* editing, QWidget* parent);
  ~CompositionEditorDialog() override;

  Composition* stored() const { return stored_; }

 public slots:
  void accept() override;
  void done(int result) override;

 private:
  void FillEntries();
  void FillHeadings();
  void EditEntry(bool isNew);
  void RemoveEntry();
  // Standard headings chosen to override the default; false when the user
  // would rather keep the special headings.
  bool PickHeadings(const std::string& identifier);
  void Delete();
  CompositionForm ReadForm() const;
  bool Store(std::unique_ptr<Composition> built);

  std::unique_ptr<Ui::CompositionEditorDialog> ui_;
  LibraryDialogContext context_;
  EditorMode mode_;
  Composition* editing_;
  Composition* stored_ = nullptr;
  std::vector<EntryFields> entries_;
};

}  // namespace clangor
