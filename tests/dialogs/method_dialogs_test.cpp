// The method list, the method editor and the call dialog, worked as a
// ringer works them.
#include <sys/resource.h>

#include <QHeaderView>
#include <QLabel>

#include "library/dialogs/call_dialog.h"
#include "library/dialogs/method_editor_dialog.h"
#include "library/dialogs/method_list_dialog.h"
#include "ringing/method.h"
#include "shell/settings_table.h"
#include "tests/dialogs/dialog_fixture.h"

namespace clangor {
namespace {

constexpr const char* SixMethods =
    "[3]\n\n[6]\nPlain Bob=|12|&-16-16-16,|14|1234\nKent Treble Bob=|12|&34-1-56-14-16-12-16-12\n"
    "Cambridge Surprise=|12|&-36-14-12-36-14-56\n\n";
constexpr const char* OneComposition =
    "[Standard Headings]\n\n[Compositions]\nName=Bobs Only\nBells=6\nMethod=Plain Bob Minor\nLength=360\nLine=ppppppppppppp\n\n";

class MethodDialogs : public DialogTest {
 protected:
  MethodDialogs() { Load(SixMethods, OneComposition); }

  // A step that fills a call dialog and presses OK.
  static Step FillCall(const char* marker, const char* name, const char* letter, const char* notation) {
    return [=](QDialog& d) {
      SetText(d, "c1061", marker);
      SetText(d, "c1062", name);
      SetText(d, "c1063", letter);
      SetText(d, "c1064", notation);
      Click(d, "c1");
    };
  }
};

TEST_F(MethodDialogs, ListCaptionOrderTicksAndGo) {
  settings.SetInt(setting::MethodLimit, 2);
  MethodListDialog list(context(6), nullptr);
  list.show();
  EXPECT_EQ(list.windowTitle(), "Minor Methods");
  auto* view = Child<QTreeWidget>(list, "c1049");
  ASSERT_EQ(view->topLevelItemCount(), 3);
  EXPECT_EQ(view->headerItem()->text(0), "(in order of usage)");
  EXPECT_EQ(view->topLevelItem(0)->text(0), "Plain Bob Minor");
  const auto ticked = [&](int row) { return view->topLevelItem(row)->data(0, Qt::UserRole + 1).toBool(); };
  EXPECT_TRUE(ticked(0));
  EXPECT_TRUE(ticked(1));
  EXPECT_FALSE(ticked(2));
  Shoot(list, "method_list.png");
  // A click on the header sorts by title; the ticks stay with the methods the menus offer.
  view->header()->sectionClicked(0);
  EXPECT_EQ(view->headerItem()->text(0), "(alphabetical order)");
  EXPECT_EQ(view->topLevelItem(0)->text(0), "Cambridge Surprise Minor");
  EXPECT_FALSE(ticked(0));
  EXPECT_EQ(view->topLevelItem(2)->text(0), "Plain Bob Minor");
  EXPECT_TRUE(ticked(2));
  // Apply rings and keeps the list; Go rings and closes it.
  view->setCurrentItem(view->topLevelItem(1));
  Click(list, "c1050");
  EXPECT_TRUE(list.isVisible());
  Click(list, "c1");
  EXPECT_FALSE(list.isVisible());
  EXPECT_EQ(rung, (std::vector<std::string>{"Kent Treble Bob Minor", "Kent Treble Bob Minor"}));
  EXPECT_EQ(list.result(), QDialog::Accepted);
  // The column width is kept.
  EXPECT_EQ(settings.GetInt(setting::MNameCol), view->columnWidth(0));
  Click(list, "c1126");
  EXPECT_EQ(helpTopics, std::vector<std::string>{"library.html#methods"});
}

TEST_F(MethodDialogs, NewMethodWithCallsIsWrittenOnOk) {
  MethodListDialog list(context(6), nullptr);
  list.show();
  std::string caption;
  steps.push_back([&](QDialog& editor) {
    caption = editor.windowTitle().toStdString();
    EXPECT_EQ(Child<QLabel>(editor, "c1058")->text(), "Minor");
    SetText(editor, "c1056", "  Little   Bob ");
    SetText(editor, "c1057", "|12|&-16-14");
    Click(editor, "callNew");
    Click(editor, "callNew");
    Shoot(editor, "method_editor_new.png");
    Click(editor, "c1");
  });
  steps.push_back(FillCall("|", "Single", "s", "1234"));
  steps.push_back([](QDialog& call) {
    EXPECT_EQ(call.windowTitle(), "New Call");
    SetText(call, "c1061", "|");
    SetText(call, "c1062", "Bob");
    SetText(call, "c1063", "b");
    SetText(call, "c1064", "14");
    Shoot(call, "call_dialog.png");
    Click(call, "c1");
  });
  Click(list, "c1053");
  EXPECT_TRUE(steps.empty());
  EXPECT_EQ(caption, "New Minor Method");
  EXPECT_TRUE(boxes.empty());
  EXPECT_NE(ReadText(file(MethodsFile)).find("\nLittle Bob=|12|&-16-14,|14|1234\n"), std::string::npos);
  // The list shows it, chosen.
  auto* view = Child<QTreeWidget>(list, "c1049");
  EXPECT_EQ(view->currentItem()->text(0), "Little Bob Minor");
  // The compositions file is written with the methods.
  EXPECT_NE(ReadText(file(CompositionsFile)).find("Method=Plain Bob Minor"), std::string::npos);
}

TEST_F(MethodDialogs, EditKeepsTheCallsAndRenames) {
  Method* plainBob = library.Methods(6)[0].get();
  MethodEditorDialog editor(context(6), EditorMode::Edit, plainBob, plainBob, nullptr);
  editor.show();
  EXPECT_EQ(editor.windowTitle(), "Edit Minor Method");
  EXPECT_EQ(Text(editor, "c1057"), "|12|&-16-16-16");
  auto* calls = Child<QTreeWidget>(editor, "c1060");
  ASSERT_EQ(calls->topLevelItemCount(), 2);
  EXPECT_EQ(calls->headerItem()->text(0), "Marker");
  EXPECT_EQ(calls->headerItem()->text(1), "Name");
  EXPECT_EQ(calls->headerItem()->text(2), "Letter");
  EXPECT_EQ(calls->headerItem()->text(3), "Notation");
  EXPECT_EQ(calls->topLevelItem(0)->text(1), "Bob");
  EXPECT_EQ(calls->topLevelItem(1)->text(1), "Single");
  Shoot(editor, "method_editor_edit.png");
  // Modify the Single, then remove the Bob: the Single stands alone after an empty segment.
  calls->setCurrentItem(calls->topLevelItem(1));
  steps.push_back([](QDialog& call) {
    EXPECT_EQ(call.windowTitle(), "Modify Call");
    EXPECT_EQ(Text(call, "c1062"), "Single");
    SetText(call, "c1064", "1456");
    Click(call, "c1");
  });
  Click(editor, "callEdit");
  calls->setCurrentItem(calls->topLevelItem(0));
  Click(editor, "callRemove");
  SetText(editor, "c1056", "Plain Bobbed");
  Click(editor, "c1");
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(plainBob->name, "Plain Bobbed");
  const std::string methods = ReadText(file(MethodsFile));
  EXPECT_NE(methods.find("[6]\nPlain Bobbed=|12|&-16-16-16,||1456\n"), std::string::npos) << methods;
  // The composition names the method by its new title.
  EXPECT_NE(ReadText(file(CompositionsFile)).find("Method=Plain Bobbed Minor\n"), std::string::npos);
  // Column widths of the calls list are kept.
  EXPECT_EQ(settings.GetInt(setting::CallNameCol), calls->columnWidth(1));
}

TEST_F(MethodDialogs, EveryCheckSaysItsMessageAndPutsTheFocusBack) {
  // "X=" and 298 characters: one more than the file can read back.
  static const std::string LongNotation = "&" + std::string(297, '-');
  struct Case {
    const char *name, *notation;
    std::vector<MethodCall> calls;  // entered through the call dialog
    const char *text, *caption, *focus;
  };
  const Case cases[] = {
      {"X", "", {}, "Notation must have a value", "Invalid Notation", "c1057"},
      {"X", "&-17", {}, "Use these characters only:123456&.-:|/\\", "Invalid Notation", "c1057"},
      {"X", "&-16", {{'|', "Bob", 'b', "14"}}, "Call marker not found in the method's notation", "Invalid Call", "c1060"},
      {"X", "|12|&-16", {{'|', "Bob", 'b', "14"}, {'|', "Big", 'b', "16"}}, "Duplicate name or letter for same marker",
       "Invalid Call", "c1060"},
      {"X", "|12|/1/&-16", {{'|', "Bob", 'b', "14"}, {'/', "Bob", 'c', "16"}},
       "Name or letter mismatch with another call", "Invalid Call", "c1060"},
      {"X", LongNotation.c_str(), {}, "Total length of name, notation and calls must not exceed 299 characters",
       "Line length exceeded", "c1057"},
      {"Kent Treble Bob", "&-16", {}, "A method with this name already exists", "Invalid Name", "c1056"},
  };
  const std::string before = ReadText(file(MethodsFile));
  for (const Case& c : cases) {
    boxes.clear();
    MethodEditorDialog editor(context(6), EditorMode::New, nullptr, nullptr, nullptr);
    editor.show();
    SetText(editor, "c1056", c.name);
    SetText(editor, "c1057", c.notation);
    for (const MethodCall& call : c.calls) {
      const std::string marker(1, call.marker), letter(1, call.letter);
      steps.push_back(FillCall(marker.c_str(), call.name.c_str(), letter.c_str(), call.notation.c_str()));
      Click(editor, "callNew");
    }
    Child<QWidget>(editor, "c1")->setFocus();
    Click(editor, "c1");
    ASSERT_EQ(boxes.size(), 1u) << c.text;
    EXPECT_EQ(boxes[0].text, c.text);
    EXPECT_EQ(boxes[0].caption, c.caption);
    EXPECT_EQ(Focused(editor), c.focus) << c.text;
    EXPECT_TRUE(editor.isVisible()) << c.text;
  }
  EXPECT_EQ(ReadText(file(MethodsFile)), before);
}

TEST_F(MethodDialogs, CallDialogChecksInOrder) {
  struct Case {
    const char *marker, *name, *letter, *notation, *text, *caption, *focus;
  };
  const Case cases[] = {
      {"x", "Bob", "b", "14", "Marker must be one of |/\\", "Invalid Marker Character", "c1061"},
      {"|", "", "b", "14", "Call must have a name", "Invalid Name", "c1062"},
      {"|", "A:B", "b", "14", "Name must not include any of |/\\:,", "Invalid Name", "c1062"},
      {"|", "Bob", "P", "14", "Letter must be lowercase alphabetic (but not 'p')", "Invalid Letter", "c1063"},
      {"|", "Bob", "pp", "14", "Letter must be lowercase alphabetic (but not 'p')", "Invalid Letter", "c1063"},
      {"|", "Bob", "b", "", "Notation must have a value", "Invalid Notation", "c1064"},
      {"|", "Bob", "b", "1&4", "Notation must comprise only bell numbers, full stops and hyphens", "Invalid Notation", "c1064"},
  };
  for (const Case& c : cases) {
    boxes.clear();
    CallDialog call(6, nullptr, nullptr);
    call.show();
    SetText(call, "c1061", c.marker);
    SetText(call, "c1062", c.name);
    SetText(call, "c1063", c.letter);
    SetText(call, "c1064", c.notation);
    Click(call, "c1");
    ASSERT_EQ(boxes.size(), 1u) << c.text;
    EXPECT_EQ(boxes[0].text, c.text);
    EXPECT_EQ(boxes[0].caption, c.caption);
    EXPECT_EQ(Focused(call), c.focus) << c.text;
  }
  // At most 21 characters are read from each field.
  CallDialog call(6, nullptr, nullptr);
  SetText(call, "c1062", std::string(30, 'n'));
  EXPECT_EQ(Text(call, "c1062").size(), 21u);
}

TEST_F(MethodDialogs, ConvertFromMicroSiril) {
  MethodEditorDialog editor(context(6), EditorMode::New, nullptr, nullptr, nullptr);
  editor.show();
  SetText(editor, "c1057", "b &-16-16-16");
  Click(editor, "c1115");
  EXPECT_EQ(Text(editor, "c1057"), "|2|&-16-16-16");
  SetText(editor, "c1057", "g + &34-1-56-14-16-12-16-12");
  Click(editor, "c1115");
  EXPECT_EQ(Text(editor, "c1057"), "|1|&34-1-56-14-16-12-16-12");
}

TEST_F(MethodDialogs, DeleteRefusedWhileACompositionUsesTheMethod) {
  Method* plainBob = library.Methods(6)[0].get();
  {
    MethodEditorDialog editor(context(6), EditorMode::Edit, plainBob, plainBob, nullptr);
    editor.show();
    Click(editor, "c1059");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Unable to Delete");
    EXPECT_EQ(boxes[0].text, "Remove this method from compositions before deleting");
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(library.Methods(6).size(), 3u);
  }
  // Another one goes, and the file with it.
  const Method* kent = library.Methods(6)[1].get();
  MethodEditorDialog editor(context(6), EditorMode::Edit, kent, library.Methods(6)[1].get(), nullptr);
  editor.show();
  Click(editor, "c1059");
  EXPECT_EQ(editor.result(), MethodEditorDialog::Deleted);
  EXPECT_EQ(library.Methods(6).size(), 2u);
  EXPECT_EQ(forgotten, std::vector<const void*>{kent});
  EXPECT_EQ(ReadText(file(MethodsFile)).find("Kent"), std::string::npos);
  // A new method has nothing to delete.
  MethodEditorDialog fresh(context(6), EditorMode::New, nullptr, nullptr, nullptr);
  EXPECT_FALSE(Child<QPushButton>(fresh, "c1059")->isEnabled());
}

TEST_F(MethodDialogs, ViewOnlyWhileRinging) {
  LibraryDialogContext c = context(6);
  c.viewOnly = true;
  MethodListDialog list(c, nullptr);
  list.show();
  EXPECT_EQ(Child<QPushButton>(list, "c1054")->text(), "View...");
  EXPECT_FALSE(Child<QPushButton>(list, "c1053")->isEnabled());
  EXPECT_FALSE(Child<QPushButton>(list, "c1055")->isEnabled());
  steps.push_back([](QDialog& editor) {
    EXPECT_EQ(editor.windowTitle(), "View Minor Method");
    EXPECT_TRUE(Child<QLineEdit>(editor, "c1057")->isReadOnly());
    EXPECT_FALSE(Child<QPushButton>(editor, "c1059")->isEnabled());
    Click(editor, "c1");
  });
  Click(list, "c1054");
  EXPECT_TRUE(steps.empty());
}

// A file that cannot be written: the dialog says so, keeps what was typed,
// and the library and the file stay as they were.
TEST_F(MethodDialogs, AFailedWriteKeepsTheEdit) {
  const std::string before = ReadText(file(MethodsFile));
  BlockWriting(MethodsFile);
  MethodEditorDialog editor(context(6), EditorMode::New, nullptr, nullptr, nullptr);
  editor.show();
  SetText(editor, "c1056", "Little Bob");
  SetText(editor, "c1057", "|12|&-16-14");
  Click(editor, "c1");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Unable to Save");
  EXPECT_NE(boxes[0].text.find("methods.txt could not be written"), std::string::npos) << boxes[0].text;
  EXPECT_TRUE(editor.isVisible());
  EXPECT_EQ(Text(editor, "c1056"), "Little Bob");
  EXPECT_EQ(library.Methods(6).size(), 3u);
  EXPECT_EQ(ReadText(file(MethodsFile)), before);
  // An edit that fails leaves the method as it was; so does a delete.
  Method* kent = library.Methods(6)[1].get();
  MethodEditorDialog edit(context(6), EditorMode::Edit, kent, kent, nullptr);
  edit.show();
  SetText(edit, "c1056", "Kentish");
  Click(edit, "c1");
  EXPECT_EQ(kent->name, "Kent Treble Bob");
  EXPECT_TRUE(edit.isVisible());
  Click(edit, "c1059");
  EXPECT_EQ(library.Methods(6)[1].get(), kent);
  EXPECT_TRUE(forgotten.empty());
  EXPECT_EQ(boxes.size(), 3u);
  // Once the way is clear, OK stores it.
  fs::remove_all(file(MethodsFile).string() + ".writing");
  Click(editor, "c1");
  EXPECT_FALSE(editor.isVisible());
  EXPECT_NE(ReadText(file(MethodsFile)).find("Little Bob=|12|&-16-14\n"), std::string::npos);
}

// A full disk: the new file cannot be written whole, so the old one stays.
TEST_F(MethodDialogs, AFullDiskKeepsTheOldFile) {
  const std::string before = ReadText(file(MethodsFile));
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  MethodEditorDialog editor(context(6), EditorMode::New, nullptr, nullptr, nullptr);
  editor.show();
  SetText(editor, "c1056", "Little Bob");
  SetText(editor, "c1057", "|12|&-16-14");
  rlimit full = old;
  full.rlim_cur = before.size();  // room for the old file, not for the new
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
  Click(editor, "c1");
  setrlimit(RLIMIT_FSIZE, &old);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Unable to Save");
  EXPECT_TRUE(editor.isVisible());
  EXPECT_EQ(ReadText(file(MethodsFile)), before);
  EXPECT_FALSE(fs::exists(file(MethodsFile).string() + ".writing"));
  EXPECT_EQ(library.Methods(6).size(), 3u);
}

}  // namespace
}  // namespace clangor
