// The import dialog under Qt's offscreen platform: it lists the methods of
// the sample collection with their ticks and notes, filters them, imports
// the ticked ones that are shown, and refuses a file that is no collection.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <cstdlib>

#include "library/library.h"
#include "ringing/memory_settings.h"
#include "library/dialogs/import_methods_dialog.h"
#include "shell/framework/message_box.h"
#include "tests/library/temp_folder.h"

namespace clangor {
namespace {

QString SampleCollection() {
  const char* root = std::getenv("CLANGOR_SOURCE_DIR");
  return QString(root ? root : ".") + "/tests/library/collections/sample_collection.xml";
}

class ImportDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteText(data_.path() / LibraryFolder / MethodsFile,
                       "[3]\n[6]\nPlain Bob=|12|&-16-16-16,|14|1234\n[8]\nMy Own=-18-18.12\n");
    MemorySettings settings;
    library_.LoadLibrary(data_.path(), &settings);
    OvLibrary::SetMessageBoxHook([this](const OvLibrary::MessageBoxRecord& box) {
      boxes_.push_back(box);
      return QMessageBox::Ok;
    });
  }
  void TearDown() override { OvLibrary::SetMessageBoxHook({}); }

  QTreeWidget* List(ImportMethodsDialog& dialog) { return dialog.findChild<QTreeWidget*>(); }
  QTreeWidgetItem* Row(ImportMethodsDialog& dialog, const QString& title) {
    const auto found = List(dialog)->findItems(title, Qt::MatchExactly, ImportMethodsDialog::TitleColumn);
    return found.isEmpty() ? nullptr : found.front();
  }
  QPushButton* Button(ImportMethodsDialog& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
      if (button->text() == text) return button;
    return nullptr;
  }
  int Shown(ImportMethodsDialog& dialog) {
    int shown = 0;
    for (int row = 0; row < List(dialog)->topLevelItemCount(); ++row) shown += List(dialog)->topLevelItem(row)->isHidden() ? 0 : 1;
    return shown;
  }

  testing::TempFolder data_;
  Library library_;
  std::vector<OvLibrary::MessageBoxRecord> boxes_;
};

TEST_F(ImportDialog, ListsEveryMethodWithTicksAndNotes) {
  ImportMethodsDialog dialog(library_);
  ASSERT_TRUE(dialog.LoadCollection(SampleCollection()));
  dialog.show();
  EXPECT_EQ(List(dialog)->topLevelItemCount(), 44);
  QTreeWidgetItem* held = Row(dialog, "Plain Bob Minor");
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(held->checkState(0), Qt::Unchecked);
  EXPECT_FALSE(held->flags() & Qt::ItemIsEnabled);
  EXPECT_EQ(held->text(ImportMethodsDialog::NoteColumn), "Already in the library");
  QTreeWidgetItem* cambridge = Row(dialog, "Cambridge Surprise Major");
  ASSERT_NE(cambridge, nullptr);
  EXPECT_EQ(cambridge->checkState(0), Qt::Checked);
  EXPECT_EQ(cambridge->text(ImportMethodsDialog::StageColumn), "Major");
  EXPECT_EQ(cambridge->text(ImportMethodsDialog::NoteColumn), "|12|&-38-14-1258-36-14-58-16-78,|14|1234");
  // Without calls the lines lose their calls area and keep their ticks.
  Row(dialog, "Bristol Surprise Major")->setCheckState(0, Qt::Unchecked);
  dialog.findChild<QCheckBox*>()->setChecked(false);
  EXPECT_EQ(Row(dialog, "Cambridge Surprise Major")->text(ImportMethodsDialog::NoteColumn),
            "|12|&-38-14-1258-36-14-58-16-78");
  EXPECT_EQ(Row(dialog, "Bristol Surprise Major")->checkState(0), Qt::Unchecked);
  dialog.findChild<QCheckBox*>()->setChecked(true);

  const char* folder = CLANGOR_SCREENSHOT_DIR;
  QDir().mkpath(folder);
  dialog.findChild<QLineEdit*>()->setText("minor");
  EXPECT_TRUE(dialog.grab().save(QString(folder) + "/import_methods_dialog.png"));
}

TEST_F(ImportDialog, ImportsTheTickedMethodsTheFilterShows) {
  ImportMethodsDialog dialog(library_);
  ASSERT_TRUE(dialog.LoadCollection(SampleCollection()));
  dialog.findChild<QLineEdit*>()->setText("surprise");
  EXPECT_EQ(Shown(dialog), 13);
  Row(dialog, "London Surprise Minor")->setCheckState(0, Qt::Unchecked);
  Button(dialog, "&Import")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.report().added, 12);
  const std::string written = testing::ReadText(data_.path() / LibraryFolder / MethodsFile);
  EXPECT_NE(written.find("Cambridge Surprise=|12|&-38-14-1258-36-14-58-16-78,|14|1234\n"), std::string::npos);
  EXPECT_EQ(written.find("London Surprise="), std::string::npos);
  EXPECT_EQ(written.find("Plain Bob Major"), std::string::npos) << "hidden by the filter";
  EXPECT_NE(written.find("[8]\nMy Own=-18-18.12\n"), std::string::npos);

  // Ticking none leaves nothing to import.
  ImportMethodsDialog again(library_);
  ASSERT_TRUE(again.LoadCollection(SampleCollection()));
  Button(again, "Tick &None")->click();
  EXPECT_FALSE(Button(again, "&Import")->isEnabled());
  EXPECT_EQ(Row(again, "Cambridge Surprise Major")->text(ImportMethodsDialog::NoteColumn), "Already in the library");
}

TEST_F(ImportDialog, AFileThatIsNoCollectionIsRefusedWithItsReason) {
  testing::WriteText(data_.path() / "notes.xml", "Plain Bob=-16-16-16\n");
  ImportMethodsDialog dialog(library_);
  EXPECT_FALSE(dialog.LoadCollection(QString::fromStdString((data_.path() / "notes.xml").string())));
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].caption, "Import Methods");
  EXPECT_EQ(boxes_[0].text.rfind("notes.xml: not XML", 0), 0u) << boxes_[0].text;

  // A method that cannot be read is shown with its reason and cannot be ticked.
  testing::WriteText(data_.path() / "two.xml",
                     "<collection><methodSet><properties><stage>6</stage></properties>"
                     "<method><title>Good Minor</title><notation>x16x16x16,12</notation></method>"
                     "<method><title>Bad Minor</title><notation>x13,12</notation></method></methodSet></collection>");
  ASSERT_TRUE(dialog.LoadCollection(QString::fromStdString((data_.path() / "two.xml").string())));
  QTreeWidgetItem* bad = Row(dialog, "Bad Minor");
  ASSERT_NE(bad, nullptr);
  EXPECT_EQ(bad->checkState(0), Qt::Unchecked);
  EXPECT_FALSE(bad->flags() & Qt::ItemIsEnabled);
  EXPECT_TRUE(bad->text(ImportMethodsDialog::NoteColumn).startsWith("Refused: notation \"x13,12\" cannot be read"));
  Button(dialog, "Tick &All")->click();
  EXPECT_EQ(bad->checkState(0), Qt::Unchecked);
  Button(dialog, "&Import")->click();
  EXPECT_EQ(dialog.report().added, 1);
  EXPECT_EQ(dialog.report().refused.size(), 0u) << "only ticked methods are offered";
}

}  // namespace
}  // namespace clangor
