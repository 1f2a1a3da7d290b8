#include "installer/setup/form_dir_sel.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>

namespace clangor::outfit {

TFormDirSel::TFormDirSel(const QString& title, const QString& folder, QWidget* parent)
    : QDialog(parent), path_(new QLineEdit(folder)), tree_(new QTreeView), model_(new QFileSystemModel(this)) {
  setObjectName("TFormDirSel");
  setWindowTitle(title);
  model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  model_->setRootPath(QDir::rootPath());
  tree_->setModel(model_);
  for (int column = 1; column < model_->columnCount(); ++column) tree_->hideColumn(column);
  // Show the deepest existing folder of the path the dialog starts with.
  QDir existing(folder);
  while (!existing.exists() && existing.cdUp()) {}
  tree_->setCurrentIndex(model_->index(existing.absolutePath()));
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& index) { path_->setText(model_->filePath(index)); });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(path_);
  layout->addWidget(tree_);
  layout->addWidget(buttons);
  resize(420, 360);
}

QString TFormDirSel::Folder() const { return QDir::cleanPath(path_->text()); }

}  // namespace clangor::outfit
