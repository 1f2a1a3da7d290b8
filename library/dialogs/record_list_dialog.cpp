#include "library/dialogs/record_list_dialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

#include "library/dialogs/dialog_support.h"
#include "ringing/settings_source.h"

namespace clangor {

RecordListDialog::RecordListDialog(const LibraryDialogContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {}

void RecordListDialog::Connect(const Controls& controls, const char* helpTopic) {
  controls_ = controls;
  controls.list->header()->setSectionsClickable(true);
  connect(controls.list->header(), &QHeaderView::sectionClicked, this, [this] { SetAlphabetical(!alphabetical_); });
  connect(controls.list, &QTreeWidget::itemDoubleClicked, this, &RecordListDialog::accept);
  connect(controls.go, &QPushButton::clicked, this, &RecordListDialog::accept);
  connect(controls.close, &QPushButton::clicked, this, &RecordListDialog::reject);
  connect(controls.apply, &QPushButton::clicked, this, &RecordListDialog::Ring);
  connect(controls.edit, &QPushButton::clicked, this,
          [this] { OpenEditor(context_.viewOnly ? EditorMode::View : EditorMode::Edit, false); });
  connect(controls.copy, &QPushButton::clicked, this, [this] { OpenEditor(EditorMode::New, true); });
  connect(controls.create, &QPushButton::clicked, this, [this] { OpenEditor(EditorMode::New, false); });
  const std::string topic = helpTopic;
  connect(controls.help, &QPushButton::clicked, this, [this, topic] {
    if (context_.help) context_.help(topic);
  });
  if (context_.viewOnly) controls.edit->setText("View...");
  controls.create->setEnabled(!context_.viewOnly);
  Fill(nullptr);
}

void RecordListDialog::SetAlphabetical(bool alphabetical) {
  alphabetical_ = alphabetical;
  Fill(current());
}

void RecordListDialog::Fill(const void* select) {
  QTreeWidget& list = *controls_.list;
  list.clear();
  list.headerItem()->setText(0, OrderHeader(alphabetical_));
  std::vector<Entry> entries = Records();
  // The ticks go with library order: they mark the records the menus offer.
  const auto limit = std::clamp<std::ptrdiff_t>(context_.settings->GetInt(setting::MethodLimit), 0,
                                                static_cast<std::ptrdiff_t>(entries.size()));
  std::vector<const void*> ticked;
  for (std::ptrdiff_t i = 0; i < limit; ++i) ticked.push_back(entries[static_cast<std::size_t>(i)].record);
  if (alphabetical_)
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.title < b.title; });
  const QIcon tick = TickIcon(context_.tickImage), blank = BlankIcon(tick);
  for (const Entry& entry : entries) {
    auto* item = new QTreeWidgetItem(&list);
    item->setText(0, Q(entry.title));
    item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(entry.record)));
    const bool isTicked = std::find(ticked.begin(), ticked.end(), entry.record) != ticked.end();
    item->setIcon(0, isTicked ? tick : blank);
    item->setData(0, Qt::UserRole + 1, isTicked);
    if (entry.record == select) list.setCurrentItem(item);
  }
  if (list.currentItem() == nullptr && list.topLevelItemCount() > 0) list.setCurrentItem(list.topLevelItem(0));
  const bool any = list.topLevelItemCount() > 0;
  for (QPushButton* button : {controls_.go, controls_.apply, controls_.edit}) button->setEnabled(any);
  controls_.copy->setEnabled(any && !context_.viewOnly);
}

const void* RecordListDialog::current() const {
  const QTreeWidgetItem* item = controls_.list->currentItem();
  if (item == nullptr) return nullptr;
  return reinterpret_cast<const void*>(item->data(0, Qt::UserRole).value<quintptr>());
}

void RecordListDialog::Ring() {
  if (const void* record = current()) RingRecord(record);
}

void RecordListDialog::accept() {
  if (current() == nullptr) return;
  Ring();
  QDialog::accept();
}

void RecordListDialog::OpenEditor(EditorMode mode, bool copy) {
  const void* chosen = current();
  if ((mode != EditorMode::New || copy) && chosen == nullptr) return;
  bool changed = false;
  const void* select = Edit(mode, mode == EditorMode::New && !copy ? nullptr : chosen,
                            mode == EditorMode::New ? nullptr : const_cast<void*>(chosen), &changed);
  if (changed) Fill(select);
}

}  // namespace clangor
