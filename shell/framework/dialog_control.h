// Every control of a dialog layout (resources/dialog_<resource id>.ui) is
// named "control_" and its control identifier, so that the dialogs and their
// tests reach a control by the identifier the program knows it by.
#pragma once

#include <QString>
#include <QWidget>

namespace OvLibrary {

inline QString ControlName(int id) { return QStringLiteral("control_%1").arg(id); }

// The control `id` of `dialog`, or null when the layout has none of that type.
template <class Control>
Control* DialogControl(const QWidget* dialog, int id) {
  return dialog->findChild<Control*>(ControlName(id));
}

}  // namespace OvLibrary
