// The library's dialogs opened from the main window: a method and a
// composition for it written through the dialogs, rung through the real
// engine on a simulated clock; and the "x" key's editor of what was rung
// last.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "engine/ringing_state.h"
#include "shell/command_ids.h"
#include "shell/main_window.h"
#include "tests/shell/main_window_fixture.h"
#include "views/rows_store.h"
#include "views/rows_window.h"
#include "views/tower_view_widget.h"

namespace clangor {
namespace {

namespace cmd = command;

void Fill(QDialog& dialog, const char* name, const QString& text) {
  if (auto* line = dialog.findChild<QLineEdit*>(name)) line->setText(text);
  else if (auto* edit = dialog.findChild<QPlainTextEdit*>(name)) edit->setPlainText(text);
  else ADD_FAILURE() << "no field " << name;
}

void Press(QDialog& dialog, const char* name) {
  auto* button = dialog.findChild<QPushButton*>(name);
  ASSERT_NE(button, nullptr) << name;
  button->click();
}

class LibraryFromWindowTest : public MainWindowTest {
 protected:
  void Open(MainWindow& w, const char* bells) {
    w.resize(1000, 500);
    w.show();
    w.UnloadTower();
    w.LoadTower("Eight Bells");
    ASSERT_TRUE(RunUntil([&] { return w.towerReady(); }));
    for (const QChar c : QString(bells)) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(w.towerViewWidget(), &press);
    }
  }
};

// Rows as the rows pane shows them: the bells only.
std::vector<std::string> Touch(MainWindow& w, int bells) {
  const RowsStore& rows = w.rowsWindow()->store();
  std::vector<std::string> touch;
  for (int i = 0; i < rows.RowCount(); ++i) touch.push_back(rows.Row(i).substr(1, static_cast<std::size_t>(bells)));
  return touch;
}

TEST_F(LibraryFromWindowTest, ANewMethodAndACompositionForItComeRoundAtTheirLength) {
  MainWindow w(options());
  Open(w, "123456");
  w.ShowRows(true);
  // The method, through the method list, its editor and the call dialog.
  steps.push_back([this](QDialog& list) {
    steps.push_back([this](QDialog& editor) {
      Fill(editor, "c1056", "Dialog Bob");
      Fill(editor, "c1057", "|12|&-16-16-16");
      steps.push_back([](QDialog& call) {
        Fill(call, "c1061", "|");
        Fill(call, "c1062", "Bob");
        Fill(call, "c1063", "b");
        Fill(call, "c1064", "14");
        Press(call, "c1");
      });
      Press(editor, "callNew");
      Press(editor, "c1");
    });
    Press(list, "c1053");
    Press(list, "c2");
  });
  w.DoCommand(cmd::MethodList);
  EXPECT_EQ(dialogs, (std::vector<std::string>{"Minor Methods", "New Minor Method", "New Call"}));
  // The composition, through the composition list, its editor and the method entry dialog; then Go.
  steps.push_back([this](QDialog& list) {
    steps.push_back([this](QDialog& editor) {
      Fill(editor, "c1075", "Dialog Touch");
      Fill(editor, "c1081", "6");
      Fill(editor, "c1082", "120");
      Fill(editor, "c1090", "-- ppp -- ppp");
      steps.push_back([](QDialog& entry) {
        Fill(entry, "c1076", "Dialog Bob Minor");
        Press(entry, "c1");
      });
      Press(editor, "entryNew");
      Press(editor, "c1");
    });
    Press(list, "c1070");
    auto* view = list.findChild<QTreeWidget*>("c1051");
    ASSERT_EQ(view->currentItem()->text(0), "Dialog Bob Minor (Dialog Touch)");
    Press(list, "c1");
  });
  w.DoCommand(cmd::CompositionList);
  EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
  const std::string library = dataFolder().string() + "/Compendium/XII/";
  std::ifstream methods(library + "methods.txt"), compositions(library + "compositions.txt");
  const std::string methodsText((std::istreambuf_iterator<char>(methods)), {});
  const std::string compositionsText((std::istreambuf_iterator<char>(compositions)), {});
  EXPECT_NE(methodsText.find("Dialog Bob=|12|&-16-16-16,|14\n"), std::string::npos);
  EXPECT_NE(compositionsText.find("Name=Dialog Touch\nBells=6\nLength=120\nMethod=Dialog Bob Minor\nLine=-- ppp -- ppp\n"),
            std::string::npos);

  // Go started the bells, and the touch: they stand when it comes round.
  ASSERT_TRUE(RunUntil([&] { return w.engine()->ringing(); }));
  ASSERT_TRUE(RunUntil([&] { return !w.engine()->ringing(); }));
  w.DrainEngineEvents();
  const std::vector<std::string> touch = Touch(w, 6);
  const auto first = std::find_if(touch.begin(), touch.end(), [](const std::string& row) { return row != "123456"; });
  ASSERT_NE(first, touch.end());
  const auto round = std::find(first, touch.end(), "123456");
  ASSERT_NE(round, touch.end()) << ::testing::PrintToString(touch);
  EXPECT_EQ(round - first + 1, 120);
  Save(w, "window_after_dialog_touch.png");

  // "x" opens the composition rung last; a change there is what Go Again rings.
  steps.push_back([](QDialog& editor) {
    EXPECT_EQ(editor.windowTitle(), "Edit Composition");
    Fill(editor, "c1075", "Dialog Touch Again");
    Press(editor, "c1");
  });
  QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
  QApplication::sendEvent(&w, &x);
  EXPECT_EQ(dialogs.back(), "Edit Composition");
  ASSERT_NE(w.ReadCommandState().library->FindComposition("Dialog Touch Again"), nullptr);
}

}  // namespace
}  // namespace clangor
