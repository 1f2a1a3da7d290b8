#include "library/dialogs/sequence_editor_dialog.h"

#include <QTextBlock>

#include <algorithm>

#include "library/dialogs/dialog_support.h"
#include "library/forms/sequence_form.h"
#include "library/library.h"
#include "ringing/call_change_sequence.h"
#include "ringing/text.h"
#include "ui_d134_sequence_editor.h"

namespace clangor {

SequenceEditorDialog::SequenceEditorDialog(const LibraryDialogContext& context, EditorMode mode,
                                           const CallChangeSequence* from, CallChangeSequence* editing,
                                           QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::SequenceEditorDialog>()), context_(context), mode_(mode),
      editing_(editing) {
  ui_->setupUi(this);
  const std::string bells = std::to_string(context.stage);
  if (mode == EditorMode::New) setWindowTitle(Q("New call change sequence for " + bells + " bells"));
  else
    setWindowTitle(Q((mode == EditorMode::View ? "View " : "Edit ") + bells + "-bell" +
                     " call change sequence: " + (from ? from->name : std::string())));
  if (from != nullptr) {
    ui_->c1150->setText(Q(from->name));
    ui_->c1057->setPlainText(Q(from->notation));
  }
  // The notation field reads at most this many characters.
  connect(ui_->c1057, &QPlainTextEdit::textChanged, this, [this] {
    const QString text = ui_->c1057->toPlainText();
    if (text.size() > SequenceNotationLength) ui_->c1057->setPlainText(text.left(SequenceNotationLength));
  });
  connect(ui_->c1, &QPushButton::clicked, this, &SequenceEditorDialog::accept);
  connect(ui_->c2, &QPushButton::clicked, this, &SequenceEditorDialog::reject);
  connect(ui_->c1149, &QPushButton::clicked, this, &SequenceEditorDialog::Delete);
  connect(ui_->c1148, &QPushButton::clicked, this, [this] {
    if (context_.help) context_.help("library.html#sequences");
  });
  ui_->c1149->setEnabled(mode == EditorMode::Edit && editing != nullptr);
  if (mode == EditorMode::View) {
    ui_->c1149->hide();
    ui_->c2->hide();
    ui_->c1150->setReadOnly(true);
    ui_->c1057->setReadOnly(true);
    ui_->c1->setText("Close");
  }
  ui_->c1150->setFocus();
}

SequenceEditorDialog::~SequenceEditorDialog() = default;

bool SequenceEditorDialog::Store(const CallChangeSequence& value) {
  Library& library = *context_.library;
  const auto save = [&] {
    return ReportSave(this, library.SaveCallChangeSequences(), library.folder().string(), SequencesFile);
  };
  if (editing_ != nullptr) {
    const CallChangeSequence before = *editing_;
    editing_->name = value.name;
    editing_->notation = value.notation;
    if (save()) {
      stored_ = editing_;
      return true;
    }
    *editing_ = before;  // memory stays as the file is
    return false;
  }
  CallChangeSequence* added = library.AddSequence(value);
  if (added == nullptr) return false;
  if (save()) {
    stored_ = added;
    return true;
  }
  auto& list = library.Sequences(value.stage);
  list.pop_back();
  return false;
}

void SequenceEditorDialog::accept() {
  if (mode_ == EditorMode::View) {
    QDialog::accept();
    return;
  }
  const std::string name = NormaliseBlanks(S(ui_->c1150->text()));
  const std::string notation = S(ui_->c1057->toPlainText());
  if (const Verdict verdict = CheckSequence(name, notation, context_.stage, *context_.library, editing_)) {
    Complain(*this, *verdict);
    return;
  }
  if (Store(CallChangeSequence{context_.stage, name, notation})) QDialog::accept();
}

void SequenceEditorDialog::Delete() {
  if (editing_ == nullptr) return;
  Library& library = *context_.library;
  auto& list = library.Sequences(context_.stage);
  const auto at = std::find_if(list.begin(), list.end(), [&](const auto& held) { return held.get() == editing_; });
  if (at == list.end()) return;
  const auto place = at - list.begin();
  std::unique_ptr<CallChangeSequence> taken = std::move(*at);
  list.erase(at);
  if (!ReportSave(this, library.SaveCallChangeSequences(), library.folder().string(), SequencesFile)) {
    list.insert(list.begin() + place, std::move(taken));
    return;
  }
  if (context_.forget) context_.forget(editing_);
  editing_ = nullptr;
  done(Deleted);
}

}  // namespace clangor
