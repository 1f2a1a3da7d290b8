#include "library/dialogs/dialog_support.h"

#include <QDialog>
#include <QHeaderView>
#include <QPainter>
#include <QPixmap>
#include <QTreeWidget>

#include <filesystem>

#include "ringing/settings_source.h"
#include "shell/framework/message_box.h"

namespace clangor {

void Complain(QDialog& dialog, const Complaint& complaint) {
  OvLibrary::ShowMessageBox(&dialog, complaint.caption, complaint.text, QMessageBox::Ok, QMessageBox::Warning);
  if (auto* field = dialog.findChild<QWidget*>("c" + QString::number(complaint.field))) field->setFocus();
}

bool ReportSave(QWidget* owner, bool saved, const std::string& folder, const char* file) {
  if (saved) return true;
  const std::string path = folder.empty() ? std::string(file) : (std::filesystem::path(folder) / file).string();
  OvLibrary::ShowMessageBox(owner, "Unable to Save",
                            "The library file " + path +
                                " could not be written (the folder may be read-only, or the disk full).\n"
                                "The file is as it was before; your changes are still in the dialog.",
                            QMessageBox::Ok, QMessageBox::Warning);
  return false;
}

void ApplyColumnWidths(QTreeWidget& list, const SettingsSource& settings, const std::vector<int>& indexes) {
  for (std::size_t i = 0; i < indexes.size(); ++i) {
    const int width = settings.GetInt(indexes[i]);
    if (width > 0) list.setColumnWidth(static_cast<int>(i), width);
  }
}

void KeepColumnWidths(const QTreeWidget& list, SettingsSource& settings, const std::vector<int>& indexes) {
  for (std::size_t i = 0; i < indexes.size(); ++i) settings.SetInt(indexes[i], list.columnWidth(static_cast<int>(i)));
}

QIcon TickIcon(const std::string& path) {
  QPixmap tick(Q(path));
  if (tick.isNull()) {
    // Without the picture, a tick of our own.
    tick = QPixmap(16, 16);
    tick.fill(Qt::transparent);
    QPainter painter(&tick);
    painter.setPen(QPen(Qt::darkGreen, 2));
    painter.drawLine(3, 8, 6, 12);
    painter.drawLine(6, 12, 13, 3);
  }
  return QIcon(tick);
}

QIcon BlankIcon(const QIcon& like) {
  const QList<QSize> sizes = like.availableSizes();
  QPixmap blank(sizes.isEmpty() ? QSize(16, 16) : sizes.first());
  blank.fill(Qt::transparent);
  return QIcon(blank);
}

QString OrderHeader(bool alphabetical) {
  return alphabetical ? QStringLiteral("(alphabetical order)") : QStringLiteral("(in order of usage)");
}

}  // namespace clangor
