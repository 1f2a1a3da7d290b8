// setup PACKAGE [/nodesktop]: installs the product a setup package holds,
// through the wizard. Renames left pending by an earlier installer or
// uninstaller are carried out first. The wizard's window is announced to the
// programs setup starts (CLANGOR_SETUP_WINDOW: its id, a tab, its title), so
// that the earlier-version check can own its message box.
#include <QApplication>
#include <QMessageBox>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "installer/package/default_messages.h"
#include "installer/package/package_error.h"
#include "installer/setup/form_background.h"
#include "installer/setup/form_setup.h"
#include "installer/steps/machine_registry.h"

using namespace clangor::outfit;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    QMessageBox::warning(nullptr, "Outfitter Setup", "Usage: setup PACKAGE [/nodesktop]");
    return 2;
  }
  CarryOutPendingRenames();
  std::vector<std::string> arguments(argv + 2, argv + argc);
  const SetupPackage* known = nullptr;
  auto askForVolume = [&](int volume) {
    std::string caption = known ? known->settings.caption : "Outfitter Setup";
    std::string text = known ? FormatMessage(known->Message(message::InsertVolume), {std::to_string(volume)})
                             : "Volume " + std::to_string(volume) + " of the setup package is missing.";
    return QMessageBox::information(nullptr, QString::fromStdString(caption), QString::fromStdString(text),
                                    QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
  };
  try {
    PackageReader reader(argv[1], askForVolume);
    known = &reader.Package();
    reader.ReadHeader();
    reader.ReadSections();
    SetupSession session(reader, arguments);
    std::unique_ptr<TFormBackground> background;
    if (reader.Package().ShowsBackground()) {
      background = std::make_unique<TFormBackground>(QString::fromStdString(reader.Package().backgroundCaption));
      background->showFullScreen();
    }
    TFormSetup form(session);
    form.show();
    std::string announced = std::to_string(form.winId()) + "\t" + session.Caption();
    ::setenv("CLANGOR_SETUP_WINDOW", announced.c_str(), 1);
    return app.exec();
  } catch (const PackageError& e) {
    QMessageBox::critical(nullptr, "Outfitter Setup", QString::fromStdString(e.what()));
    return 1;
  }
}
