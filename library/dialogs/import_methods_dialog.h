// The dialog that imports methods from a method collection file: the
// methods the file holds, each with a check box, a filter over their titles,
// and the choice of the standard Bob and Single; the ticked methods that the
// filter shows are added to the library, which is written once.
#pragma once

#include <QDialog>
#include <QString>

#include <vector>

#include "library/method_collection.h"
#include "library/method_import.h"

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace clangor {

class Library;

class ImportMethodsDialog : public QDialog {
  Q_OBJECT

 public:
  ImportMethodsDialog(Library& library, QWidget* parent = nullptr);

  // Reads the collection file and lists its methods; false (after a message
  // box saying why) when it is no collection.
  bool LoadCollection(const QString& path);

  // What the last import did.
  const ImportReport& report() const { return report_; }

  // The list's columns.
  enum Column { TitleColumn, StageColumn, NoteColumn };

 private:
  void Relist();
  void ApplyFilter();
  void UpdateCount();
  void Import();
  // The row's candidate can be chosen: not refused and not in the library.
  bool Choosable(const ImportCandidate& candidate) const;

  Library& library_;
  MethodCollection collection_;
  std::vector<ImportCandidate> candidates_;  // one per row, in file order
  ImportReport report_;

  QLabel* file_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QCheckBox* withCalls_ = nullptr;
  QTreeWidget* list_ = nullptr;
  QLabel* count_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  QPushButton* import_ = nullptr;
};

// Asks for a collection file, shows the dialog over `parent` and imports
// what the ringer chooses. True when methods were added (the method list
// then shows them).
bool ImportMethodsFromFile(QWidget* parent, Library& library);

}  // namespace clangor
