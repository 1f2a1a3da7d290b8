// The settings dialogs offscreen: Preferences filled in and confirmed
// through the real settings store and read back (OK and Cancel), its
// enabling rules and up-down clamping as the ringer meets them, and the
// Volume, Speed and Pitch buttons clicked with Ctrl and Shift acting as the
// arrow keys; with screenshots of both dialogs.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include "engine/ringing_state.h"
#include "engine/tower_window.h"
#include "ringing/change_generator.h"
#include "shell/command_ids.h"
#include "shell/framework/dialog_control.h"
#include "shell/framework/up_down.h"
#include "shell/preferences.h"
#include "shell/preferences_dialog.h"
#include "shell/volume_speed_pitch_dialog.h"
#include "sound/tower_sound.h"
#include "tests/shell/main_window_fixture.h"
#include "tower/tower.h"
#include "views/ropes_window.h"
#include "views/rows_window.h"
#include "views/tower_view.h"
#include "views/tower_view_widget.h"

namespace clangor {
namespace {

using OvLibrary::DialogControl;
using OvLibrary::UpDown;
namespace pc = preferences_control;
namespace vc = volume_speed_pitch_control;

template <class Control>
Control* Find(const QWidget* dialog, int id) {
  Control* control = DialogControl<Control>(dialog, id);
  EXPECT_NE(control, nullptr) << "control " << id;
  return control;
}

// Runs `act` on the modal dialog of type Dialog once the command has opened
// it; `act` must end the dialog.
template <class Dialog>
bool WithModalDialog(MainWindow& w, int command, const std::function<void(Dialog&)>& act) {
  bool seen = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* dialog = dynamic_cast<Dialog*>(top);
      if (dialog == nullptr || !dialog->isVisible() || seen) continue;
      seen = true;
      poll.stop();
      act(*dialog);
      if (dialog->isVisible()) dialog->reject();  // never leave the test hanging
      return;
    }
  });
  poll.start(10);
  w.DoCommand(command);
  return seen;
}

// Typing into an edit, then the focus leaving it.
void TypeAndLeave(QLineEdit* edit, const QString& text) {
  edit->setText(text);
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(edit, &out);
}

void Click(QWidget* button, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const QPointF at = QPointF(button->rect().center());
  QMouseEvent press(QEvent::MouseButtonPress, at, button->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, modifiers);
  QMouseEvent release(QEvent::MouseButtonRelease, at, button->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, modifiers);
  QApplication::sendEvent(button, &press);
  QApplication::sendEvent(button, &release);
}

// Every value away from its default, chosen through the controls.
Preferences ChooseAwayFromDefaults(PreferencesDialog& d) {
  Find<QRadioButton>(&d, pc::ThatsAll)->click();
  TypeAndLeave(Find<QLineEdit>(&d, pc::KeepGoingCountEdit), "7");
  Find<QRadioButton>(&d, pc::HighlightedPairs)->click();
  Find<QCheckBox>(&d, pc::HighlightBriefly)->click();
  TypeAndLeave(Find<QLineEdit>(&d, pc::MethodsEdit), "3");
  for (int i = 0; i < 7; ++i) Find<UpDown>(&d, pc::CompositionsUpDown)->upButton()->click();  // 15 -> 22
  Find<QRadioButton>(&d, pc::CallDown)->click();
  Find<QRadioButton>(&d, pc::TipsAlways)->click();
  Find<QCheckBox>(&d, pc::CallChangeTips)->click();
  for (const int check : {pc::ShowClock, pc::HalfLeadSplicing, pc::AutoPopup, pc::RememberMufflesAndWholePulls,
                          pc::RopesInSeparateWindow, pc::RememberRopes, pc::ShowDownRopes, pc::Surprise})
    Find<QCheckBox>(&d, check)->click();
  for (int i = 0; i < 5; ++i) Find<UpDown>(&d, pc::MaxClockSpeedUpDown)->upButton()->click();  // 12 -> 17
  Find<QComboBox>(&d, pc::Sound)->setCurrentText("Close");

  Preferences p;
  p.actionAtRounds = 1;
  p.keepGoingCount = 7;
  p.numbersSwapOption = 2;
  p.highlightBriefly = 1;
  p.methodLimit = 3;
  p.compositionLimit = 22;
  p.callUp = 0;
  p.showTips = 2;
  p.callChangeTips = 1;
  p.showClock = 1;
  p.halfLeadSplicing = 1;
  p.autoPopup = 1;
  p.rememberMufflesAndWholePulls = 1;
  p.ropesInSeparateWindow = 1;
  p.rememberRopes = 0;
  p.showDownRopes = 1;
  p.maxTimeFactor = 17;
  p.surprise = 0;
  p.soundsFile = "Close";
  return p;
}

class SettingsDialogsTest : public MainWindowTest {
 protected:
  // The eight-bell tower, ready and stood.
  void Open(MainWindow& w) {
    w.resize(900, 500);
    w.show();
    w.UnloadTower();
    w.LoadTower("Eight Bells");
    ASSERT_TRUE(RunUntil([&] { return w.towerReady(); }));
  }
};

TEST_F(SettingsDialogsTest, PreferencesRoundTripThroughTheSettingsStore) {
  Preferences chosen;
  {
    MainWindow w(options());
    Open(w);
    const Preferences before = ReadPreferences(w.settings());

    // Cancel after changing every control stores nothing.
    ASSERT_TRUE(WithModalDialog<PreferencesDialog>(w, command::Preferences, [&](PreferencesDialog& d) {
      ChooseAwayFromDefaults(d);
      Click(Find<QPushButton>(&d, pc::Help));
      ASSERT_NE(w.helpBrowser(), nullptr);
      EXPECT_TRUE(w.helpBrowser()->source().path().endsWith("preferences.html"));
      EXPECT_TRUE(d.isVisible());
      Click(Find<QPushButton>(&d, pc::Cancel));
    }));
    EXPECT_EQ(ReadPreferences(w.settings()), before);
    EXPECT_EQ(w.tower()->recordingSource(), "Eight Bells Chamber");
    ASSERT_NE(w.ropesWindow(), nullptr);
    EXPECT_FALSE(w.ropesWindow()->floating());

    // OK stores every control's value, and the new sounds are loaded.
    ASSERT_TRUE(WithModalDialog<PreferencesDialog>(w, command::Preferences, [&](PreferencesDialog& d) {
      EXPECT_EQ(d.windowTitle(), "Preferences");
      EXPECT_EQ(d.Chosen(), before);
      chosen = ChooseAwayFromDefaults(d);
      EXPECT_EQ(d.Chosen(), chosen);
      Save(d, "preferences_changed.png");
      Click(Find<QPushButton>(&d, pc::Ok));
    }));
    EXPECT_EQ(ReadPreferences(w.settings()), chosen);
    // The ropes left the tower view for a window of their own.
    ASSERT_NE(w.ropesWindow(), nullptr);
    EXPECT_TRUE(w.ropesWindow()->floating());
    EXPECT_EQ(w.settings().GetTowerString(tower_string::SoundsFile), "Close");
    EXPECT_EQ(w.tower()->recordingSource(), "Eight Bells Close");
    ASSERT_NE(w.view()->sound(), nullptr);
    EXPECT_TRUE(w.view()->sound()->isOpen());
    EXPECT_NE(w.view()->sound()->openBuffer(0), Mixer::NoBuffer);

    // Reopened, the dialog shows what was stored.
    ASSERT_TRUE(WithModalDialog<PreferencesDialog>(w, command::Preferences, [&](PreferencesDialog& d) {
      EXPECT_EQ(d.Chosen(), chosen);
      EXPECT_EQ(Find<QLineEdit>(&d, pc::MethodsEdit)->text(), "3");
      EXPECT_EQ(Find<QLineEdit>(&d, pc::MaxClockSpeedEdit)->text(), "362.0");
      EXPECT_EQ(Find<QComboBox>(&d, pc::Sound)->currentText(), "Close");
      Click(Find<QPushButton>(&d, pc::Cancel));
    }));
  }
  // Written at exit and read by the next start.
  MainWindow again(options());
  Open(again);
  EXPECT_EQ(ReadPreferences(again.settings()), chosen);
  EXPECT_NE(registryText().find("\"MethodLimit\"=dword:00000003"), std::string::npos);
}

TEST_F(SettingsDialogsTest, PreferencesConfirmedWhileRingingReachTheTouch) {
  MainWindow w(options());
  Open(w);
  for (const QChar bell : QString("123456")) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(bell));
    QApplication::sendEvent(w.towerViewWidget(), &press);
  }
  PressKey(w.towerViewWidget(), Qt::Key_Space);
  ASSERT_TRUE(RunUntil([&] { return w.rowsWindow()->RowCount() >= 4; }));
  ASSERT_TRUE(WithModalDialog<PreferencesDialog>(w, command::Preferences, [&](PreferencesDialog& d) {
    // The sounds are not reloaded under ringing bells.
    EXPECT_FALSE(Find<QComboBox>(&d, pc::Sound)->isEnabled());
    Find<QRadioButton>(&d, pc::ThatsAll)->click();
    TypeAndLeave(Find<QLineEdit>(&d, pc::KeepGoingCountEdit), "3");
    Click(Find<QPushButton>(&d, pc::Ok));
  }));
  EXPECT_EQ(w.engine()->WithTouch([](ChangeGenerator* touch) { return touch ? touch->keepGoingLeft() : -1; }), 3);
  EXPECT_EQ(w.settings().GetInt(setting::ActionAtRounds), 1);
  w.DoCommand(command::StopNow);
}

// The dialog on its own over the settings store, as the ringer uses it.
class PreferencesDialogTest : public MainWindowTest {
 protected:
  PreferencesDialogTest() { settings.SetTowerString(tower_string::SoundsFile, "Chamber"); }
  PreferencesContext Context(std::string nameText = {}, bool changeable = true) {
    PreferencesContext c;
    c.soundSets = {"Chamber.txt", "Close.txt"};
    c.soundSetChangeable = changeable;
    c.nameText = std::move(nameText);
    return c;
  }
  SettingsStore settings;
};

TEST_F(PreferencesDialogTest, ChoicesEnableTheirControls) {
  struct Case {
    int radio;
    std::vector<int> enabled, disabled;
  } cases[] = {
      {pc::KeepGoing, {}, {pc::KeepGoingCountEdit, pc::KeepGoingCountUpDown}},
      {pc::ThatsAll, {pc::KeepGoingCountEdit, pc::KeepGoingCountUpDown}, {}},
      {pc::Stand, {pc::KeepGoingCountEdit, pc::KeepGoingCountUpDown}, {}},
      {pc::TipsNever, {}, {pc::CallChangeTips}},
      {pc::TipsWhenStood, {}, {pc::CallChangeTips}},
      {pc::TipsAlways, {pc::CallChangeTips}, {}},
  };
  PreferencesDialog d(settings, Context());
  // As stored by default: Stand and tips when stood.
  EXPECT_TRUE(Find<QLineEdit>(&d, pc::KeepGoingCountEdit)->isEnabled());
  EXPECT_FALSE(Find<QCheckBox>(&d, pc::CallChangeTips)->isEnabled());
  for (const Case& c : cases) {
    Find<QRadioButton>(&d, c.radio)->click();
    for (const int id : c.enabled) EXPECT_TRUE(Find<QWidget>(&d, id)->isEnabled()) << c.radio << " " << id;
    for (const int id : c.disabled) EXPECT_FALSE(Find<QWidget>(&d, id)->isEnabled()) << c.radio << " " << id;
  }
  // With Keep Going chosen the count cannot be stepped either.
  Find<QRadioButton>(&d, pc::KeepGoing)->click();
  EXPECT_FALSE(Find<UpDown>(&d, pc::KeepGoingCountUpDown)->StepBy(1));
  Save(d, "preferences_keep_going.png");
}

TEST_F(PreferencesDialogTest, UpDownsKeepTheirEditsInRange) {
  struct Case {
    int edit, upDown;
    const char* typed;  // null: step the arrows instead
    int steps;
    const char* shown;
  } cases[] = {
      {pc::MethodsEdit, pc::MethodsUpDown, "40", 0, "25"},
      {pc::MethodsEdit, pc::MethodsUpDown, nullptr, 1, "25"},  // the arrow refuses past 25
      {pc::CompositionsEdit, pc::CompositionsUpDown, "0", 0, "1"},
      {pc::CompositionsEdit, pc::CompositionsUpDown, nullptr, -1, "1"},
      {pc::CompositionsEdit, pc::CompositionsUpDown, "twelve", 0, "1"},
      {pc::KeepGoingCountEdit, pc::KeepGoingCountUpDown, "250", 0, "100"},
      {pc::KeepGoingCountEdit, pc::KeepGoingCountUpDown, "4", 1, "5"},
      {pc::MaxClockSpeedEdit, pc::MaxClockSpeedUpDown, nullptr, -20, "4.0"},
      {pc::MaxClockSpeedEdit, pc::MaxClockSpeedUpDown, nullptr, 30, "1024.0"},
      {pc::MaxClockSpeedEdit, pc::MaxClockSpeedUpDown, nullptr, -8, "64.0"},
  };
  PreferencesDialog d(settings, Context());
  EXPECT_EQ(Find<QLineEdit>(&d, pc::MaxClockSpeedEdit)->text(), "64.0");
  EXPECT_TRUE(Find<QLineEdit>(&d, pc::MaxClockSpeedEdit)->isReadOnly());
  // The arrow keys in an edit step its up-down.
  PressKey(Find<QLineEdit>(&d, pc::MaxClockSpeedEdit), Qt::Key_Down);
  EXPECT_EQ(Find<QLineEdit>(&d, pc::MaxClockSpeedEdit)->text(), "45.3");
  PressKey(Find<QLineEdit>(&d, pc::MaxClockSpeedEdit), Qt::Key_Up);
  for (const Case& c : cases) {
    auto* edit = Find<QLineEdit>(&d, c.edit);
    auto* upDown = Find<UpDown>(&d, c.upDown);
    if (c.typed) TypeAndLeave(edit, c.typed);
    for (int i = 0; i < std::abs(c.steps); ++i) (c.steps > 0 ? upDown->upButton() : upDown->downButton())->click();
    EXPECT_EQ(edit->text().toStdString(), c.shown) << (c.typed ? c.typed : "arrows") << " " << c.steps;
  }
  // OK stores the clamped values; text typed just before OK is taken too.
  Find<QLineEdit>(&d, pc::MethodsEdit)->setText("31");
  d.accept();
  EXPECT_EQ(settings.GetInt(setting::MethodLimit), 25);
  EXPECT_EQ(settings.GetInt(setting::CompositionLimit), 1);
  EXPECT_EQ(settings.GetInt(setting::KeepGoingCount), 5);
  EXPECT_EQ(settings.GetInt(setting::MaxTimeFactor), 12);
}

TEST_F(PreferencesDialogTest, TheSurpriseOptionAndTheSoundList) {
  {
    PreferencesDialog d(settings, Context("Cambridge Surprise Major"));
    auto* surprise = Find<QCheckBox>(&d, pc::Surprise);
    EXPECT_TRUE(surprise->isVisibleTo(&d));
    EXPECT_EQ(surprise->text(), "Cambridge Surprise!");
    EXPECT_TRUE(surprise->isChecked());
    auto* sound = Find<QComboBox>(&d, pc::Sound);
    ASSERT_EQ(sound->count(), 2);
    EXPECT_EQ(sound->itemText(0), "Chamber");
    EXPECT_EQ(sound->itemText(1), "Close");
    EXPECT_TRUE(sound->isEnabled());
    d.show();
    Save(d, "preferences.png");
  }
  {
    PreferencesDialog d(settings, Context("Plain Bob Major"));
    EXPECT_FALSE(Find<QCheckBox>(&d, pc::Surprise)->isVisibleTo(&d));
  }
  // While the bells ring the sounds stay as they are, whatever the list shows.
  PreferencesDialog ringing(settings, Context({}, false));
  auto* sound = Find<QComboBox>(&ringing, pc::Sound);
  EXPECT_FALSE(sound->isEnabled());
  sound->setCurrentIndex(1);
  ringing.accept();
  EXPECT_FALSE(ringing.change().soundSetChanged);
  EXPECT_EQ(settings.GetTowerString(tower_string::SoundsFile), "Chamber");
  // A sound set the tower does not list is not replaced by the first one.
  settings.SetTowerString(tower_string::SoundsFile, "Gone");
  PreferencesDialog unlisted(settings, Context());
  EXPECT_EQ(Find<QComboBox>(&unlisted, pc::Sound)->currentIndex(), -1);
  unlisted.accept();
  EXPECT_EQ(settings.GetTowerString(tower_string::SoundsFile), "Gone");
}

TEST_F(SettingsDialogsTest, VolumeSpeedAndPitchButtonsActAsTheKeys) {
  MainWindow w(options());
  Open(w);
  w.settings().SetInt(setting::Volume, 2000);
  struct Case {
    int button;
    Qt::KeyboardModifiers modifiers;
    int pealMins, clockStep, semitones, volume;
    const char* pealTime;
    const char* clockSpeed;
    const char* tenorNote;
  };
  const Qt::KeyboardModifiers none = Qt::NoModifier, ctrl = Qt::ControlModifier;
  const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
  const Case cases[] = {
      {vc::DecreasePealTime, none, 179, 0, 0, 2000, "2h59", "1.0", "G"},
      {vc::IncreasePealTime, none, 180, 0, 0, 2000, "3h00", "1.0", "G"},
      {vc::DecreasePealTime, ctrl, 180, -1, 0, 2000, "3h00", "0.71", "G"},
      {vc::IncreasePealTime, ctrl, 180, 0, 0, 2000, "3h00", "1.0", "G"},
      {vc::IncreasePealTime, ctrlShift, 180, 12, 0, 2000, "3h00", "64.00", "G"},
      {vc::DecreasePealTime, ctrlShift, 180, 0, 0, 2000, "3h00", "1.0", "G"},
      {vc::DecreasePealTime, ctrlShift, 180, -6, 0, 2000, "3h00", "0.12", "G"},
      {vc::IncreasePealTime, ctrlShift, 180, 0, 0, 2000, "3h00", "1.0", "G"},
      {vc::RaisePitch, none, 180, 0, 1, 2000, "3h00", "1.0", "Ab"},
      {vc::LowerPitch, none, 180, 0, 0, 2000, "3h00", "1.0", "G"},
      {vc::LowerPitch, none, 180, 0, -1, 2000, "3h00", "1.0", "F#"},
      {vc::RaisePitch, ctrl, 180, 0, -1, 1900, "3h00", "1.0", "F#"},
      {vc::LowerPitch, ctrl, 180, 0, -1, 2000, "3h00", "1.0", "F#"},
      {vc::LowerPitch, ctrl, 180, 0, -1, 2100, "3h00", "1.0", "F#"},
  };
  ASSERT_TRUE(WithModalDialog<VolumeSpeedPitchDialog>(w, command::VolumeSpeedPitch, [&](VolumeSpeedPitchDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Volume, Speed and Pitch");
    EXPECT_EQ(Find<QSlider>(&d, vc::Volume)->value(), 80);
    EXPECT_EQ(Find<QLabel>(&d, vc::PealTime)->text(), "3h00");
    EXPECT_EQ(Find<QLabel>(&d, vc::DesiredClockSpeed)->text(), "1.0");
    EXPECT_EQ(Find<QLabel>(&d, vc::TenorNote)->text(), "G");
    EXPECT_FALSE(Find<QPushButton>(&d, vc::RaisePitch)->icon().isNull());
    Save(d, "volume_speed_pitch.png");
    for (const Case& c : cases) {
      Click(Find<QPushButton>(&d, c.button), c.modifiers);
      const std::string which = std::to_string(c.button) + " with " + std::to_string(c.modifiers.toInt());
      EXPECT_EQ(w.settings().GetTowerInt(tower_setting::PealMins), c.pealMins) << which;
      EXPECT_EQ(Ringing().clockStep, c.clockStep) << which;
      EXPECT_EQ(w.settings().GetTowerString(tower_string::SemitoneShift), std::to_string(c.semitones)) << which;
      EXPECT_EQ(w.settings().GetInt(setting::Volume), c.volume) << which;
      EXPECT_EQ(Find<QSlider>(&d, vc::Volume)->value(), VolumeSliderPosition(c.volume)) << which;
      EXPECT_EQ(Find<QLabel>(&d, vc::PealTime)->text().toStdString(), c.pealTime) << which;
      EXPECT_EQ(Find<QLabel>(&d, vc::DesiredClockSpeed)->text().toStdString(), c.clockSpeed) << which;
      EXPECT_EQ(Find<QLabel>(&d, vc::TenorNote)->text().toStdString(), c.tenorNote) << which;
      EXPECT_EQ(w.paneText(1).toStdString(), c.tenorNote) << which;
    }
    // The slider sets every bell's volume: the left end is silence.
    Find<QSlider>(&d, vc::Volume)->setValue(25);
    EXPECT_EQ(w.settings().GetInt(setting::Volume), 7500);
    EXPECT_EQ(w.view()->sound()->volumeLevel(), -7500);
    Find<QSlider>(&d, vc::Volume)->setValue(0);
    EXPECT_EQ(w.view()->sound()->volumeLevel(), -10000);
    Click(Find<QPushButton>(&d, vc::Help));
    ASSERT_NE(w.helpBrowser(), nullptr);
    EXPECT_EQ(w.helpBrowser()->source().fragment(), "vsp");
    Click(Find<QPushButton>(&d, vc::Close));
    EXPECT_FALSE(d.isVisible());
  }));
}

}  // namespace
}  // namespace clangor
