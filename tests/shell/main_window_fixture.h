// The whole program offscreen on a data folder of its own: the fixture and
// helpers the main window's tests share.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/ringing_state.h"
#include "platform/ticks.h"
#include "shell/framework/message_box.h"
#include "shell/framework/modal_dialog.h"
#include "shell/main_window.h"
#include "tests/platform/temp_folder.h"

namespace clangor {

namespace fs = std::filesystem;

// Runs the event loop until `done` holds; false after `guardMs` (a guard
// against a hang only: the tests run on a simulated ringing clock).
inline bool RunUntil(const std::function<bool()>& done, int guardMs = 120000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > guardMs) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

inline void Save(QWidget& widget, const std::string& name) {
  fs::create_directories(CLANGOR_SCREENSHOT_DIR);
  widget.grab().save(QString::fromStdString(std::string(CLANGOR_SCREENSHOT_DIR) + "/" + name), "PNG");
}

inline void PressKey(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Space ? " " : "");
  QApplication::sendEvent(target, &press);
}

// A data folder of its own: the product's towers, recordings and program
// pictures linked in, the library copied so that saving it touches nothing
// of the build's.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    const fs::path data = fs::path(temp.path()) / "share/Orvanta/Clangor";
    fs::create_directories(data / "Towers/XII");
    for (const char* folder : {"Program Stuff", "Recordings", "Help", "Defaults"})
      fs::create_directory_symlink(fs::path(CLANGOR_TEST_DATA_DIR) / folder, data / folder);
    for (const auto& tower : fs::directory_iterator(fs::path(CLANGOR_TEST_DATA_DIR) / "Towers/XII"))
      fs::create_directory_symlink(tower.path(), data / "Towers/XII" / tower.path().filename());
    fs::copy(fs::path(CLANGOR_TEST_DATA_DIR) / "Compendium", data / "Compendium", fs::copy_options::recursive);
    OvLibrary::SetMessageBoxHook([this](const OvLibrary::MessageBoxRecord& box) {
      boxes.push_back(box);
      return QMessageBox::Ok;
    });
    // A dialog is worked by the next step, or closed at once when there is none.
    OvLibrary::SetModalHook([this](QDialog& dialog) {
      dialogs.push_back(dialog.windowTitle().toStdString());
      if (steps.empty()) return;
      const auto step = steps.front();
      steps.pop_front();
      step(dialog);
    });
    Ringing().Reset();
  }
  ~MainWindowTest() override {
    OvLibrary::SetMessageBoxHook({});
    OvLibrary::SetModalHook({});
  }

  fs::path dataFolder() const { return fs::path(temp.path()) / "share/Orvanta/Clangor"; }
  std::string registryText() const {
    std::ifstream in(fs::path(temp.path()) / "registry/HKEY_CURRENT_USER.reg");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  MainWindowOptions options() {
    MainWindowOptions o;
    o.ticks = &ticks;
    return o;
  }
  static bool Ready(MainWindow& w) { return w.towerReady(); }

  testing::TempFolder temp;
  testing::ScopedEnv registry{"CLANGOR_REGISTRY_DIR", temp / "registry"};
  testing::ScopedEnv appData{"CLANGOR_COMMON_APPDATA", temp / "share"};
  // Each millisecond the worker sleeps moves the ringing clock 20 ms on.
  SimulatedTickSource ticks{1000, 20};
  std::vector<OvLibrary::MessageBoxRecord> boxes;
  std::deque<std::function<void(QDialog&)>> steps;
  std::vector<std::string> dialogs;  // the captions of the dialogs opened
};

}  // namespace clangor
