#include "library/dialogs/method_editor_dialog.h"

#include "library/dialogs/call_dialog.h"
#include "library/dialogs/dialog_support.h"
#include "library/library.h"
#include "ringing/bells.h"
#include "ringing/method.h"
#include "ringing/settings_source.h"
#include "ringing/text.h"
#include "shell/framework/message_box.h"
#include "shell/framework/modal_dialog.h"
#include "shell/settings_table.h"
#include "ui_d124_method_editor.h"

namespace clangor {

namespace {
const std::vector<int> CallColumns = {setting::CallDelimCol, setting::CallNameCol, setting::CallLetterCol,
                                      setting::CallNotationCol};
const char* ModeWord(MethodEditorDialog::Mode mode) {
  switch (mode) {
    case MethodEditorDialog::Mode::New: return "New ";
    case MethodEditorDialog::Mode::Edit: return "Edit ";
    default: return "View ";
  }
}
}  // namespace

MethodEditorDialog::MethodEditorDialog(const LibraryDialogContext& context, Mode mode, const Method* from,
                                       Method* editing, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::MethodEditorDialog>()), context_(context), mode_(mode),
      editing_(editing) {
  ui_->setupUi(this);
  setWindowTitle(Q(ModeWord(mode) + StageName(context.stage) + " Method"));
  ui_->c1058->setText(Q(StageName(context.stage)));
  if (from != nullptr) {
    const MethodForm form = FormOf(*from);
    ui_->c1056->setText(Q(form.name));
    ui_->c1057->setText(Q(form.notation));
    calls_ = form.calls;
  }
  FillCalls();
  ApplyColumnWidths(*ui_->c1060, *context.settings, CallColumns);
  connect(ui_->c1, &QPushButton::clicked, this, &MethodEditorDialog::accept);
  connect(ui_->c2, &QPushButton::clicked, this, &MethodEditorDialog::reject);
  connect(ui_->callNew, &QPushButton::clicked, this, [this] { EditCall(true); });
  connect(ui_->callEdit, &QPushButton::clicked, this, [this] { EditCall(false); });
  connect(ui_->c1060, &QTreeWidget::itemDoubleClicked, this, [this] { EditCall(false); });
  connect(ui_->callRemove, &QPushButton::clicked, this, &MethodEditorDialog::RemoveCall);
  connect(ui_->c1059, &QPushButton::clicked, this, &MethodEditorDialog::Delete);
  connect(ui_->c1115, &QPushButton::clicked, this, &MethodEditorDialog::Convert);
  connect(ui_->help, &QPushButton::clicked, this, [this] {
    if (context_.help) context_.help("library.html#methods");
  });
  ui_->c1059->setEnabled(editing_ != nullptr && mode == Mode::Edit);
  if (mode == Mode::View) {
    ui_->c1056->setReadOnly(true);
    ui_->c1057->setReadOnly(true);
    for (QWidget* w : {static_cast<QWidget*>(ui_->callNew), static_cast<QWidget*>(ui_->callEdit),
                       static_cast<QWidget*>(ui_->callRemove), static_cast<QWidget*>(ui_->c1115)})
      w->setEnabled(false);
  }
  ui_->c1056->setFocus();
}

MethodEditorDialog::~MethodEditorDialog() = default;

void MethodEditorDialog::FillCalls() {
  ui_->c1060->clear();
  for (const MethodCall& call : calls_) {
    auto* item = new QTreeWidgetItem(ui_->c1060);
    item->setText(0, QString(QChar(call.marker)));
    item->setText(1, Q(call.name));
    item->setText(2, QString(QChar(call.letter)));
    item->setText(3, Q(call.notation));
  }
}

void MethodEditorDialog::EditCall(bool isNew) {
  const int row = ui_->c1060->indexOfTopLevelItem(ui_->c1060->currentItem());
  if (!isNew && row < 0) return;
  CallDialog dialog(context_.stage, isNew ? nullptr : &calls_[static_cast<std::size_t>(row)], this);
  if (OvLibrary::RunModal(dialog) != QDialog::Accepted) return;
  if (isNew) calls_.push_back(dialog.call());
  else calls_[static_cast<std::size_t>(row)] = dialog.call();
  FillCalls();
  ui_->c1060->setCurrentItem(ui_->c1060->topLevelItem(isNew ? static_cast<int>(calls_.size()) - 1 : row));
}

void MethodEditorDialog::RemoveCall() {
  const int row = ui_->c1060->indexOfTopLevelItem(ui_->c1060->currentItem());
  if (row < 0) return;
  calls_.erase(calls_.begin() + row);
  FillCalls();
}

void MethodEditorDialog::Convert() {
  ui_->c1057->setText(Q(ConvertFromMicroSiril(S(ui_->c1057->text()), context_.stage)));
}

MethodForm MethodEditorDialog::ReadForm() const {
  return MethodForm{NormaliseBlanks(S(ui_->c1056->text())), NormaliseBlanks(S(ui_->c1057->text())), calls_};
}

bool MethodEditorDialog::SaveFiles() {
  Library& library = *context_.library;
  const std::string folder = library.folder().string();
  return ReportSave(this, library.SaveMethods(), folder, MethodsFile) &&
         ReportSave(this, library.SaveCompositions(), folder, CompositionsFile);
}

bool MethodEditorDialog::Store(const MethodForm& form) {
  Library& library = *context_.library;
  const Method value{context_.stage, form.name, AssembleLine(form.notation, form.calls)};
  if (editing_ != nullptr) {
    const Method before = *editing_;
    library.ChangeMethod(*editing_, value);
    if (SaveFiles()) {
      stored_ = editing_;
      return true;
    }
    library.ChangeMethod(*editing_, before);  // memory stays as the file is
    return false;
  }
  Method* added = library.AddMethod(value);
  if (added == nullptr) return false;
  if (SaveFiles()) {
    stored_ = added;
    return true;
  }
  library.TakeMethod(added);
  return false;
}

void MethodEditorDialog::accept() {
  if (mode_ == Mode::View) {
    QDialog::accept();
    return;
  }
  const MethodForm form = ReadForm();
  if (const Verdict verdict = CheckMethod(form, context_.stage, *context_.library, editing_)) {
    Complain(*this, *verdict);
    return;
  }
  if (Store(form)) QDialog::accept();
}

void MethodEditorDialog::Delete() {
  if (editing_ == nullptr) return;
  Library& library = *context_.library;
  if (MethodInUse(library, *editing_)) {
    OvLibrary::ShowMessageBox(this, "Unable to Delete", "Remove this method from compositions before deleting");
    return;
  }
  auto taken = library.TakeMethod(editing_);
  if (taken.first == nullptr) return;
  if (!SaveFiles()) {
    library.PutMethodBack(std::move(taken.first), taken.second);
    return;
  }
  if (context_.forget) context_.forget(editing_);
  editing_ = nullptr;
  done(Deleted);
}

void MethodEditorDialog::done(int result) {
  KeepColumnWidths(*ui_->c1060, *context_.settings, CallColumns);
  QDialog::done(result);
}

}  // namespace clangor
