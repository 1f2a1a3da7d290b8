#include "installer/package/default_messages.h"

#include <utility>

namespace clangor::outfit {

std::vector<std::string> DefaultMessages() {
  const std::pair<int, const char*> texts[] = {
      {message::WelcomeTitle, "Welcome to the setup of %s"},
      {message::ComponentsTitle, "Choose the components to install"},
      {message::FolderTitle, "Choose the folders to install into"},
      {message::ReadyTitle, "Setup is ready to install %s"},
      {message::InstallingTitle, "Installing %s"},
      {message::FinishedTitle, "Setup has finished"},
      {message::FinishedText, "%s has been installed on this computer."},
      {message::Browse, "&Browse..."},
      {message::ConfirmAbort, "Setup has not finished. Do you want to abort it?"},
      {message::SelectFolder, "Select the folder for %s"},
      {message::FolderCannotBeMade, "The folder %s cannot be made."},
      {message::InstallationFailed, "The installation has failed."},
      {12, "Portable installation"},
      {13, "Install as a portable application into this folder"},
      {message::Back, "< &Back"},
      {message::Proceed, "&Proceed >"},
      {message::Abort, "&Abort"},
      {message::ComponentDetails, "Show component details"},
      {message::InstallingFile, "Installing %s"},
      {message::CreatingShortcut, "Creating the shortcut %s"},
      {message::InsertVolume, "Please put volume %d of the setup package beside the first, then press OK."},
      {message::UninstallName, "Uninstall %s"},
      {60, "Do you want to remove %s and all of its components?"},
      {61, "%s has been removed from this computer."},
      {62, "Some items could not be removed. You can remove them by hand."},
      {63, "Removing %s"},
      {64, "Uninstall"},
      {message::UninstallDescription, "Removes %s from this computer"},
      {message::ExtractError, "An error occurred while installing %s:"},
      {message::CannotCreate, "The file cannot be created."},
      {message::CannotWrite, "The file cannot be written."},
      {message::SystemError, "%s"},
      {message::DotNetRequired, "This program needs the .NET Framework %s or later."},
      {message::DotNetStarting, "The .NET Framework installer is being started."},
      {message::DotNetDownload, "You can download the .NET Framework from %s"},
  };
  std::vector<std::string> messages(90);
  for (const auto& [index, text] : texts) messages[static_cast<std::size_t>(index)] = text;
  return messages;
}

}  // namespace clangor::outfit
