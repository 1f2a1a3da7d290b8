// The method list of the ring's stage.
#pragma once

#include <memory>

#include "library/dialogs/record_list_dialog.h"

namespace Ui {
class MethodListDialog;
}

namespace clangor {

class MethodListDialog final : public RecordListDialog {
  Q_OBJECT
 public:
  MethodListDialog(const LibraryDialogContext& context, QWidget* parent);
  ~MethodListDialog() override;

 public slots:
  void done(int result) override;

 protected:
  std::vector<Entry> Records() const override;
  void RingRecord(const void* record) override;
  const void* Edit(EditorMode mode, const void* from, void* editing, bool* changed) override;

 private:
  std::unique_ptr<Ui::MethodListDialog> ui_;
};

}  // namespace clangor
