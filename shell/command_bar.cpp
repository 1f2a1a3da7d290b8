#include "shell/command_bar.h"

#include <QMainWindow>
#include <QMenu>
#include <QToolButton>

#include "resources/string_table.h"
#include "ringing/bells.h"
#include "shell/command_ids.h"

namespace clangor {

namespace cmd = command;

namespace {

constexpr int PictureSize = 16;

QPixmap Picture(const std::string& stuff, const std::string& strip, const char* kind, int index) {
  QPixmap all(QString::fromStdString(stuff + "/" + strip + "_bar_" + kind + ".bmp"));
  if (all.isNull()) return {};
  QPixmap one = all.copy(index * PictureSize, 0, PictureSize, PictureSize);
  // The colour of a picture's top left corner is its see-through colour.
  const QColor clear = one.toImage().pixelColor(0, 0);
  one.setMask(one.createMaskFromColor(clear));
  return one;
}

}  // namespace

CommandBar::CommandBar(QMainWindow* window, const std::string& programStuff, Command command, FillMenu fill)
    : QObject(window), stuff_(programStuff), command_(std::move(command)), fill_(std::move(fill)) {
  QToolBar* rings = AddBand(window, "rings");
  AddButton(rings, cmd::SelectBells, "rings", 0, false, true);

  QToolBar* touch = AddBand(window, "touch");
  for (int stage = MinStage; stage <= MaxStage; ++stage) {
    AddTextButton(touch, cmd::StageButtonBase + stage, QString::fromStdString(CommandText(cmd::StageButtonBase + stage)));
  }
  AddButton(touch, cmd::SequencesButton, "touch", 1, false, true);

  QToolBar* ringing = AddBand(window, "ringing");
  const int ringingButtons[] = {cmd::Start, cmd::GoAgain, cmd::Rounds, cmd::Stand, cmd::StopNow,
                                cmd::Pause, cmd::Step, cmd::ClockSlower, cmd::ClockFaster, cmd::RingingOptions};
  for (int i = 0; i < 10; ++i) {
    const int id = ringingButtons[i];
    AddButton(ringing, id, "ringing", i, id == cmd::Rounds || id == cmd::Stand || id == cmd::Pause,
              id == cmd::RingingOptions);
  }

  QToolBar* options = AddBand(window, "options");
  const int optionButtons[] = {cmd::ViewMenu, cmd::VolumeSpeedPitch, cmd::Preferences, cmd::Ropes, cmd::Exit};
  for (int i = 0; i < 5; ++i) {
    const int id = optionButtons[i];
    AddButton(options, id, "options", i, false, id == cmd::ViewMenu || id == cmd::Ropes);
  }
  // The View button is all drop-down.
  buttons_[cmd::ViewMenu]->setPopupMode(QToolButton::InstantPopup);
}

QToolBar* CommandBar::AddBand(QMainWindow* window, const char* name) {
  auto* band = new QToolBar(QString(name), window);
  band->setObjectName(QString(name) + "_band");
  band->setIconSize(QSize(PictureSize, PictureSize));
  band->setFloatable(false);
  band->setFocusPolicy(Qt::NoFocus);
  window->addToolBar(Qt::TopToolBarArea, band);
  for (QToolBar*& slot : bands_)
    if (slot == nullptr) {
      slot = band;
      break;
    }
  return band;
}

QToolButton* CommandBar::AddButton(QToolBar* band, int id, const std::string& strip, int picture, bool checkable,
                                   bool dropDown) {
  auto* button = new QToolButton(band);
  QIcon icon;
  icon.addPixmap(Picture(stuff_, strip, "standard", picture), QIcon::Normal);
  icon.addPixmap(Picture(stuff_, strip, "hot", picture), QIcon::Active);
  icon.addPixmap(Picture(stuff_, strip, "disabled", picture), QIcon::Disabled);
  button->setIcon(icon);
  button->setAutoRaise(true);
  button->setCheckable(checkable);
  button->setFocusPolicy(Qt::NoFocus);
  std::string tip = CommandTip(id);
  if (tip.empty()) tip = LoadString(id + 2000);
  if (id == cmd::VolumeSpeedPitch) tip = LoadString(3101);
  if (id == cmd::Preferences) tip = LoadString(3102);
  if (id == cmd::Exit) tip = LoadString(3103);
  button->setToolTip(QString::fromStdString(tip));
  button->setObjectName(QString::number(id));
  if (dropDown) {
    auto* menu = new QMenu(button);
    connect(menu, &QMenu::aboutToShow, this, [this, menu, id] { fill_(menu, id); });
    button->setMenu(menu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
  }
  // A drop-down button's own face opens its menu too (Select Bells, Options, Ropes' band).
  connect(button, &QToolButton::clicked, this, [this, button, id, dropDown] {
    if (dropDown && id != cmd::Ropes) button->showMenu();
    else command_(id);
    if (button->isCheckable()) button->setChecked(!button->isChecked());  // the state decides, on refresh
  });
  actions_[id] = band->addWidget(button);
  buttons_[id] = button;
  return button;
}

QToolButton* CommandBar::AddTextButton(QToolBar* band, int id, const QString& text) {
  auto* button = new QToolButton(band);
  button->setText(text);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setObjectName(QString::number(id));
  button->setToolTip("Methods: " + text);
  auto* menu = new QMenu(button);
  connect(menu, &QMenu::aboutToShow, this, [this, menu, id] { fill_(menu, id); });
  button->setMenu(menu);
  button->setPopupMode(QToolButton::InstantPopup);
  actions_[id] = band->addWidget(button);
  buttons_[id] = button;
  return button;
}

QToolButton* CommandBar::Button(int id) const {
  const auto it = buttons_.find(id);
  return it == buttons_.end() ? nullptr : it->second;
}

void CommandBar::ShowBands(bool shown) {
  for (QToolBar* band : bands_) band->setVisible(shown);
}

void CommandBar::SetSelectBellsPressed(bool pressed) { buttons_[cmd::SelectBells]->setDown(pressed); }

void CommandBar::Refresh(const CommandState& s) {
  const bool ready = s.towerLoaded && !s.loading;
  const bool stood = ready && !s.ringing;
  auto set = [this](int id, bool enabled, bool checked = false) {
    QToolButton* b = buttons_[id];
    b->setEnabled(enabled);
    if (b->isCheckable()) b->setChecked(checked);
  };
  set(cmd::SelectBells, stood);
  const bool canStartTouch = ready && s.bellsInPlay > 2 &&
                             (!s.ringing || (!s.standRequested && !s.firing && s.everyBellCanChange));
  for (int stage = MinStage; stage <= MaxStage; ++stage) {
    const int id = cmd::StageButtonBase + stage;
    actions_[id]->setVisible(ready && stage == s.bellsInPlay);
    set(id, canStartTouch);
  }
  actions_[cmd::SequencesButton]->setVisible(ready && s.bellsInPlay >= MinStage);
  set(cmd::SequencesButton, canStartTouch);
  set(cmd::Start, stood && s.bellsInPlay > 0);
  set(cmd::GoAgain, ready && s.canGoAgain);
  set(cmd::Rounds, s.ringing && s.methodInProgress, s.ringing && !s.methodInProgress);
  set(cmd::Stand, s.ringing && !s.standRequested, s.standRequested);
  set(cmd::StopNow, s.ringing);
  set(cmd::Pause, s.ringing, s.paused);
  set(cmd::Step, s.ringing && s.paused);
  set(cmd::ClockSlower, ready);
  set(cmd::ClockFaster, ready);
  set(cmd::RingingOptions, ready);
  set(cmd::ViewMenu, true);
  set(cmd::VolumeSpeedPitch, true);
  set(cmd::Preferences, true);
  set(cmd::Ropes, true);
  set(cmd::Exit, true);
}

}  // namespace clangor
