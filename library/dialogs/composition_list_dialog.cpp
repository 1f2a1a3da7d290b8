#include "library/dialogs/composition_list_dialog.h"

#include <QHeaderView>

#include <algorithm>

#include "library/dialogs/composition_editor_dialog.h"
#include "library/dialogs/dialog_support.h"
#include "library/library.h"
#include "ringing/composition_text.h"
#include "ringing/settings_source.h"
#include "shell/framework/modal_dialog.h"
#include "shell/settings_table.h"
#include "ui_d106_composition_list.h"

namespace clangor {

namespace {
constexpr int ButtonsWidth = 130;  // the column of buttons and the margins
const std::vector<int> Columns = {setting::CNameCol, setting::CLengthCol, setting::CSourceCol, setting::CComposerCol};

// The label of the general list without its length.
std::string LabelOf(const Composition& composition) {
  const std::string label = DisplayLabel(composition);
  return label.substr(0, label.find(" \t"));
}
}  // namespace

CompositionListDialog::CompositionListDialog(const LibraryDialogContext& context, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CompositionListDialog>()), context_(context) {
  ui_->setupUi(this);
  setWindowTitle("Compositions");
  resize(context.settings->GetInt(setting::CListDlgWidth), context.settings->GetInt(setting::CListDlgHeight));
  ApplyColumnWidths(*ui_->c1051, *context.settings, Columns);
  // The list, with the description under it, keeps its width; the buttons take the rest.
  ui_->c1051->setMinimumWidth(std::min(context.settings->GetInt(setting::CListViewWidth), width() - ButtonsWidth));
  ui_->c1051->header()->setSectionsClickable(true);
  connect(ui_->c1051->header(), &QHeaderView::sectionClicked, this, [this] { SetAlphabetical(!alphabetical_); });
  connect(ui_->c1051, &QTreeWidget::currentItemChanged, this, &CompositionListDialog::Describe);
  connect(ui_->c1051, &QTreeWidget::itemDoubleClicked, this, &CompositionListDialog::accept);
  connect(ui_->c1, &QPushButton::clicked, this, &CompositionListDialog::accept);
  connect(ui_->c2, &QPushButton::clicked, this, &CompositionListDialog::reject);
  connect(ui_->c1050, &QPushButton::clicked, this, &CompositionListDialog::Ring);
  connect(ui_->c1068, &QPushButton::clicked, this,
          [this] { OpenEditor(context_.viewOnly ? EditorMode::View : EditorMode::Edit, false); });
  connect(ui_->c1069, &QPushButton::clicked, this, [this] { OpenEditor(EditorMode::New, true); });
  connect(ui_->c1070, &QPushButton::clicked, this, [this] { OpenEditor(EditorMode::New, false); });
  connect(ui_->c1127, &QPushButton::clicked, this, [this] {
    if (context_.help) context_.help("library.html#compositions");
  });
  if (context.viewOnly) ui_->c1068->setText("View...");
  ui_->c1070->setEnabled(!context.viewOnly);
  Fill(nullptr);
}

CompositionListDialog::~CompositionListDialog() = default;

void CompositionListDialog::SetAlphabetical(bool alphabetical) {
  alphabetical_ = alphabetical;
  Fill(current());
}

void CompositionListDialog::Fill(const Composition* select) {
  QTreeWidget& list = *ui_->c1051;
  list.clear();
  list.headerItem()->setText(0, "Composition " + OrderHeader(alphabetical_));
  std::vector<Composition*> compositions;
  for (const auto& composition : context_.library->compositions()) compositions.push_back(composition.get());
  const auto limit = std::clamp<std::ptrdiff_t>(context_.settings->GetInt(setting::CompositionLimit), 0,
                                                static_cast<std::ptrdiff_t>(compositions.size()));
  const std::vector<Composition*> ticked(compositions.begin(), compositions.begin() + limit);
  if (alphabetical_)
    std::stable_sort(compositions.begin(), compositions.end(),
                     [](const Composition* a, const Composition* b) { return LabelOf(*a) < LabelOf(*b); });
  const QIcon tick = TickIcon(context_.tickImage), blank = BlankIcon(tick);
  for (Composition* composition : compositions) {
    auto* item = new QTreeWidgetItem(&list);
    item->setText(0, Q(LabelOf(*composition)));
    if (composition->length > 0) item->setText(1, QString::number(composition->length));
    item->setText(2, Q(composition->source));
    item->setText(3, Q(composition->composer));
    item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(composition)));
    const bool isTicked = std::find(ticked.begin(), ticked.end(), composition) != ticked.end();
    item->setIcon(0, isTicked ? tick : blank);
    item->setData(0, Qt::UserRole + 1, isTicked);
    if (composition == select) list.setCurrentItem(item);
  }
  if (list.currentItem() == nullptr && list.topLevelItemCount() > 0) list.setCurrentItem(list.topLevelItem(0));
  const bool any = list.topLevelItemCount() > 0;
  for (QPushButton* button : {ui_->c1, ui_->c1050, ui_->c1068}) button->setEnabled(any);
  ui_->c1069->setEnabled(any && !context_.viewOnly);
  Describe();
}

void CompositionListDialog::Describe() {
  const Composition* composition = current();
  QString text = composition ? Q(DescriptionText(*composition)) : QString();
  ui_->c1052->setPlainText(text.replace("\r\n", "\n"));
}

Composition* CompositionListDialog::current() const {
  const QTreeWidgetItem* item = ui_->c1051->currentItem();
  if (item == nullptr) return nullptr;
  return reinterpret_cast<Composition*>(item->data(0, Qt::UserRole).value<quintptr>());
}

void CompositionListDialog::Ring() {
  if (Composition* composition = current(); composition != nullptr && context_.ringComposition)
    context_.ringComposition(*composition);
}

void CompositionListDialog::accept() {
  if (current() == nullptr) return;
  Ring();
  QDialog::accept();
}

void CompositionListDialog::OpenEditor(EditorMode mode, bool copy) {
  Composition* chosen = current();
  if ((mode != EditorMode::New || copy) && chosen == nullptr) return;
  CompositionEditorDialog editor(context_, mode, mode == EditorMode::New && !copy ? nullptr : chosen,
                                 mode == EditorMode::New ? nullptr : chosen, this);
  const int result = OvLibrary::RunModal(editor);
  if (result == QDialog::Accepted) Fill(editor.stored());
  else if (result == CompositionEditorDialog::Deleted) Fill(nullptr);
}

void CompositionListDialog::done(int result) {
  KeepColumnWidths(*ui_->c1051, *context_.settings, Columns);
  context_.settings->SetInt(setting::CListViewWidth, ui_->c1051->width());
  context_.settings->SetInt(setting::CListDlgWidth, width());
  context_.settings->SetInt(setting::CListDlgHeight, height());
  QDialog::done(result);
}

}  // namespace clangor
