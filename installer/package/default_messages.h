// The messages a package carries when its manifest gives none of its own,
// at the line numbers the installer refers to them by.
#pragma once

#include <string>
#include <vector>

namespace clangor::outfit {

namespace message {
inline constexpr int WelcomeTitle = 0;
inline constexpr int ComponentsTitle = 1;
inline constexpr int FolderTitle = 2;
inline constexpr int ReadyTitle = 3;
inline constexpr int InstallingTitle = 4;
inline constexpr int FinishedTitle = 5;
inline constexpr int FinishedText = 6;
inline constexpr int Browse = 7;
inline constexpr int ConfirmAbort = 8;
inline constexpr int SelectFolder = 9;
inline constexpr int FolderCannotBeMade = 10;
inline constexpr int InstallationFailed = 11;
inline constexpr int Back = 28;
inline constexpr int Proceed = 29;
inline constexpr int Abort = 30;
inline constexpr int ComponentDetails = 38;
inline constexpr int InstallingFile = 40;
inline constexpr int CreatingShortcut = 41;
inline constexpr int InsertVolume = 50;
inline constexpr int UninstallName = 59;       // 59 to 64 go into the log
inline constexpr int UninstallDescription = 65;
inline constexpr int ExtractError = 70;
inline constexpr int CannotCreate = 72;
inline constexpr int CannotWrite = 73;
inline constexpr int SystemError = 74;
inline constexpr int DotNetRequired = 86;
inline constexpr int DotNetStarting = 87;
inline constexpr int DotNetDownload = 88;
}  // namespace message

std::vector<std::string> DefaultMessages();

}  // namespace clangor::outfit
