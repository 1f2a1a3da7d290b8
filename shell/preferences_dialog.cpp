#include "shell/preferences_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

#include "shell/framework/dialog_control.h"
#include "shell/framework/up_down.h"
#include "shell/settings_store.h"
#include "ui_d103_preferences.h"

namespace clangor {

namespace {

using OvLibrary::DialogControl;
using OvLibrary::UpDown;
namespace id = preferences_control;

// A radio button and the value it stands for.
struct Radio {
  int Preferences::*field;
  int control;
  int value;
};
constexpr Radio Radios[] = {
    {&Preferences::actionAtRounds, id::KeepGoing, 0},
    {&Preferences::actionAtRounds, id::ThatsAll, 1},
    {&Preferences::actionAtRounds, id::Stand, 2},
    {&Preferences::numbersSwapOption, id::NumbersOnly, 0},
    {&Preferences::numbersSwapOption, id::HighlightedPairs, 2},
    {&Preferences::numbersSwapOption, id::PlaceBellsAndCrosses, 5},
    {&Preferences::callUp, id::CallUp, 1},
    {&Preferences::callUp, id::CallDown, 0},
    {&Preferences::showTips, id::TipsNever, 0},
    {&Preferences::showTips, id::TipsWhenStood, 1},
    {&Preferences::showTips, id::TipsAlways, 2},
};

struct Check {
  int Preferences::*field;
  int control;
};
constexpr Check Checks[] = {
    {&Preferences::highlightBriefly, id::HighlightBriefly},
    {&Preferences::callChangeTips, id::CallChangeTips},
    {&Preferences::showClock, id::ShowClock},
    {&Preferences::halfLeadSplicing, id::HalfLeadSplicing},
    {&Preferences::autoPopup, id::AutoPopup},
    {&Preferences::rememberMufflesAndWholePulls, id::RememberMufflesAndWholePulls},
    {&Preferences::ropesInSeparateWindow, id::RopesInSeparateWindow},
    {&Preferences::rememberRopes, id::RememberRopes},
    {&Preferences::showDownRopes, id::ShowDownRopes},
    {&Preferences::surprise, id::Surprise},
};

// An edit with its up-down.
struct Number {
  int Preferences::*field;
  int edit;
  int upDown;
  UpDownRange range;
};
constexpr Number Numbers[] = {
    {&Preferences::keepGoingCount, id::KeepGoingCountEdit, id::KeepGoingCountUpDown, KeepGoingCountRange},
    {&Preferences::methodLimit, id::MethodsEdit, id::MethodsUpDown, MenuListSizeRange},
    {&Preferences::compositionLimit, id::CompositionsEdit, id::CompositionsUpDown, MenuListSizeRange},
    {&Preferences::maxTimeFactor, id::MaxClockSpeedEdit, id::MaxClockSpeedUpDown, MaxClockSpeedRange},
};

}  // namespace

PreferencesDialog::PreferencesDialog(SettingsStore& settings, PreferencesContext context, QWidget* parent)
    : QDialog(parent), settings_(settings), context_(std::move(context)) {
  Ui::PreferencesDialog layout;
  layout.setupUi(this);
  setObjectName("PreferencesDialog");
  for (const Number& n : Numbers) {
    auto* upDown = DialogControl<UpDown>(this, n.upDown);
    auto* edit = DialogControl<QLineEdit>(this, n.edit);
    upDown->SetRange(n.range);
    if (n.edit == id::MaxClockSpeedEdit) upDown->SetBuddy(edit, MaxClockSpeedText);
    else upDown->SetBuddy(edit);
  }
  for (const Radio& r : Radios)
    connect(DialogControl<QRadioButton>(this, r.control), &QRadioButton::toggled, this, [this] { FollowChoices(); });
  auto* surprise = DialogControl<QCheckBox>(this, id::Surprise);
  surprise->setText(QString::fromStdString(SurpriseOptionLabel()));
  surprise->setVisible(SurpriseOptionShown(context_.nameText));

  connect(DialogControl<QPushButton>(this, id::Ok), &QPushButton::clicked, this, &QDialog::accept);
  connect(DialogControl<QPushButton>(this, id::Cancel), &QPushButton::clicked, this, &QDialog::reject);
  connect(DialogControl<QPushButton>(this, id::Help), &QPushButton::clicked, this, [this] {
    if (context_.help) context_.help();
  });

  opened_ = ReadPreferences(settings_);
  Show(opened_);
  FillSounds(context_.soundSets, opened_.soundsFile, context_.soundSetChangeable);
  FollowChoices();
  adjustSize();
}

PreferencesDialog::~PreferencesDialog() = default;

void PreferencesDialog::Show(const Preferences& values) {
  for (const Radio& r : Radios) DialogControl<QRadioButton>(this, r.control)->setChecked(values.*r.field == r.value);
  for (const Check& c : Checks) DialogControl<QCheckBox>(this, c.control)->setChecked(values.*c.field == 1);
  for (const Number& n : Numbers) DialogControl<UpDown>(this, n.upDown)->SetPosition(values.*n.field);
}

void PreferencesDialog::FillSounds(const std::vector<std::string>& files, const std::string& current, bool changeable) {
  auto* sound = DialogControl<QComboBox>(this, id::Sound);
  const std::vector<std::string> names = SoundSetNames(files);
  for (const std::string& name : names) sound->addItem(QString::fromStdString(name));
  // A current set that the tower does not list selects nothing, so that OK
  // cannot change the sounds by itself.
  const auto at = std::find(names.begin(), names.end(), current);
  sound->setCurrentIndex(at == names.end() ? -1 : static_cast<int>(at - names.begin()));
  sound->setEnabled(changeable);
}

// The Keep Going Count matters only when the touch does not keep going
// anyway; call-change tips only when the bell tips show while ringing.
void PreferencesDialog::FollowChoices() {
  const Preferences chosen = Chosen();
  const bool count = KeepGoingCountEnabled(chosen.actionAtRounds);
  DialogControl<QLineEdit>(this, id::KeepGoingCountEdit)->setEnabled(count);
  DialogControl<UpDown>(this, id::KeepGoingCountUpDown)->setEnabled(count);
  DialogControl<QCheckBox>(this, id::CallChangeTips)->setEnabled(CallChangeTipsEnabled(chosen.showTips));
}

Preferences PreferencesDialog::Chosen() const {
  Preferences chosen = opened_;
  for (const Radio& r : Radios)
    if (DialogControl<QRadioButton>(this, r.control)->isChecked()) chosen.*r.field = r.value;
  for (const Check& c : Checks) chosen.*c.field = DialogControl<QCheckBox>(this, c.control)->isChecked() ? 1 : 0;
  for (const Number& n : Numbers) chosen.*n.field = DialogControl<UpDown>(this, n.upDown)->position();
  const auto* sound = DialogControl<QComboBox>(this, id::Sound);
  if (sound->isEnabled() && sound->currentIndex() >= 0) chosen.soundsFile = sound->currentText().toStdString();
  return chosen;
}

// OK pressed with Enter leaves the focus where it was: what was typed there
// is taken as the focus leaving would take it.
void PreferencesDialog::TakeTypedNumbers() {
  for (const Number& n : Numbers) DialogControl<UpDown>(this, n.upDown)->TakeTypedText();
}

void PreferencesDialog::accept() {
  TakeTypedNumbers();
  change_ = StorePreferences(settings_, Chosen());
  QDialog::accept();
}

}  // namespace clangor
