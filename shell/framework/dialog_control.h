// Every control of a dialog layout (resources/dialogs/d<resource id>_<name>.ui)
// is named "c" and its control identifier, so that the dialogs and their
// tests reach a control by the identifier the program knows it by.
#pragma once

#include <QString>
#include <QWidget>

namespace OvLibrary {

inline QString ControlName(int id) { return QStringLiteral("c%1").arg(id); }

// The control `id` of `dialog`, or null when the layout has none of that type.
template <class Control>
Control* DialogControl(const QWidget* dialog, int id) {
  return dialog->findChild<Control*>(ControlName(id));
}

}  // namespace OvLibrary
