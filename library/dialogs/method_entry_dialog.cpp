#include "library/dialogs/method_entry_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "library/dialogs/dialog_support.h"
#include "library/library.h"
#include "ringing/text.h"
#include "shell/framework/message_box.h"
#include "shell/framework/modal_dialog.h"
#include "ui_d131_method_entry.h"

namespace clangor {

MethodEntryDialog::MethodEntryDialog(const Library& library, const EntryFields* entry, std::vector<EntryFields> others,
                                     std::string bells, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::MethodEntryDialog>()), library_(library), others_(std::move(others)),
      bells_(std::move(bells)) {
  ui_->setupUi(this);
  setWindowTitle(entry == nullptr ? "New Method Entry" : "Modify Method Entry");
  ui_->c1078->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this));
  if (entry != nullptr) {
    ui_->c1076->setText(Q(entry->title));
    ui_->c1077->setText(Q(entry->label));
    ui_->c1078->setText(Q(entry->length));
    ui_->c1079->setText(Q(entry->specialCalls));
  }
  connect(ui_->c1, &QPushButton::clicked, this, &MethodEntryDialog::accept);
  connect(ui_->c2, &QPushButton::clicked, this, &MethodEntryDialog::reject);
  connect(ui_->c1095, &QPushButton::clicked, this, &MethodEntryDialog::Select);
}

MethodEntryDialog::~MethodEntryDialog() = default;

void MethodEntryDialog::Select() {
  if (!BellsReadable(bells_)) {
    OvLibrary::ShowMessageBox(this, "Unknown Number of Bells", "The 'Bells' field on the main form may be invalid");
    return;
  }
  QDialog picker(this);
  picker.setObjectName("selectMethod");
  picker.setWindowTitle("Select Method");
  auto* layout = new QVBoxLayout(&picker);
  auto* list = new QListWidget(&picker);
  list->setObjectName("methods");
  const auto stages = ReadStages(bells_);
  for (int stage = MinStage; stage <= MaxStage; ++stage)
    if (stages.test(static_cast<std::size_t>(stage)))
      for (const auto& method : library_.Methods(stage)) list->addItem(Q(method->Title()));
  list->setCurrentRow(0);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &picker);
  layout->addWidget(list);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, &picker, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &picker, &QDialog::reject);
  connect(list, &QListWidget::itemDoubleClicked, &picker, &QDialog::accept);
  if (OvLibrary::RunModal(picker) == QDialog::Accepted && list->currentItem() != nullptr)
    ui_->c1076->setText(list->currentItem()->text());
}

void MethodEntryDialog::accept() {
  const EntryFields entry{NormaliseBlanks(S(ui_->c1076->text())), NormaliseBlanks(S(ui_->c1077->text())),
                          NormaliseBlanks(S(ui_->c1078->text())), NormaliseBlanks(S(ui_->c1079->text()))};
  if (const Verdict verdict = CheckEntry(entry, others_, bells_, library_)) {
    Complain(*this, *verdict);
    return;
  }
  entry_ = entry;
  QDialog::accept();
}

}  // namespace clangor
