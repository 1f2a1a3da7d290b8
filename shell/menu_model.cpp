#include "shell/menu_model.h"

#include <algorithm>

#include "library/library.h"
#include "resources/string_table.h"
#include "ringing/bells.h"
#include "shell/command_ids.h"

namespace clangor {

namespace cmd = command;

std::string PlainMenuText(const std::string& text) {
  std::string plain;
  for (const char c : text) {
    if (c == '\t') break;
    if (c != '&') plain += c;
  }
  return plain;
}

const MenuItem* MenuItem::Find(int commandId) const {
  for (const MenuItem& item : items) {
    if (item.id == commandId && !item.separator()) return &item;
    if (const MenuItem* inner = item.Find(commandId)) return inner;
  }
  return nullptr;
}

const MenuItem* MenuItem::Child(const std::string& plainText) const {
  for (const MenuItem& item : items)
    if (PlainMenuText(item.text) == plainText) return &item;
  return nullptr;
}

// ---------------------------------------------------------------- items

MenuItem MenuModel::Command(int id, bool enabled) const {
  MenuItem item;
  item.id = id;
  item.text = CommandText(id);
  item.help = CommandHelp(id);
  item.enabled = enabled;
  return item;
}

MenuItem MenuModel::Toggle(int id, bool checked, bool enabled) const {
  MenuItem item = Command(id, enabled);
  item.checkable = true;
  item.checked = checked;
  return item;
}

MenuItem MenuModel::Popup(int id) const {
  MenuItem item = Command(id);
  item.popup = true;
  return item;
}

// Separators number from 1 again for every menu built.
MenuItem MenuModel::Separator() {
  MenuItem item;
  item.id = -(++separators_);
  return item;
}

// ---------------------------------------------------------------- menu bar

std::vector<MenuItem> MenuModel::MenuBar() { return {FileMenu(), ViewMenu(), RingingMenu(), HelpMenu()}; }

MenuItem MenuModel::TowerPopup() {
  MenuItem popup = Popup(cmd::TowerMenu);
  // The last installed tower first.
  for (int i = static_cast<int>(state_.towers.size()) - 1; i >= 0; --i) {
    const std::string& name = state_.towers[static_cast<std::size_t>(i)];
    MenuItem item;
    item.id = cmd::TowerBase + i;
    item.text = name;
    item.help = CommandHelp(cmd::TowerMenu);
    item.checkable = true;
    item.checked = name == state_.currentTower;
    popup.items.push_back(item);
  }
  popup.enabled = !state_.ringing && !state_.towers.empty();
  return popup;
}

MenuItem MenuModel::FileMenu() {
  separators_ = 0;
  MenuItem menu = Popup(cmd::FileMenu);
  if (state_.towerLoaded) {
    for (MenuItem& tower : TowerPopup().items) {
      tower.enabled = !state_.ringing;
      menu.items.push_back(tower);
    }
    menu.items.push_back(Separator());
  }
  for (const int id : {cmd::VolumeSpeedPitch, cmd::Preferences, cmd::RestoreLibrary, cmd::CopyRows, cmd::Exit})
    menu.items.push_back(Command(id));
  return menu;
}

MenuItem MenuModel::ViewMenu() {
  separators_ = 0;
  MenuItem menu = Popup(cmd::ViewMenu);
  menu.items = {Toggle(cmd::MenuBar, state_.menuBar),        Toggle(cmd::ToolBar, state_.toolBar),
                Toggle(cmd::StatusBar, state_.statusBar),    Toggle(cmd::Ropes, state_.ropes),
                Toggle(cmd::MovingNumbers, state_.movingNumbers), Toggle(cmd::Rows, state_.rows),
                Toggle(cmd::ManualControl, state_.manualControl)};
  menu.items.push_back(Separator());
  menu.items.push_back(Toggle(cmd::FullScreen, state_.fullScreen));
  return menu;
}

MenuItem MenuModel::HelpMenu() {
  MenuItem menu = Popup(cmd::HelpMenu);
  menu.items = {Command(cmd::HelpContents), Command(cmd::HelpIndex), Command(cmd::About)};
  return menu;
}

MenuItem MenuModel::SelectBellsPopup() {
  MenuItem popup = Popup(cmd::SelectBells);
  popup.text = "Select &Bells";
  const bool stood = state_.towerLoaded && !state_.loading && !state_.ringing;
  for (std::size_t i = 0; i < state_.rings.size(); ++i) {
    MenuItem item = Command(cmd::RingBase + static_cast<int>(i), stood);
    item.text = state_.rings[i];
    item.help = CommandHelp(cmd::SelectBells);
    popup.items.push_back(item);
  }
  MenuItem other = Popup(cmd::OtherRings);
  for (std::size_t i = 0; i < state_.otherRings.size(); ++i) {
    MenuItem item = Command(cmd::OtherRingBase + static_cast<int>(i), stood);
    item.text = state_.otherRings[i];
    item.help = CommandHelp(cmd::OtherRings);
    other.items.push_back(item);
  }
  other.enabled = stood && !other.items.empty();
  popup.items.push_back(other);
  popup.items.push_back(Command(cmd::SelectNone, stood && state_.bellsInPlay > 0));
  popup.items.push_back(Separator());
  popup.items.push_back(TowerPopup());
  popup.enabled = stood;
  return popup;
}

MenuItem MenuModel::RopesightPopup() {
  MenuItem popup = Popup(cmd::Ropesight);
  for (int bell = 0; bell < state_.bellCount; ++bell) {
    if (static_cast<std::size_t>(bell) >= state_.inPlay.size() || !state_.inPlay[static_cast<std::size_t>(bell)])
      continue;
    MenuItem item = Toggle(cmd::OwnRopeBase + bell, bell == state_.ownBell);
    item.text = "Bell " + std::to_string(bell + 1);
    item.help = CommandHelp(cmd::OwnRopeMenu);
    popup.items.push_back(item);
  }
  popup.items.push_back(Separator());
  popup.items.push_back(Toggle(cmd::Flashes, state_.flashes));
  MenuItem delay = Popup(cmd::FlashDelay);
  for (int i = 0; i < cmd::FlashDelayChoices; ++i) {
    MenuItem item = Toggle(cmd::FlashDelayBase + i, i == state_.flashDelay);
    item.text = i == 0 ? "No delay" : "0." + std::to_string(i) + " of a row";
    item.help = CommandHelp(cmd::FlashDelay);
    delay.items.push_back(item);
  }
  popup.items.push_back(delay);
  popup.items.push_back(Toggle(cmd::Cumulative, state_.cumulative));
  popup.items.push_back(Toggle(cmd::TapOwnBell, state_.tapOwnBell));
  popup.items.push_back(Toggle(cmd::OwnVolumeMax, state_.ownVolumeMax));
  popup.items.push_back(Toggle(cmd::HitBar, state_.hitBar));
  popup.items.push_back(Command(cmd::RopesightScore));
  popup.items.push_back(Command(cmd::StrikingReport));
  return popup;
}

MenuItem MenuModel::MethodsPopup(int stage) {
  MenuItem popup = Popup(cmd::StageButtonBase + stage);
  popup.text = StageName(stage);
  popup.enabled = state_.bellsInPlay >= stage;
  if (state_.library != nullptr) {
    int listed = 0;
    for (const auto& method : state_.library->Methods(stage)) {
      if (listed++ >= MaxMethodsPerStage || cmd::MethodBase + static_cast<int>(methods_.size()) >= cmd::CompositionBase)
        break;
      MenuItem item;
      item.id = cmd::MethodBase + static_cast<int>(methods_.size());
      item.text = method->name;
      item.help = LoadString(MethodItemHelp);
      popup.items.push_back(item);
      methods_.push_back(method.get());
    }
  }
  if (!popup.items.empty()) popup.items.push_back(Separator());
  popup.items.push_back(Command(cmd::MethodList));
  return popup;
}

MenuItem MenuModel::SequencesPopup() {
  MenuItem popup = Popup(cmd::CallChanges);
  popup.enabled = state_.bellsInPlay >= MinStage;
  if (state_.library != nullptr && IsStage(state_.bellsInPlay)) {
    for (const auto& sequence : state_.library->Sequences(state_.bellsInPlay)) {
      if (cmd::SequenceBase + static_cast<int>(sequences_.size()) >= cmd::MethodBase) break;
      MenuItem item;
      item.id = cmd::SequenceBase + static_cast<int>(sequences_.size());
      item.text = sequence->name;
      item.help = CommandHelp(cmd::CallChanges);
      popup.items.push_back(item);
      sequences_.push_back(sequence.get());
    }
  }
  if (!popup.items.empty()) popup.items.push_back(Separator());
  popup.items.push_back(Command(cmd::CallChangeList));
  return popup;
}

// The method the compositions are offered for: the one rung last while it
// fits the bells in play, else the first of the stage in play.
const Method* MenuModel::MethodForCompositions() const {
  const Method* method = state_.currentMethod;
  if (method != nullptr && method->stage <= state_.bellsInPlay) return method;
  if (state_.library == nullptr || !IsStage(state_.bellsInPlay)) return nullptr;
  const auto& list = state_.library->Methods(state_.bellsInPlay);
  return list.empty() ? nullptr : list.front().get();
}

MenuItem MenuModel::CompositionsPopup() {
  MenuItem popup = Popup(cmd::Compositions);
  compositionMethod_ = MethodForCompositions();
  if (compositionMethod_ != nullptr) {
    popup.text = "&Compositions (" + compositionMethod_->Title() + ")";
    for (const auto& composition : state_.library->compositions()) {
      if (!composition->AppliesTo(*compositionMethod_)) continue;
      if (cmd::CompositionBase + static_cast<int>(compositions_.size()) >= cmd::CallBase) break;
      MenuItem item;
      item.id = cmd::CompositionBase + static_cast<int>(compositions_.size());
      item.text = composition->name;
      item.help = LoadString(CompositionItemHelp);
      popup.items.push_back(item);
      compositions_.push_back(composition.get());
    }
  }
  if (!popup.items.empty()) popup.items.push_back(Separator());
  popup.items.push_back(Command(cmd::CompositionList));
  popup.enabled = compositionMethod_ != nullptr;
  return popup;
}

std::vector<MenuItem> MenuModel::RingingPopups() {
  MenuItem go = Popup(cmd::Go);
  for (int stage = MinStage; stage <= std::min(state_.bellsInPlay, MaxStage); ++stage)
    go.items.push_back(MethodsPopup(stage));
  go.items.push_back(Separator());
  go.items.push_back(Command(cmd::MethodList));
  go.enabled = state_.bellsInPlay >= MinStage;
  return {go, Command(cmd::GoAgain, state_.canGoAgain), CompositionsPopup(), Separator(), SequencesPopup()};
}

MenuItem MenuModel::OptionsPopup() {
  MenuItem popup = Popup(cmd::RingingOptions);
  popup.items = {Toggle(cmd::HalfMuffled, state_.halfMuffled), Toggle(cmd::WholePull, state_.wholePull),
                 Toggle(cmd::Silence, state_.silenced)};
  return popup;
}

void MenuModel::AddRingingToggles(MenuItem& menu, bool ringing) {
  menu.items.push_back(Separator());
  for (MenuItem& item : OptionsPopup().items) menu.items.push_back(item);
  if (ringing) {
    menu.items.push_back(Toggle(cmd::Pause, state_.paused));
    menu.items.push_back(Toggle(cmd::Fire, state_.firing, state_.canFire));
  }
  const bool remembered = state_.rememberedBell >= 0 &&
                          static_cast<std::size_t>(state_.rememberedBell) < state_.inPlay.size() &&
                          state_.inPlay[static_cast<std::size_t>(state_.rememberedBell)];
  if (remembered) menu.items.push_back(Command(cmd::MyRope));
  menu.items.push_back(RopesightPopup());
}

void MenuModel::Restart() {
  separators_ = 0;
  sequences_.clear();
  methods_.clear();
  compositions_.clear();
  compositionMethod_ = nullptr;
}

MenuItem MenuModel::RingingMenu() {
  Restart();
  MenuItem menu = Popup(cmd::RingingMenu);
  if (!state_.towerLoaded || state_.loading) return menu;
  auto addPopups = [&] {
    for (MenuItem& item : RingingPopups()) menu.items.push_back(std::move(item));
  };
  if (!state_.ringing) {
    for (MenuItem& item : SelectBellsPopup().items) menu.items.push_back(std::move(item));
    if (state_.bellsInPlay > 0) {
      menu.items.push_back(Separator());
      menu.items.push_back(Command(cmd::Start));
      if (state_.bellsInPlay > 2) addPopups();
    }
    AddRingingToggles(menu, false);
    return menu;
  }
  if (state_.methodInProgress) {
    for (std::size_t i = 0; i < state_.calls.size(); ++i) {
      MenuItem item = Toggle(cmd::CallBase + static_cast<int>(i) + 1, static_cast<int>(i) == state_.callInForce,
                             !state_.compositionInProgress);
      item.text = state_.calls[i];
      item.help = LoadString(CallItemHelp);
      menu.items.push_back(item);
    }
    if (!state_.calls.empty()) menu.items.push_back(Separator());
    addPopups();
    menu.items.push_back(Command(cmd::Rounds));
    if (!state_.standRequested) menu.items.push_back(Command(cmd::Stand));
  } else {
    if (!state_.standRequested && !state_.firing && state_.everyBellCanChange && state_.bellsInPlay > 2) addPopups();
    menu.items.push_back(Command(cmd::Stand, !state_.standRequested));
  }
  menu.items.push_back(Command(cmd::StopNow));
  AddRingingToggles(menu, true);
  return menu;
}

MenuItem MenuModel::ContextMenu(int index) {
  Restart();
  MenuItem menu;
  menu.popup = true;
  if (index == 0) {
    menu = RingingMenu();
    menu.items.push_back(Separator());
    menu.items.push_back(ViewMenu());
    menu.items.push_back(Command(cmd::Help));
    menu.items.push_back(Command(cmd::Exit));
  } else if (index == 1) {
    if (state_.towerLoaded && !state_.loading && !state_.ringing) menu = SelectBellsPopup();
  } else if (index == 2) {
    if (state_.towerLoaded && !state_.loading && state_.bellsInPlay > 2) menu.items = RingingPopups();
  } else if (IsStage(index)) {
    if (state_.bellsInPlay >= index && state_.bellCount >= index) menu = MethodsPopup(index);
  } else if (index == cmd::SequenceBase) {
    if (state_.bellsInPlay >= MinStage) menu = SequencesPopup();
  }
  return menu;
}

// ---------------------------------------------------------------- data commands

const CallChangeSequence* MenuModel::SequenceFor(int id) const {
  const int i = id - cmd::SequenceBase;
  return i >= 0 && i < static_cast<int>(sequences_.size()) ? sequences_[static_cast<std::size_t>(i)] : nullptr;
}

const Method* MenuModel::MethodFor(int id) const {
  const int i = id - cmd::MethodBase;
  return i >= 0 && i < static_cast<int>(methods_.size()) ? methods_[static_cast<std::size_t>(i)] : nullptr;
}

const Composition* MenuModel::CompositionFor(int id) const {
  const int i = id - cmd::CompositionBase;
  return i >= 0 && i < static_cast<int>(compositions_.size()) ? compositions_[static_cast<std::size_t>(i)] : nullptr;
}

const Method* MenuModel::CompositionMethod() const { return compositionMethod_; }

}  // namespace clangor
