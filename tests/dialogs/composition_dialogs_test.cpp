// The composition list, the composition editor and the method entry
// dialog, worked as a ringer works them.
#include <QCheckBox>
#include <QListWidget>
#include <QTabWidget>

#include "library/dialogs/composition_editor_dialog.h"
#include "library/dialogs/composition_list_dialog.h"
#include "library/dialogs/method_entry_dialog.h"
#include "shell/settings_table.h"
#include "tests/dialogs/dialog_fixture.h"

namespace clangor {
namespace {

constexpr const char* Methods =
    "[3]\n\n[6]\nPlain Bob=&-16-16-16,2,|14|1234\nKent Treble Bob=&34-1-56-14-16-12-16-12,2\n\n"
    "[8]\nPlain Bob=&-18-18-18-18,2,|14|1234\n\n";
constexpr const char* Compositions =
    "[Standard Headings]\n6=H:6 W:5 M:4\nPlain Bob Minor=B:2 H:6\n\n[Compositions]\n"
    "Name=Bobs Only\nComposer=A Ringer\nSource=Ringing World\nBells=6\nLength=360\nMethod=Plain Bob Minor\nLine=-p-p-p\nParts=3\n\n"
    "Name=Spliced\nBells=6\nLength=720\nMethod=Plain Bob Minor:P\nMethod=Kent Treble Bob Minor:K\nLine=PKPKPK\n\n";

class CompositionDialogs : public DialogTest {
 protected:
  CompositionDialogs() { Load(Methods, Compositions); }
};

TEST_F(CompositionDialogs, ListColumnsDescriptionAndGo) {
  settings.SetInt(setting::CompositionLimit, 1);
  CompositionListDialog list(context(6), nullptr);
  list.show();
  EXPECT_EQ(list.windowTitle(), "Compositions");
  auto* view = Child<QTreeWidget>(list, "c1051");
  EXPECT_EQ(view->headerItem()->text(0), "Composition (in order of usage)");
  EXPECT_EQ(view->headerItem()->text(1), "Length");
  EXPECT_EQ(view->headerItem()->text(2), "Source");
  EXPECT_EQ(view->headerItem()->text(3), "Composer");
  ASSERT_EQ(view->topLevelItemCount(), 2);
  EXPECT_EQ(view->topLevelItem(0)->text(0), "Plain Bob Minor (Bobs Only)");
  EXPECT_EQ(view->topLevelItem(0)->text(1), "360");
  EXPECT_EQ(view->topLevelItem(0)->text(2), "Ringing World");
  EXPECT_EQ(view->topLevelItem(0)->text(3), "A Ringer");
  EXPECT_EQ(view->topLevelItem(1)->text(0), "Spliced");
  EXPECT_TRUE(view->topLevelItem(0)->data(0, Qt::UserRole + 1).toBool());
  EXPECT_FALSE(view->topLevelItem(1)->data(0, Qt::UserRole + 1).toBool());
  EXPECT_EQ(Text(list, "c1052"), "Plain Bob Minor\n\n-p-p-p\n3 part");
  Shoot(list, "composition_list.png");
  list.SetAlphabetical(true);
  EXPECT_EQ(view->headerItem()->text(0), "Composition (alphabetical order)");
  view->setCurrentItem(view->topLevelItem(1));
  EXPECT_EQ(view->currentItem()->text(0), "Spliced");
  Click(list, "c1");
  EXPECT_EQ(rung, std::vector<std::string>{"Spliced"});
  EXPECT_EQ(settings.GetInt(setting::CListDlgWidth), list.width());
  EXPECT_EQ(settings.GetInt(setting::CNameCol), view->columnWidth(0));
}

TEST_F(CompositionDialogs, EditorShowsTheCompositionOnItsPages) {
  Composition* spliced = library.compositions()[1].get();
  CompositionEditorDialog editor(context(6), EditorMode::Edit, spliced, spliced, nullptr);
  editor.show();
  EXPECT_EQ(editor.windowTitle(), "Edit Composition");
  EXPECT_EQ(Text(editor, "c1075"), "Spliced");
  EXPECT_EQ(Text(editor, "c1081"), "6");
  EXPECT_EQ(Text(editor, "c1082"), "720");
  EXPECT_EQ(Text(editor, "c1090"), "PKPKPK\n");
  auto* tabs = Child<QTabWidget>(editor, "c1096");
  ASSERT_EQ(tabs->count(), 4);
  EXPECT_EQ(tabs->tabText(0), "Composition");
  EXPECT_EQ(tabs->tabText(3), "Other Details");
  Shoot(editor, "composition_editor_composition.png");
  tabs->setCurrentIndex(1);
  auto* entries = Child<QTreeWidget>(editor, "c1071");
  ASSERT_EQ(entries->topLevelItemCount(), 2);
  EXPECT_EQ(entries->topLevelItem(1)->text(0), "Kent Treble Bob Minor");
  EXPECT_EQ(entries->topLevelItem(1)->text(1), "K");
  Shoot(editor, "composition_editor_methods.png");
  tabs->setCurrentIndex(2);
  // Two methods: the stage's standard headings are the default.
  EXPECT_EQ(Text(editor, "c1102"), "6");
  EXPECT_EQ(Child<QTreeWidget>(editor, "c1088")->topLevelItemCount(), 3);
  EXPECT_EQ(Child<QTreeWidget>(editor, "c1101")->topLevelItemCount(), 2);
  Shoot(editor, "composition_editor_headings.png");
  tabs->setCurrentIndex(3);
  Shoot(editor, "composition_editor_other.png");
}

TEST_F(CompositionDialogs, EveryCheckSaysItsMessageAndPutsTheFocusBack) {
  struct Case {
    const char* field;
    std::string value;
    const char *text, *caption, *focus;
  };
  const std::string tooLong(295, '-'), longest(294, '-');
  const Case cases[] = {
      {"c1081", "6 8", "Enter bell numbers separated by commas", "Incorrect value in Bells field", "c1081"},
      {"c1081", "", "Enter bell numbers separated by commas", "Incorrect value in Bells field", "c1081"},
      {"c1105", "H6", "Enter heading:position pairs, separated by spaces", "Invalid special headings", "c1105"},
      {"c1090", "  \n", "Compositions cannot be blank", "Empty Composition", "c1090"},
      {"c1093", "19", "Specify the initial position of the observation bell", "Invalid Observation", "c1093"},
      {"c1093", "0", "Specify the initial position of the observation bell", "Invalid Observation", "c1093"},
      {"c1091", "0", "Enter the number of parts, or -1 to repeat indefinitely", "Invalid 'Parts'", "c1091"},
      {"c1091", "-2", "Enter the number of parts, or -1 to repeat indefinitely", "Invalid 'Parts'", "c1091"},
      {"c1087", "|x", "Use only |/\\", "Invalid Call Markers", "c1087"},
      {"c1094", tooLong, "A line of notes exceeds 294 characters", "Note line too long", "c1094"},
      {"c1090", "-p\n" + tooLong, "A line of the composition exceeds 294 characters", "Composition line too long", "c1090"},
      {"c1089", "4", "Leads per course and non-standard headings don't mix", "Invalid Combination", "c1089"},
  };
  Composition* bobs = library.compositions()[0].get();
  for (const Case& c : cases) {
    boxes.clear();
    CompositionEditorDialog editor(context(6), EditorMode::Edit, bobs, bobs, nullptr);
    editor.show();
    if (std::string(c.field) == "c1089") SetText(editor, "c1105", "H:6 W:5");
    SetText(editor, c.field, c.value);
    Child<QWidget>(editor, "c1")->setFocus();
    Click(editor, "c1");
    ASSERT_EQ(boxes.size(), 1u) << c.text;
    EXPECT_EQ(boxes[0].text, c.text);
    EXPECT_EQ(boxes[0].caption, c.caption);
    EXPECT_EQ(Focused(editor), c.focus) << c.text;
    EXPECT_TRUE(editor.isVisible());
  }
  // The edges that pass: the longest line, "-1" parts, observation 1, "|/" markers.
  CompositionEditorDialog editor(context(6), EditorMode::Edit, bobs, bobs, nullptr);
  editor.show();
  boxes.clear();
  SetText(editor, "c1090", "-p-p-p\n" + longest);
  SetText(editor, "c1091", "-1");
  SetText(editor, "c1093", "1");
  SetText(editor, "c1087", "|/");
  SetText(editor, "c1092", "0");
  Click(editor, "c1");
  EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
  EXPECT_EQ(bobs->parts, -1);
  EXPECT_EQ(bobs->observation, 0);
  EXPECT_EQ(bobs->keepGoing, 0);
  const std::string text = ReadText(file(CompositionsFile));
  EXPECT_NE(text.find("Line=" + longest + "\n"), std::string::npos);
  EXPECT_NE(text.find("DefaultCallMarkers=|/\nLine=-p-p-p\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Parts=-1\nObservation=1\n"), std::string::npos) << text;
}

TEST_F(CompositionDialogs, MethodEntryChecks) {
  struct Case {
    EntryFields entry;
    const char *text, *caption, *focus;
  };
  const Case cases[] = {
      {{"Kent Treble Bob Minor", "K~", "", ""}, "Name must not include any of |/\\:,~", "Invalid Label", "c1077"},
      {{"Kent Treble Bob Minor", "K:", "", ""}, "Name must not include any of |/\\:,~", "Invalid Label", "c1077"},
      {{"Kent Treble Bob Minor", "K", "", "|17"}, "Notation must consist of these characters only:123456.- |/\\",
       "Invalid Notation", "c1079"},
      {{"Plain Bob Minor", "Q", "", ""}, "This method is already on the list", "Duplicate Method", "c1076"},
      {{"Grandsire Minor", "G", "", ""}, "Method not found", "Invalid Method", "c1076"},
      // Plain Bob Major is a method of the library, not at the composition's stage.
      {{"Plain Bob Major", "M", "", ""}, "Method not found", "Invalid Method", "c1076"},
  };
  for (const Case& c : cases) {
    boxes.clear();
    MethodEntryDialog dialog(library, nullptr, {{"Plain Bob Minor", "", "", ""}}, "6", nullptr);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "New Method Entry");
    SetText(dialog, "c1076", c.entry.title);
    SetText(dialog, "c1077", c.entry.label);
    SetText(dialog, "c1078", c.entry.length);
    SetText(dialog, "c1079", c.entry.specialCalls);
    Click(dialog, "c1");
    ASSERT_EQ(boxes.size(), 1u) << c.text;
    EXPECT_EQ(boxes[0].text, c.text);
    EXPECT_EQ(boxes[0].caption, c.caption);
    EXPECT_EQ(Focused(dialog), c.focus) << c.text;
  }
  // Select offers the methods of the composition's bells; an unreadable field says so.
  boxes.clear();
  MethodEntryDialog unreadable(library, nullptr, {}, "six", nullptr);
  Click(unreadable, "c1095");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Unknown Number of Bells");
  EXPECT_EQ(boxes[0].text, "The 'Bells' field on the main form may be invalid");
  MethodEntryDialog dialog(library, nullptr, {}, "6", nullptr);
  dialog.show();
  steps.push_back([](QDialog& picker) {
    auto* methods = Child<QListWidget>(picker, "methods");
    ASSERT_EQ(methods->count(), 2);
    methods->setCurrentRow(1);
    picker.accept();
  });
  Click(dialog, "c1095");
  EXPECT_EQ(Text(dialog, "c1076"), "Kent Treble Bob Minor");
  Shoot(dialog, "method_entry.png");
  Click(dialog, "c1");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(CompositionDialogs, SpecialHeadingsAreClearedOnlyWhenConfirmed) {
  Composition* bobs = library.compositions()[0].get();
  CompositionEditorDialog editor(context(6), EditorMode::Edit, bobs, bobs, nullptr);
  editor.show();
  SetText(editor, "c1105", "H:6");
  auto* standard = Child<QTreeWidget>(editor, "c1101");
  standard->setCurrentItem(standard->topLevelItem(0));
  answer = QMessageBox::Cancel;
  Click(editor, "c1104");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Confirm...");
  EXPECT_EQ(boxes[0].text, "The Special Headings field will be cleared");
  EXPECT_EQ(Text(editor, "c1105"), "H:6");
  EXPECT_EQ(Text(editor, "c1103"), "");
  answer = QMessageBox::Ok;
  Click(editor, "c1104");
  EXPECT_EQ(Text(editor, "c1105"), "");
  EXPECT_EQ(Text(editor, "c1103"), "6");
  Click(editor, "c1");
  EXPECT_NE(ReadText(file(CompositionsFile)).find("Headings=6\n"), std::string::npos);
}

TEST_F(CompositionDialogs, NewCopyAndDelete) {
  CompositionListDialog list(context(6), nullptr);
  list.show();
  steps.push_back([this](QDialog& editor) {
    SetText(editor, "c1075", "Kent Touch");
    SetText(editor, "c1082", "144");
    SetText(editor, "c1090", "-p-p\n");
    SetText(editor, "c1083", "Someone");
    steps.push_front([](QDialog& entry) {
      SetText(entry, "c1076", "Kent Treble Bob Minor");
      Click(entry, "c1");
    });
    Click(editor, "entryNew");
    Click(editor, "c1");
  });
  Click(list, "c1070");
  EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
  ASSERT_EQ(library.compositions().size(), 3u);
  std::string text = ReadText(file(CompositionsFile));
  EXPECT_NE(text.find("Name=Kent Touch\nComposer=Someone\nBells=6\nLength=144\nMethod=Kent Treble Bob Minor\nLine=-p-p\n\n"),
            std::string::npos)
      << text;
  // Delete goes, and the file with it.
  const Composition* touch = library.compositions()[2].get();
  auto* view = Child<QTreeWidget>(list, "c1051");
  EXPECT_EQ(view->currentItem()->text(0), "Kent Treble Bob Minor (Kent Touch)");
  steps.push_back([](QDialog& editor) { Click(editor, "c1080"); });
  Click(list, "c1068");
  EXPECT_EQ(library.compositions().size(), 2u);
  EXPECT_EQ(forgotten, std::vector<const void*>{touch});
  EXPECT_EQ(ReadText(file(CompositionsFile)).find("Kent Touch"), std::string::npos);
}

TEST_F(CompositionDialogs, AFailedWriteKeepsTheEdit) {
  const std::string before = ReadText(file(CompositionsFile));
  BlockWriting(CompositionsFile);
  Composition* bobs = library.compositions()[0].get();
  CompositionEditorDialog editor(context(6), EditorMode::Edit, bobs, bobs, nullptr);
  editor.show();
  SetText(editor, "c1075", "Bobs and Singles");
  Click(editor, "c1");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Unable to Save");
  EXPECT_TRUE(editor.isVisible());
  EXPECT_EQ(bobs->name, "Bobs Only");
  EXPECT_EQ(bobs->lines, std::vector<std::string>{"-p-p-p"});
  EXPECT_EQ(ReadText(file(CompositionsFile)), before);
}

}  // namespace
}  // namespace clangor
