#include "library/dialogs/composition_editor_dialog.h"

#include <QRegularExpressionValidator>

#include "library/dialogs/dialog_support.h"
#include "library/composition_file.h"
#include "library/dialogs/method_entry_dialog.h"
#include "library/library.h"
#include "ringing/composition_builder.h"
#include "ringing/settings_source.h"
#include "ringing/text.h"
#include "shell/framework/message_box.h"
#include "shell/framework/modal_dialog.h"
#include "shell/settings_table.h"
#include "ui_d126_composition_editor.h"

namespace clangor {

namespace {
const std::vector<int> EntryColumns = {setting::CMNameCol, setting::CMLabelCol, setting::CMLengthCol,
                                       setting::CMCallsCol};
const std::vector<int> HeadingColumns = {setting::HeadingNameCol, setting::HeadingPosCol};
const std::vector<int> StandardColumns = {setting::StdHeadIdCol, setting::StdHeadingsCol};
}  // namespace

CompositionEditorDialog::CompositionEditorDialog(const LibraryDialogContext& context, EditorMode mode,
                                                 const Composition* from, Composition* editing, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CompositionEditorDialog>()), context_(context), mode_(mode),
      editing_(editing) {
  ui_->setupUi(this);
  SettingsSource& settings = *context.settings;
  resize(settings.GetInt(setting::CEditDlgWidth), settings.GetInt(setting::CEditDlgHeight));
  ApplyColumnWidths(*ui_->c1071, settings, EntryColumns);
  ApplyColumnWidths(*ui_->c1088, settings, HeadingColumns);
  ApplyColumnWidths(*ui_->c1101, settings, StandardColumns);
  auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
  ui_->c1082->setValidator(digits);
  ui_->c1089->setValidator(digits);
  ui_->c1092->setValidator(digits);
  CompositionForm form;
  form.callMarkers = "|";
  if (from != nullptr) form = FormOf(*from);
  ui_->c1075->setText(Q(form.name));
  ui_->c1081->setText(Q(form.bells.empty() ? std::to_string(context.stage) : form.bells));
  ui_->c1082->setText(Q(form.length));
  ui_->c1091->setText(Q(form.parts));
  ui_->c1090->setPlainText(Q(form.lines));
  ui_->c1089->setText(Q(form.leadsPerCourse));
  ui_->c1087->setText(Q(form.callMarkers));
  ui_->c1092->setText(Q(form.keepGoing));
  ui_->c1093->setText(Q(form.observation));
  ui_->c1086->setChecked(form.halfLeadSplicing);
  entries_ = form.entries;
  ui_->c1085->setChecked(form.exclude);
  ui_->c1103->setText(Q(form.standardHeadings));
  ui_->c1105->setText(Q(form.specialHeadings));
  ui_->c1083->setText(Q(form.composer));
  ui_->c1084->setText(Q(form.source));
  ui_->c1094->setPlainText(Q(form.notes));
  FillEntries();
  for (const auto& [identifier, headings] : context.library->standardHeadings()) {
    auto* item = new QTreeWidgetItem(ui_->c1101);
    item->setText(0, Q(identifier));
    item->setText(1, Q(headings));
  }
  FillHeadings();
  connect(ui_->c1, &QPushButton::clicked, this, &CompositionEditorDialog::accept);
  connect(ui_->c2, &QPushButton::clicked, this, &CompositionEditorDialog::reject);
  connect(ui_->c1080, &QPushButton::clicked, this, &CompositionEditorDialog::Delete);
  connect(ui_->entryNew, &QPushButton::clicked, this, [this] { EditEntry(true); });
  connect(ui_->entryEdit, &QPushButton::clicked, this, [this] { EditEntry(false); });
  connect(ui_->c1071, &QTreeWidget::itemDoubleClicked, this, [this] { EditEntry(false); });
  connect(ui_->entryRemove, &QPushButton::clicked, this, &CompositionEditorDialog::RemoveEntry);
  connect(ui_->c1104, &QPushButton::clicked, this, [this] {
    if (const QTreeWidgetItem* item = ui_->c1101->currentItem()) PickHeadings(S(item->text(0)));
  });
  connect(ui_->c1101, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { PickHeadings(S(item->text(0))); });
  for (QLineEdit* field : {ui_->c1103, ui_->c1105}) connect(field, &QLineEdit::editingFinished, this, [this] { FillHeadings(); });
  connect(ui_->help, &QPushButton::clicked, this, [this] {
    if (context_.help) context_.help("library.html#compositions");
  });
  ui_->c1080->setEnabled(mode == EditorMode::Edit && editing != nullptr);
  if (mode == EditorMode::View) ui_->c1->setEnabled(false);
  ui_->c1075->setFocus();
}

CompositionEditorDialog::~CompositionEditorDialog() = default;

void CompositionEditorDialog::FillEntries() {
  ui_->c1071->clear();
  for (const EntryFields& entry : entries_) {
    auto* item = new QTreeWidgetItem(ui_->c1071);
    item->setText(0, Q(entry.title));
    item->setText(1, Q(entry.label));
    item->setText(2, Q(entry.length));
    item->setText(3, Q(entry.specialCalls));
  }
  FillHeadings();
}

// The default standard headings: those of the only method, else of the
// first stage; what is in force is listed under "Available Headings".
void CompositionEditorDialog::FillHeadings() {
  const StandardHeadings& standard = context_.library->standardHeadings();
  std::string identifier;
  if (entries_.size() == 1 && !ui_->c1085->isChecked() && standard.count(entries_[0].title) != 0)
    identifier = entries_[0].title;
  else {
    const auto stages = ReadStages(S(ui_->c1081->text()));
    for (int stage = MinStage; stage <= MaxStage && identifier.empty(); ++stage)
      if (stages.test(static_cast<std::size_t>(stage)) && standard.count(std::to_string(stage)) != 0)
        identifier = std::to_string(stage);
  }
  ui_->c1102->setText(Q(identifier));
  std::string inForce = NormaliseBlanks(S(ui_->c1105->text()));
  if (inForce.empty()) {
    const std::string chosen = NormaliseBlanks(S(ui_->c1103->text()));
    const auto at = standard.find(chosen.empty() ? identifier : chosen);
    if (at != standard.end()) inForce = at->second;
  }
  ui_->c1088->clear();
  std::size_t start = 0;
  const std::string text = NormaliseBlanks(inForce);
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string pair = text.substr(start, end - start);
    const auto colon = pair.find(':');
    auto* item = new QTreeWidgetItem(ui_->c1088);
    item->setText(0, Q(pair.substr(0, colon)));
    if (colon != std::string::npos) item->setText(1, Q(pair.substr(colon + 1)));
    start = end + 1;
  }
}

bool CompositionEditorDialog::PickHeadings(const std::string& identifier) {
  if (!NormaliseBlanks(S(ui_->c1105->text())).empty()) {
    const auto answer = OvLibrary::ShowMessageBox(this, "Confirm...", "The Special Headings field will be cleared",
                                                  QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Question);
    if (answer != QMessageBox::Ok) return false;
    ui_->c1105->clear();
  }
  ui_->c1103->setText(Q(identifier));
  FillHeadings();
  return true;
}

void CompositionEditorDialog::EditEntry(bool isNew) {
  const int row = ui_->c1071->indexOfTopLevelItem(ui_->c1071->currentItem());
  if (!isNew && row < 0) return;
  std::vector<EntryFields> others = entries_;
  if (!isNew) others.erase(others.begin() + row);
  MethodEntryDialog dialog(*context_.library, isNew ? nullptr : &entries_[static_cast<std::size_t>(row)], others,
                           S(ui_->c1081->text()), this);
  if (OvLibrary::RunModal(dialog) != QDialog::Accepted) return;
  if (isNew) entries_.push_back(dialog.entry());
  else entries_[static_cast<std::size_t>(row)] = dialog.entry();
  FillEntries();
}

void CompositionEditorDialog::RemoveEntry() {
  const int row = ui_->c1071->indexOfTopLevelItem(ui_->c1071->currentItem());
  if (row < 0) return;
  entries_.erase(entries_.begin() + row);
  FillEntries();
}

CompositionForm CompositionEditorDialog::ReadForm() const {
  CompositionForm form;
  form.name = S(ui_->c1075->text());
  form.bells = S(ui_->c1081->text());
  form.length = S(ui_->c1082->text());
  form.parts = S(ui_->c1091->text());
  form.lines = S(ui_->c1090->toPlainText());
  form.leadsPerCourse = S(ui_->c1089->text());
  form.callMarkers = NormaliseBlanks(S(ui_->c1087->text()));
  form.keepGoing = S(ui_->c1092->text());
  form.observation = S(ui_->c1093->text());
  form.halfLeadSplicing = ui_->c1086->isChecked();
  form.entries = entries_;
  form.exclude = ui_->c1085->isChecked();
  form.standardHeadings = S(ui_->c1103->text());
  form.specialHeadings = S(ui_->c1105->text());
  form.composer = S(ui_->c1083->text());
  form.source = S(ui_->c1084->text());
  form.notes = S(ui_->c1094->toPlainText());
  return form;
}

bool CompositionEditorDialog::Store(std::unique_ptr<Composition> built) {
  Library& library = *context_.library;
  const auto save = [&] {
    return ReportSave(this, library.SaveCompositions(), library.folder().string(), CompositionsFile);
  };
  if (editing_ != nullptr) {
    // Changed in place: whoever holds the composition (Go Again) keeps it.
    Composition before = std::move(*editing_);
    *editing_ = std::move(*built);
    if (save()) {
      stored_ = editing_;
      return true;
    }
    *editing_ = std::move(before);  // memory stays as the file is
    return false;
  }
  Composition* added = library.AddComposition(std::move(built));
  if (added == nullptr) return false;
  if (save()) {
    stored_ = added;
    return true;
  }
  library.compositions().pop_back();
  return false;
}

void CompositionEditorDialog::accept() {
  if (mode_ == EditorMode::View) return;
  const CompositionForm form = ReadForm();
  if (const Verdict verdict = CheckComposition(form)) {
    Complain(*this, *verdict);
    return;
  }
  std::unique_ptr<Composition> built =
      BuildComposition(FieldsOf(form), context_.library, &context_.library->standardHeadings());
  if (built == nullptr || !RecordFits(*built)) {
    OvLibrary::ShowMessageBox(this, "Operation failed", "An error has prevented the operation from going ahead");
    return;
  }
  if (Store(std::move(built))) QDialog::accept();
}

void CompositionEditorDialog::Delete() {
  Library& library = *context_.library;
  auto& list = library.compositions();
  const auto at = std::find_if(list.begin(), list.end(), [&](const auto& held) { return held.get() == editing_; });
  if (editing_ == nullptr || at == list.end()) {
    OvLibrary::ShowMessageBox(this, "Unable to Delete", "A problem prevented this composition from being deleted");
    return;
  }
  const auto place = at - list.begin();
  std::unique_ptr<Composition> taken = std::move(*at);
  list.erase(at);
  if (!ReportSave(this, library.SaveCompositions(), library.folder().string(), CompositionsFile)) {
    list.insert(list.begin() + place, std::move(taken));
    return;
  }
  if (context_.forget) context_.forget(editing_);
  editing_ = nullptr;
  done(Deleted);
}

void CompositionEditorDialog::done(int result) {
  SettingsSource& settings = *context_.settings;
  KeepColumnWidths(*ui_->c1071, settings, EntryColumns);
  KeepColumnWidths(*ui_->c1088, settings, HeadingColumns);
  KeepColumnWidths(*ui_->c1101, settings, StandardColumns);
  settings.SetInt(setting::CEditDlgWidth, width());
  settings.SetInt(setting::CEditDlgHeight, height());
  QDialog::done(result);
}

}  // namespace clangor
