// The call-change sequence list and editor, worked as a ringer works them.
#include "library/dialogs/sequence_editor_dialog.h"
#include "library/dialogs/sequence_list_dialog.h"
#include "ringing/call_change_sequence.h"
#include "tests/dialogs/dialog_fixture.h"

namespace clangor {
namespace {

constexpr const char* Sequences = "[3]\n\n[6]\nQueens=3.5.2.4\nTittums=4.2.5\n\n[8]\nQueens=3.5.7.2.4.6\n\n";

class SequenceDialogs : public DialogTest {
 protected:
  SequenceDialogs() { Load("[3]\n\n", "[Standard Headings]\n\n[Compositions]\n", Sequences); }
};

TEST_F(SequenceDialogs, ListCaptionOrderAndGo) {
  SequenceListDialog list(context(6), nullptr);
  list.show();
  EXPECT_EQ(list.windowTitle(), "Call Change Sequences for 6 Bells");
  auto* view = Child<QTreeWidget>(list, "c1142");
  ASSERT_EQ(view->topLevelItemCount(), 2);
  EXPECT_EQ(view->headerItem()->text(0), "(in order of usage)");
  EXPECT_EQ(view->topLevelItem(0)->text(0), "Queens");
  Shoot(list, "sequence_list.png");
  list.SetAlphabetical(true);
  EXPECT_EQ(view->headerItem()->text(0), "(alphabetical order)");
  view->setCurrentItem(view->topLevelItem(1));
  EXPECT_EQ(view->currentItem()->text(0), "Tittums");
  Click(list, "c1");
  EXPECT_EQ(rung, std::vector<std::string>{"Tittums"});
}

TEST_F(SequenceDialogs, CaptionsOfEachMode) {
  CallChangeSequence* queens = library.Sequences(6)[0].get();
  SequenceEditorDialog fresh(context(6), EditorMode::New, nullptr, nullptr, nullptr);
  EXPECT_EQ(fresh.windowTitle(), "New call change sequence for 6 bells");
  EXPECT_FALSE(Child<QPushButton>(fresh, "c1149")->isEnabled());
  SequenceEditorDialog edit(context(6), EditorMode::Edit, queens, queens, nullptr);
  edit.show();
  EXPECT_EQ(edit.windowTitle(), "Edit 6-bell call change sequence: Queens");
  EXPECT_TRUE(Child<QPushButton>(edit, "c1149")->isEnabled());
  Shoot(edit, "sequence_editor.png");
  SequenceEditorDialog view(context(6), EditorMode::View, queens, queens, nullptr);
  view.show();
  EXPECT_EQ(view.windowTitle(), "View 6-bell call change sequence: Queens");
  EXPECT_TRUE(Child<QPushButton>(view, "c1149")->isHidden());
  EXPECT_TRUE(Child<QPushButton>(view, "c2")->isHidden());
  EXPECT_EQ(Child<QPushButton>(view, "c1")->text(), "Close");
  EXPECT_TRUE(Child<QLineEdit>(view, "c1150")->isReadOnly());
  EXPECT_TRUE(Child<QPlainTextEdit>(view, "c1057")->isReadOnly());
  Shoot(view, "sequence_editor_view.png");
  // The fields read at most 90 and 200 characters.
  SetText(fresh, "c1150", std::string(100, 'n'));
  SetText(fresh, "c1057", std::string(250, '3'));
  EXPECT_EQ(Text(fresh, "c1150").size(), 90u);
  EXPECT_EQ(Text(fresh, "c1057").size(), 200u);
}

TEST_F(SequenceDialogs, EveryCheckSaysItsMessageAndPutsTheFocusBack) {
  struct Case {
    const char *name, *notation, *text, *caption, *focus;
  };
  const Case cases[] = {
      {"X", "", "Notation must have a value", "Invalid Notation", "c1057"},
      {"X", "3. 5", "Use these characters only:123456.", "Invalid Notation", "c1057"},
      {"X", "3.\n5", "Use these characters only:123456.", "Invalid Notation", "c1057"},
      {"Tittums", "3.5", "A ccseq with this name already exists", "Invalid Name", "c1150"},
  };
  for (const Case& c : cases) {
    boxes.clear();
    SequenceEditorDialog editor(context(6), EditorMode::New, nullptr, nullptr, nullptr);
    editor.show();
    SetText(editor, "c1150", c.name);
    SetText(editor, "c1057", c.notation);
    Child<QWidget>(editor, "c1")->setFocus();
    Click(editor, "c1");
    ASSERT_EQ(boxes.size(), 1u) << c.text;
    EXPECT_EQ(boxes[0].text, c.text);
    EXPECT_EQ(boxes[0].caption, c.caption);
    EXPECT_EQ(Focused(editor), c.focus) << c.text;
    EXPECT_TRUE(editor.isVisible());
  }
}

TEST_F(SequenceDialogs, NewEditedAndDeletedAreWritten) {
  SequenceListDialog list(context(6), nullptr);
  list.show();
  steps.push_back([](QDialog& editor) {
    SetText(editor, "c1150", " Whittingtons ");
    SetText(editor, "c1057", "3.5.4");
    Click(editor, "c1");
  });
  Click(list, "c1145");
  // A name of another stage is free.
  SequenceListDialog eight(context(8), nullptr);
  eight.show();
  EXPECT_EQ(Child<QTreeWidget>(eight, "c1142")->topLevelItemCount(), 1);
  steps.push_back([](QDialog& editor) {
    SetText(editor, "c1150", "Tittums");
    SetText(editor, "c1057", "4.6.2.5");
    Click(editor, "c1");
  });
  Click(eight, "c1145");
  steps.push_back([](QDialog& editor) {
    EXPECT_EQ(Text(editor, "c1150"), "Queens");
    SetText(editor, "c1150", "Queens backwards");
    Click(editor, "c1");
  });
  Child<QTreeWidget>(eight, "c1142")->setCurrentItem(Child<QTreeWidget>(eight, "c1142")->topLevelItem(0));
  Click(eight, "c1147");  // Copy
  EXPECT_TRUE(steps.empty());
  EXPECT_TRUE(boxes.empty());
  std::string text = ReadText(file(SequencesFile));
  EXPECT_NE(text.find("[6]\nQueens=3.5.2.4\nTittums=4.2.5\nWhittingtons=3.5.4\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[8]\nQueens=3.5.7.2.4.6\nTittums=4.6.2.5\nQueens backwards=3.5.7.2.4.6\n"), std::string::npos)
      << text;
  // Edited in place, then deleted.
  auto* view = Child<QTreeWidget>(list, "c1142");
  view->setCurrentItem(view->topLevelItem(1));
  steps.push_back([](QDialog& editor) {
    SetText(editor, "c1057", "4.2.5.3");
    Click(editor, "c1");
  });
  Click(list, "c1146");
  EXPECT_NE(ReadText(file(SequencesFile)).find("Tittums=4.2.5.3\n"), std::string::npos);
  const CallChangeSequence* tittums = library.Sequences(6)[1].get();
  view->setCurrentItem(view->topLevelItem(1));
  steps.push_back([](QDialog& editor) { Click(editor, "c1149"); });
  Click(list, "c1146");
  EXPECT_EQ(ReadText(file(SequencesFile)).find("Tittums=4.2.5.3"), std::string::npos);
  EXPECT_EQ(forgotten, std::vector<const void*>{tittums});
  EXPECT_EQ(view->topLevelItemCount(), 2);
}

TEST_F(SequenceDialogs, AFailedWriteKeepsTheEdit) {
  const std::string before = ReadText(file(SequencesFile));
  BlockWriting(SequencesFile);
  CallChangeSequence* queens = library.Sequences(6)[0].get();
  SequenceEditorDialog editor(context(6), EditorMode::Edit, queens, queens, nullptr);
  editor.show();
  SetText(editor, "c1057", "5.3");
  Click(editor, "c1");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Unable to Save");
  EXPECT_TRUE(editor.isVisible());
  EXPECT_EQ(Text(editor, "c1057"), "5.3");
  EXPECT_EQ(queens->notation, "3.5.2.4");
  EXPECT_EQ(ReadText(file(SequencesFile)), before);
}

}  // namespace
}  // namespace clangor
