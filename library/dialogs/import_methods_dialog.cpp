#include "library/dialogs/import_methods_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <set>

#include "library/library.h"
#include "ringing/bells.h"
#include "shell/framework/message_box.h"

namespace clangor {

namespace {

constexpr const char* Caption = "Import Methods";

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ImportMethodsDialog::ImportMethodsDialog(Library& library, QWidget* parent) : QDialog(parent), library_(library) {
  setWindowTitle(Caption);
  file_ = new QLabel(this);
  file_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  filter_ = new QLineEdit(this);
  filter_->setPlaceholderText("Part of a title, e.g. Surprise Major");
  filter_->setClearButtonEnabled(true);
  auto* filterLabel = new QLabel("&Filter:", this);
  filterLabel->setBuddy(filter_);
  withCalls_ = new QCheckBox("Add the standard &Bob and Single as calls", this);
  withCalls_->setChecked(true);

  list_ = new QTreeWidget(this);
  list_->setColumnCount(3);
  list_->setHeaderLabels({"Method", "Stage", "Line in the library, or why not"});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->header()->setSectionResizeMode(TitleColumn, QHeaderView::Interactive);
  list_->header()->setStretchLastSection(true);
  list_->setColumnWidth(TitleColumn, 300);
  list_->setColumnWidth(StageColumn, 70);

  count_ = new QLabel(this);
  buttons_ = new QDialogButtonBox(this);
  auto* all = buttons_->addButton("Tick &All", QDialogButtonBox::ActionRole);
  auto* none = buttons_->addButton("Tick &None", QDialogButtonBox::ActionRole);
  import_ = buttons_->addButton("&Import", QDialogButtonBox::AcceptRole);
  import_->setDefault(true);
  buttons_->addButton(QDialogButtonBox::Cancel);

  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(filterLabel);
  filterRow->addWidget(filter_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(file_);
  layout->addLayout(filterRow);
  layout->addWidget(withCalls_);
  layout->addWidget(list_, 1);
  layout->addWidget(count_);
  layout->addWidget(buttons_);
  resize(640, 480);

  connect(filter_, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
  connect(withCalls_, &QCheckBox::toggled, this, [this] { Relist(); });
  connect(list_, &QTreeWidget::itemChanged, this, [this] { UpdateCount(); });
  auto tickShown = [this](bool ticked) {
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
      QTreeWidgetItem* item = list_->topLevelItem(row);
      if (!item->isHidden() && (item->flags() & Qt::ItemIsEnabled)) item->setCheckState(TitleColumn, ticked ? Qt::Checked : Qt::Unchecked);
    }
  };
  connect(all, &QPushButton::clicked, this, [tickShown] { tickShown(true); });
  connect(none, &QPushButton::clicked, this, [tickShown] { tickShown(false); });
  connect(buttons_, &QDialogButtonBox::accepted, this, [this] { Import(); });
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool ImportMethodsDialog::LoadCollection(const QString& path) {
  MethodCollection collection = ReadMethodCollectionFile(path.toStdString());
  if (!collection.error.empty()) {
    OvLibrary::ShowMessageBox(this, Caption, QFileInfo(path).fileName().toStdString() + ": " + collection.error,
                              QMessageBox::Ok, QMessageBox::Warning);
    return false;
  }
  collection_ = std::move(collection);
  file_->setText(QString("%1 methods in %2").arg(collection_.methods.size()).arg(QFileInfo(path).fileName()));
  Relist();
  return true;
}

bool ImportMethodsDialog::Choosable(const ImportCandidate& candidate) const {
  return candidate.refusal.empty() && !LibraryHolds(library_, candidate);
}

void ImportMethodsDialog::Relist() {
  // The ticks stay with their titles when the lines are made again.
  std::set<std::string> unticked;
  for (int row = 0; row < list_->topLevelItemCount(); ++row) {
    if (list_->topLevelItem(row)->checkState(TitleColumn) == Qt::Unchecked)
      unticked.insert(candidates_[static_cast<std::size_t>(row)].title);
  }
  candidates_ = PrepareImport(collection_.methods, withCalls_->isChecked());
  const QSignalBlocker blocker(list_);
  list_->clear();
  for (const ImportCandidate& candidate : candidates_) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(TitleColumn, Text(candidate.title));
    item->setText(StageColumn, candidate.method.stage != 0 ? Text(StageName(candidate.method.stage)) : QString());
    const bool choosable = Choosable(candidate);
    if (!candidate.refusal.empty()) {
      item->setText(NoteColumn, Text("Refused: " + candidate.refusal));
    } else if (!choosable) {
      item->setText(NoteColumn, "Already in the library");
    } else {
      item->setText(NoteColumn, Text(candidate.method.line));
    }
    item->setToolTip(NoteColumn, item->text(NoteColumn));
    item->setCheckState(TitleColumn, choosable && unticked.count(candidate.title) == 0 ? Qt::Checked : Qt::Unchecked);
    if (!choosable) item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
  }
  ApplyFilter();
}

void ImportMethodsDialog::ApplyFilter() {
  const ImportFilter filter{0, filter_->text().toStdString()};
  for (int row = 0; row < list_->topLevelItemCount(); ++row)
    list_->topLevelItem(row)->setHidden(!filter.Chooses(candidates_[static_cast<std::size_t>(row)]));
  UpdateCount();
}

void ImportMethodsDialog::UpdateCount() {
  int shown = 0, ticked = 0;
  for (int row = 0; row < list_->topLevelItemCount(); ++row) {
    const QTreeWidgetItem* item = list_->topLevelItem(row);
    if (item->isHidden()) continue;
    ++shown;
    if (item->checkState(TitleColumn) == Qt::Checked) ++ticked;
  }
  count_->setText(QString("%1 shown, %2 ticked to import").arg(shown).arg(ticked));
  import_->setEnabled(ticked > 0);
}

void ImportMethodsDialog::Import() {
  std::vector<ImportCandidate> chosen;
  for (int row = 0; row < list_->topLevelItemCount(); ++row) {
    const QTreeWidgetItem* item = list_->topLevelItem(row);
    if (!item->isHidden() && item->checkState(TitleColumn) == Qt::Checked)
      chosen.push_back(candidates_[static_cast<std::size_t>(row)]);
  }
  if (!ImportIntoLibrary(library_, chosen, &report_)) {
    OvLibrary::ShowMessageBox(this, Caption,
                              "The library's methods could not be written, so nothing was imported. "
                              "The library is as it was.",
                              QMessageBox::Ok, QMessageBox::Warning);
    report_ = {};
    return;
  }
  accept();
}

bool ImportMethodsFromFile(QWidget* parent, Library& library) {
  const QString path = QFileDialog::getOpenFileName(parent, Caption, QString(),
                                                    "Method collections (*.xml);;All files (*)");
  if (path.isEmpty()) return false;
  ImportMethodsDialog dialog(library, parent);
  if (!dialog.LoadCollection(path)) return false;
  return dialog.exec() == QDialog::Accepted && dialog.report().added > 0;
}

}  // namespace clangor
