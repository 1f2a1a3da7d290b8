// Small pieces the library's dialogs share: complaints shown as the editors
// show them, a library file that could not be written, list columns and
// dialog sizes kept in the settings, the tick mark and the list order.
#pragma once

#include <QIcon>
#include <QString>

#include <string>
#include <vector>

#include "library/forms/complaint.h"

class QDialog;
class QTreeWidget;
class QWidget;

namespace clangor {

class SettingsSource;

// Shows the complaint's message box and puts the focus on its field (a
// child of `dialog` named "c" + the field's id).
void Complain(QDialog& dialog, const Complaint& complaint);

// Says in a message box that a library file could not be written (`saved`
// false); the caller keeps the dialog and its fields as they are. True
// when it was written.
bool ReportSave(QWidget* owner, bool saved, const std::string& folder, const char* file);

// Column widths of a list from the settings, and back.
void ApplyColumnWidths(QTreeWidget& list, const SettingsSource& settings, const std::vector<int>& indexes);
void KeepColumnWidths(const QTreeWidget& list, SettingsSource& settings, const std::vector<int>& indexes);

// The tick mark of the first items of a list, and a blank of its size.
QIcon TickIcon(const std::string& path);
QIcon BlankIcon(const QIcon& like);

// The column header of a list in library order or by title.
QString OrderHeader(bool alphabetical);

inline QString Q(const std::string& text) { return QString::fromStdString(text); }
inline std::string S(const QString& text) { return text.toStdString(); }

}  // namespace clangor
