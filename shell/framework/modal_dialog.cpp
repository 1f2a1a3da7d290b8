#include "shell/framework/modal_dialog.h"

namespace OvLibrary {

namespace {
ModalHook& Hook() {
  static ModalHook hook;
  return hook;
}
}  // namespace

int RunModal(QDialog& dialog) {
  if (!Hook()) return dialog.exec();
  dialog.setResult(QDialog::Rejected);
  dialog.show();
  const ModalHook hook = Hook();  // the hook may replace itself
  hook(dialog);
  if (dialog.isVisible()) dialog.reject();
  return dialog.result();
}

void SetModalHook(ModalHook hook) { Hook() = std::move(hook); }

}  // namespace OvLibrary
