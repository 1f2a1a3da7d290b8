// Veriprobe: the windowless earlier-version check that setup runs before it
// copies the product files. It shows nothing unless an earlier version is
// found; then its message box is owned by the setup window, which setup
// announces to the programs it starts (CLANGOR_SETUP_WINDOW: the window id,
// a tab and its title), found by its title as the only test.
#include <QApplication>
#include <QMessageBox>
#include <QWindow>

#include <cstdlib>
#include <memory>
#include <string>

#include "precheck/earlier_version_check.h"

namespace {

// The setup window announced to this process, when its title is the installer's.
QWindow* FindOwner() {
  const char* announced = std::getenv("CLANGOR_SETUP_WINDOW");
  if (!announced) return nullptr;
  std::string text = announced;
  std::size_t tab = text.find('\t');
  if (tab == std::string::npos || text.substr(tab + 1) != clangor::precheck::OwnerTitle) return nullptr;
  WId id = static_cast<WId>(std::strtoull(text.substr(0, tab).c_str(), nullptr, 10));
  return id ? QWindow::fromWinId(id) : nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<QApplication> app;
  QWindow* owner = nullptr;
  bool ownerLooked = false;
  return clangor::precheck::RunEarlierVersionCheck([&](const std::string& title, const std::string& text) {
    if (!app) app = std::make_unique<QApplication>(argc, argv);
    if (!ownerLooked) {
      owner = FindOwner();
      ownerLooked = true;
    }
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok | QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    if (owner) {
      box.winId();
      box.windowHandle()->setTransientParent(owner);
    }
    return box.exec() == QMessageBox::Ok ? clangor::precheck::Answer::Ok : clangor::precheck::Answer::Cancel;
  });
}
