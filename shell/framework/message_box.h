// Every message box of the program goes through here: the caption and text
// as the program words them, the buttons, and the owner. A test installs a
// hook that records each box and answers it with the button it chooses.
#pragma once

#include <QMessageBox>

#include <functional>
#include <string>

namespace OvLibrary {

struct MessageBoxRecord {
  std::string caption;
  std::string text;
  QMessageBox::StandardButtons buttons;
};

using MessageBoxHook = std::function<QMessageBox::StandardButton(const MessageBoxRecord&)>;

// Shows the box modally over `owner` (none: no owner) and returns the
// button pressed; with a hook installed, the hook answers instead.
QMessageBox::StandardButton ShowMessageBox(QWidget* owner, const std::string& caption, const std::string& text,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                           QMessageBox::Icon icon = QMessageBox::Information);
// Installs (or, with an empty hook, removes) the answering hook. Tests only.
void SetMessageBoxHook(MessageBoxHook hook);

}  // namespace OvLibrary
