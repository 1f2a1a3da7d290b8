// The simulator's entry: one instance per user, the main window, the
// message loop; the main window's destruction unloads the tower, saves the
// library and writes the settings.
#include <QApplication>

#include <memory>

#include "shell/data_folder.h"
#include "shell/main_window.h"
#include "shell/single_instance.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Clangor");
  clangor::UseInstalledDataFolder(QCoreApplication::applicationDirPath().toStdString());

  clangor::SingleInstance instance(clangor::SingleInstance::DefaultName());
  if (instance.AskRunningInstance()) return 0;

  int code;
  {
    clangor::MainWindow window;
    instance.Listen([&window] {
      if (window.isMinimized()) window.showNormal();
      window.raise();
      window.activateWindow();
    });
    if (window.settings().GetInt(clangor::setting::Maximised) == 1) window.showMaximized();
    else window.show();
    code = app.exec();
  }
  return code;
}
