// A library in a folder of its own, settings in memory, and hooks that
// answer every message box (recording it) and work every modal dialog with
// the next of a queue of steps.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "library/dialogs/dialog_context.h"
#include "library/library.h"
#include "ringing/memory_settings.h"
#include "shell/framework/message_box.h"
#include "shell/framework/modal_dialog.h"
#include "shell/settings_table.h"
#include "tests/platform/temp_folder.h"

namespace clangor {

namespace fs = std::filesystem;

inline std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

template <typename T = QWidget>
T* Child(QWidget& dialog, const char* name) {
  T* child = dialog.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

inline void SetText(QWidget& dialog, const char* name, const std::string& text) {
  if (auto* line = dialog.findChild<QLineEdit*>(name)) line->setText(QString::fromStdString(text));
  else if (auto* edit = dialog.findChild<QPlainTextEdit*>(name)) edit->setPlainText(QString::fromStdString(text));
  else ADD_FAILURE() << "no field " << name;
}

inline std::string Text(QWidget& dialog, const char* name) {
  if (auto* line = dialog.findChild<QLineEdit*>(name)) return line->text().toStdString();
  if (auto* edit = dialog.findChild<QPlainTextEdit*>(name)) return edit->toPlainText().toStdString();
  ADD_FAILURE() << "no field " << name;
  return {};
}

inline void Click(QWidget& dialog, const char* name) {
  if (auto* button = Child<QPushButton>(dialog, name)) button->click();
}

// The name of the widget that has the dialog's focus.
inline std::string Focused(QWidget& dialog) {
  QWidget* focus = dialog.focusWidget();
  return focus ? focus->objectName().toStdString() : std::string();
}

inline void Shoot(QWidget& widget, const std::string& name) {
  fs::create_directories(CLANGOR_SCREENSHOT_DIR);
  QApplication::processEvents();
  widget.grab().save(QString::fromStdString(std::string(CLANGOR_SCREENSHOT_DIR) + "/" + name), "PNG");
}

class DialogTest : public ::testing::Test {
 protected:
  using Step = std::function<void(QDialog&)>;

  DialogTest() {
    // The settings as a first start has them.
    for (int i = 0; i < IntSettingCount; ++i) settings.SetInt(i, IntSettings[static_cast<std::size_t>(i)].defaultValue);
    OvLibrary::SetMessageBoxHook([this](const OvLibrary::MessageBoxRecord& box) {
      boxes.push_back(box);
      return answer;
    });
    OvLibrary::SetModalHook([this](QDialog& dialog) {
      ASSERT_FALSE(steps.empty()) << "no step for " << dialog.windowTitle().toStdString();
      const Step step = steps.front();
      steps.pop_front();
      step(dialog);
    });
  }
  ~DialogTest() override {
    OvLibrary::SetMessageBoxHook({});
    OvLibrary::SetModalHook({});
  }

  // Writes the library's three files and loads them.
  void Load(const std::string& methods, const std::string& compositions = "[Standard Headings]\n\n[Compositions]\n",
            const std::string& sequences = "[3]\n\n") {
    const fs::path folder = data() / LibraryFolder;
    fs::create_directories(folder);
    std::ofstream(folder / MethodsFile, std::ios::binary) << methods;
    std::ofstream(folder / CompositionsFile, std::ios::binary) << compositions;
    std::ofstream(folder / SequencesFile, std::ios::binary) << sequences;
    library.LoadLibrary(data(), nullptr);
  }
  fs::path data() const { return fs::path(temp.path()) / "data"; }
  fs::path file(const char* name) const { return data() / LibraryFolder / name; }
  // A folder in the way of the file's temporary copy: the file cannot be
  // replaced (as in a read-only folder, even for root).
  void BlockWriting(const char* name) { fs::create_directories(file(name).string() + ".writing/x"); }

  LibraryDialogContext context(int stage) {
    LibraryDialogContext c;
    c.library = &library;
    c.settings = &settings;
    c.stage = stage;
    c.ringMethod = [this](const Method& method) { rung.push_back(method.Title()); };
    c.ringSequence = [this](const CallChangeSequence& sequence) { rung.push_back(sequence.name); };
    c.ringComposition = [this](Composition& composition) { rung.push_back(composition.name); };
    c.help = [this](const std::string& topic) { helpTopics.push_back(topic); };
    c.forget = [this](const void* record) { forgotten.push_back(record); };
    return c;
  }

  testing::TempFolder temp;
  Library library;
  MemorySettings settings;
  std::deque<Step> steps;
  std::vector<OvLibrary::MessageBoxRecord> boxes;
  QMessageBox::StandardButton answer = QMessageBox::Ok;
  std::vector<std::string> rung, helpTopics;
  std::vector<const void*> forgotten;
};

}  // namespace clangor
