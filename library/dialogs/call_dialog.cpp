#include "library/dialogs/call_dialog.h"

#include "library/dialogs/dialog_support.h"
#include "ringing/text.h"
#include "ui_d125_call.h"

namespace clangor {

CallDialog::CallDialog(int stage, const MethodCall* call, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CallDialog>()), stage_(stage) {
  ui_->setupUi(this);
  setWindowTitle(call == nullptr ? "New Call" : "Modify Call");
  connect(ui_->c1, &QPushButton::clicked, this, &CallDialog::accept);
  connect(ui_->c2, &QPushButton::clicked, this, &CallDialog::reject);
  if (call != nullptr) {
    ui_->c1061->setText(QString(QChar(call->marker)));
    ui_->c1062->setText(Q(call->name));
    ui_->c1063->setText(QString(QChar(call->letter)));
    ui_->c1064->setText(Q(call->notation));
  }
}

CallDialog::~CallDialog() = default;

void CallDialog::accept() {
  const std::string marker = S(ui_->c1061->text()), name = S(ui_->c1062->text()), letter = S(ui_->c1063->text()),
                    notation = S(ui_->c1064->text());
  if (const Verdict verdict = CheckCall(marker, name, letter, notation, stage_)) {
    Complain(*this, *verdict);
    return;
  }
  call_ = MethodCall{marker[0], NormaliseBlanks(name), letter[0], NormaliseBlanks(notation)};
  QDialog::accept();
}

}  // namespace clangor
