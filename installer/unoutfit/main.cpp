// The uninstaller a setup package carries (as "Unoutfit.exe" and
// "UnoutfitV.exe"): unoutfit [--yes] LOG removes what the installation log
// lists. First it carries out the renames and deletions that waited for the
// next start. At a terminal it asks before it removes anything, unless
// --yes is given; started from the menu it removes at once.
#include <unistd.h>

#include <iostream>
#include <string>

#include "installer/package/package_error.h"
#include "installer/package/setup_package.h"
#include "installer/steps/install_log.h"
#include "installer/steps/machine_registry.h"
#include "installer/steps/uninstallation.h"

namespace {

bool Confirmed(const clangor::outfit::InstallLog& log) {
  std::cout << clangor::outfit::FormatMessage(log.messages.at(1), {log.applicationName}) << " [y/N] " << std::flush;
  std::string answer;
  std::getline(std::cin, answer);
  return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

}  // namespace

int main(int argc, char** argv) {
  bool yes = false;
  std::string logPath;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--yes") yes = true;
    else logPath = arg;
  }
  if (logPath.empty()) {
    std::cerr << "usage: unoutfit [--yes] LOG\n";
    return 2;
  }
  clangor::outfit::CarryOutPendingRenames();
  auto log = clangor::outfit::ReadInstallLog(logPath);
  if (!log) {
    std::cerr << "unoutfit: " << logPath << " is not an installation log\n";
    return 1;
  }
  if (!yes && ::isatty(STDIN_FILENO) && !Confirmed(*log)) return 0;
  try {
    std::cout << clangor::outfit::FormatMessage(log->messages.at(4), {log->applicationName}) << "\n";
    auto report = clangor::outfit::Uninstall(logPath);
    for (const auto& path : report.pending) std::cout << "  " << path << " (removed at the next start)\n";
    std::cout << clangor::outfit::FormatMessage(report.pending.empty() ? log->messages.at(2) : log->messages.at(3),
                                                {log->applicationName})
              << "\n";
    return 0;
  } catch (const clangor::outfit::PackageError& e) {
    std::cerr << "unoutfit: " << e.what() << "\n";
    return 1;
  }
}
