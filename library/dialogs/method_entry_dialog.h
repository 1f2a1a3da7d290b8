// One method entry of a composition: the method's title (or Select... from
// the library's methods for the composition's bells), a label or a length,
// and special calls ("New Method Entry" or "Modify Method Entry").
#pragma once

#include <QDialog>

#include <memory>

#include "library/forms/composition_form.h"

namespace Ui {
class MethodEntryDialog;
}

namespace clangor {

class Library;

class MethodEntryDialog final : public QDialog {
  Q_OBJECT
 public:
  // `entry` none: a new entry. `others`: the composition's other entries;
  // `bells`: its "Bells" field as typed.
  MethodEntryDialog(const Library& library, const EntryFields* entry, std::vector<EntryFields> others,
                    std::string bells, QWidget* parent);
  ~MethodEntryDialog() override;

  const EntryFields& entry() const { return entry_; }

 public slots:
  void accept() override;

 private:
  void Select();

  std::unique_ptr<Ui::MethodEntryDialog> ui_;
  const Library& library_;
  std::vector<EntryFields> others_;
  std::string bells_;
  EntryFields entry_;
};

}  // namespace clangor
