#include "library/dialogs/method_list_dialog.h"

#include "library/dialogs/dialog_support.h"
#include "library/dialogs/import_methods_dialog.h"
#include "library/dialogs/method_editor_dialog.h"
#include "library/library.h"
#include "ringing/bells.h"
#include "ringing/settings_source.h"
#include "shell/framework/modal_dialog.h"
#include "shell/settings_table.h"
#include "ui_d105_method_list.h"

namespace clangor {

MethodListDialog::MethodListDialog(const LibraryDialogContext& context, QWidget* parent)
    : RecordListDialog(context, parent), ui_(std::make_unique<Ui::MethodListDialog>()) {
  ui_->setupUi(this);
  setWindowTitle(Q(StageName(context.stage) + " Methods"));
  ui_->c1049->setColumnWidth(0, context.settings->GetInt(setting::MNameCol));
  Connect({ui_->c1049, ui_->c1, ui_->c1050, ui_->c2, ui_->c1054, ui_->c1055, ui_->c1053, ui_->c1126},
          "library.html#methods");
  // Methods come from a collection file too; not while the bells ring, when
  // the library may only be read.
  ui_->importButton->setEnabled(!context.viewOnly);
  connect(ui_->importButton, &QPushButton::clicked, this, [this] {
    if (ImportMethodsFromFile(this, *context_.library)) Fill(current());
  });
}

MethodListDialog::~MethodListDialog() = default;

std::vector<RecordListDialog::Entry> MethodListDialog::Records() const {
  std::vector<Entry> entries;
  for (const auto& method : context_.library->Methods(context_.stage)) entries.push_back({method->Title(), method.get()});
  return entries;
}

void MethodListDialog::RingRecord(const void* record) {
  if (context_.ringMethod) context_.ringMethod(*static_cast<const Method*>(record));
}

const void* MethodListDialog::Edit(EditorMode mode, const void* from, void* editing, bool* changed) {
  MethodEditorDialog editor(context_, mode, static_cast<const Method*>(from),
                            static_cast<Method*>(editing), this);
  const int result = OvLibrary::RunModal(editor);
  *changed = result == QDialog::Accepted || result == MethodEditorDialog::Deleted;
  return editor.stored();
}

void MethodListDialog::done(int result) {
  context_.settings->SetInt(setting::MNameCol, ui_->c1049->columnWidth(0));
  RecordListDialog::done(result);
}

}  // namespace clangor
