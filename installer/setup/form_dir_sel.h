// The folder chooser: a folder tree and the path typed or picked in it.
#pragma once

#include <QDialog>

class QLineEdit;
class QTreeView;
class QFileSystemModel;

namespace clangor::outfit {

class TFormDirSel : public QDialog {
 public:
  TFormDirSel(const QString& title, const QString& folder, QWidget* parent = nullptr);
  QString Folder() const;

 private:
  QLineEdit* path_;
  QTreeView* tree_;
  QFileSystemModel* model_;
};

}  // namespace clangor::outfit
