// The texts of the main window's status panes, as plain functions so that
// their rules are tested without a window.
#pragma once

#include <array>
#include <string>

namespace clangor {

// The seven panes, left to right, and their widths in pixels.
inline constexpr std::array<int, 7> StatusPaneWidths{45, 30, 300, 60, 90, 100, 100};

namespace pane {
inline constexpr int ClockSpeed = 0;
inline constexpr int TenorNote = 1;
inline constexpr int Name = 2;
inline constexpr int RowCount = 3;
inline constexpr int Row = 4;
inline constexpr int Call = 5;
inline constexpr int Time = 6;
}  // namespace pane

// Pane 0: the clock speed when it is not normal ("1.0" when exactly 1, else
// "%2.2f"), otherwise the peal speed as hours "h" minutes (180 is "3h00";
// empty when not positive).
std::string ClockPaneText(int clockStep, double clockFactor, int pealMinutes);
// Pane 1: the tower's tenor note (`key`, a note name such as "D" or "F#")
// moved by the semitone shift; a key that is no note name stays as written.
std::string TenorNoteText(const std::string& key, int semitoneShift);
// Pane 2 switches the tower view's surprise picture on while this method,
// the default eight-bell surprise method, is rung.
inline constexpr const char* DefaultSurpriseMethod = "Cambridge Surprise Major";
// Pane 5: the call, then the note, with ", " between when both are there.
std::string CallPaneText(const std::string& callText, const std::string& noteText);
// Pane 6 with the ringing time: hours:minutes:seconds, the seconds "%04.1f";
// a time that rounds to 60.0 seconds shows the next minute.
std::string RingingTimeText(double seconds);
// The main window's title: the tower's name follows unless the bells ring.
std::string MainWindowTitle(const std::string& towerName, bool ringing);

}  // namespace clangor
