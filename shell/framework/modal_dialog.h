// Every modal dialog of the program runs through here, so that a test can
// work a dialog as the user would (fill its fields, press its buttons)
// instead of the dialog's own event loop.
#pragma once

#include <QDialog>

#include <functional>

namespace OvLibrary {

using ModalHook = std::function<void(QDialog& dialog)>;

// Runs the dialog modally and returns what it ended with. With a hook
// installed, the dialog is shown, the hook works it and its result is
// returned (a dialog the hook left open counts as rejected).
int RunModal(QDialog& dialog);
// Installs (or, with an empty hook, removes) the hook. Tests only.
void SetModalHook(ModalHook hook);

}  // namespace OvLibrary
