#include "shell/framework/message_box.h"

namespace OvLibrary {

namespace {
MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}
}  // namespace

QMessageBox::StandardButton ShowMessageBox(QWidget* owner, const std::string& caption, const std::string& text,
                                           QMessageBox::StandardButtons buttons, QMessageBox::Icon icon) {
  if (Hook()) return Hook()(MessageBoxRecord{caption, text, buttons});
  QMessageBox box(icon, QString::fromStdString(caption), QString::fromStdString(text), buttons, owner);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

}  // namespace OvLibrary
