// Veriprobe's check for an earlier version of Clangor: an earlier version
// kept its towers directly under "Towers/" in the data folder, so the
// default eight-bell tower's control file at that place is its sign. While
// it is there, the user is asked to uninstall it; OK looks again, Cancel
// ends the check.
#pragma once

#include <functional>
#include <string>

namespace clangor::precheck {

inline constexpr const char* OwnerTitle = "Orvanta Clangor 2.0 Setup";
inline constexpr const char* FoundTitle = "Earlier version found...";
inline constexpr const char* FoundText =
    "Setup has detected an earlier version of Clangor on this computer\r\n"
    "Please uninstall the earlier version, then press OK to continue...";
inline constexpr const char* DefaultEightBellTower = "Eight Bells";

enum class Answer { Ok, Cancel };

// Shows the message box (title, text) with OK and Cancel; closing it is Cancel.
using AskUser = std::function<Answer(const std::string& title, const std::string& text)>;

// The control file of the default eight-bell tower at the earlier version's place.
std::string EarlierControlFile();

// Whether the file can be opened for reading as a file: one that exists but
// cannot be read counts as absent.
bool CanOpenForReading(const std::string& path);

// Runs the check; returns the program's exit code, which is always 0.
int RunEarlierVersionCheck(const AskUser& ask);

}  // namespace clangor::precheck
