// The library's dialogs opened from the main window: the method, composition
// and call-change lists, and the "x" key's editor for what was rung last.
#include <algorithm>

#include "engine/ringing_state.h"
#include "library/dialogs/composition_editor_dialog.h"
#include "library/dialogs/composition_list_dialog.h"
#include "library/dialogs/method_list_dialog.h"
#include "library/dialogs/sequence_editor_dialog.h"
#include "library/dialogs/sequence_list_dialog.h"
#include "shell/framework/modal_dialog.h"
#include "shell/main_window.h"
#include "tower/tower.h"

namespace clangor {

LibraryDialogContext MainWindow::LibraryContext() {
  LibraryDialogContext context;
  context.library = &library_;
  context.settings = &settings_;
  // The ring's stage: the bells in play, else the whole tower.
  const int inPlay = Ringing().bellsInPlay;
  const int bells = inPlay >= MinStage ? inPlay : (engine_ ? engine_->bellCount() : 0);
  context.stage = std::clamp(bells, MinStage, MaxStage);
  // While the bells ring, the records they ring from are only shown.
  context.viewOnly = engine_ && engine_->ringing();
  context.tickImage = SettingsStore::AppDataPath("Program Stuff/tick.bmp");
  context.ringMethod = [this](const Method& method) { control_.RingTouch(&method); };
  context.ringSequence = [this](const CallChangeSequence& sequence) { control_.RingSequence(&sequence); };
  context.ringComposition = [this](Composition& composition) {
    const Method* method = uiState_.lastTouch;
    if (method == nullptr || !composition.AppliesTo(*method)) method = composition.FirstMethod();
    if (method == nullptr) return;
    ringable_ = RingableComposition{&composition, composition.name, composition.stages, nullptr};
    control_.RingComposition(ringable_, method);
  };
  context.help = [this](const std::string& topic) { OpenHelp(topic); };
  context.forget = [this](const void* record) { ForgetRecord(record); };
  return context;
}

void MainWindow::ForgetRecord(const void* record) {
  if (uiState_.lastTouch == record) uiState_.lastTouch = nullptr;
  if (uiState_.lastSequence == record) uiState_.lastSequence = nullptr;
  if (ringable_.source == record) {
    ringable_ = RingableComposition{};
    uiState_.lastComposition = nullptr;
  }
}

void MainWindow::OpenLibraryList(int which) {
  const LibraryDialogContext context = LibraryContext();
  std::unique_ptr<QDialog> dialog;
  if (which == 0) dialog = std::make_unique<MethodListDialog>(context, this);
  else if (which == 1) dialog = std::make_unique<SequenceListDialog>(context, this);
  else dialog = std::make_unique<CompositionListDialog>(context, this);
  OvLibrary::RunModal(*dialog);
}

void MainWindow::EditLast() {
  if (engine_ && engine_->ringing()) return;
  if (uiState_.lastComposition != nullptr && ringable_.source != nullptr) {
    // The composition keeps its place and address, so Go Again rings it as edited.
    auto* composition = static_cast<Composition*>(ringable_.source);
    CompositionEditorDialog editor(LibraryContext(), EditorMode::Edit, composition, composition, this);
    if (OvLibrary::RunModal(editor) == QDialog::Accepted) {
      ringable_.name = composition->name;
      ringable_.stages = composition->stages;
    }
    return;
  }
  if (uiState_.lastSequence != nullptr) {
    auto* sequence = const_cast<CallChangeSequence*>(uiState_.lastSequence);
    LibraryDialogContext context = LibraryContext();
    context.stage = sequence->stage;
    SequenceEditorDialog editor(context, EditorMode::Edit, sequence, sequence, this);
    if (OvLibrary::RunModal(editor) == QDialog::Accepted) uiState_.lastSequence = editor.stored();
  }
}

}  // namespace clangor
