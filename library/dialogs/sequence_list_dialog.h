// The call-change sequence list of the ring's stage.
#pragma once

#include <memory>

#include "library/dialogs/record_list_dialog.h"

namespace Ui {
class SequenceListDialog;
}

namespace clangor {

class SequenceListDialog final : public RecordListDialog {
  Q_OBJECT
 public:
  SequenceListDialog(const LibraryDialogContext& context, QWidget* parent);
  ~SequenceListDialog() override;

 protected:
  std::vector<Entry> Records() const override;
  void RingRecord(const void* record) override;
  const void* Edit(EditorMode mode, const void* from, void* editing, bool* changed) override;

 private:
  std::unique_ptr<Ui::SequenceListDialog> ui_;
};

}  // namespace clangor
