#include "shell/status_panes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace clangor {

std::string ClockPaneText(int clockStep, double clockFactor, int pealMinutes) {
  char text[32];
  if (clockStep != 0) {
    if (clockFactor == 1.0) return "1.0";
    std::snprintf(text, sizeof text, "%2.2f", clockFactor);
    return text;
  }
  if (pealMinutes <= 0) return {};
  std::snprintf(text, sizeof text, "%dh%02d", pealMinutes / 60, pealMinutes % 60);
  return text;
}

namespace {
constexpr std::array<const char*, 12> NoteNames{"C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};
}  // namespace

std::string TenorNoteText(const std::string& key, int semitoneShift) {
  const auto* at = std::find(NoteNames.begin(), NoteNames.end(), key);
  if (at == NoteNames.end() || semitoneShift == 0) return key;
  const int note = static_cast<int>(at - NoteNames.begin()) + semitoneShift;
  return NoteNames[static_cast<std::size_t>(((note % 12) + 12) % 12)];
}

std::string CallPaneText(const std::string& callText, const std::string& noteText) {
  if (noteText.empty()) return callText;
  return callText.empty() ? noteText : callText + ", " + noteText;
}

std::string RingingTimeText(double seconds) {
  if (!(seconds > 0)) seconds = 0;  // a clock read before the touch began
  // Tenths, rounded as the seconds are shown, so 59.95 carries a minute.
  const long long tenths = std::llround(seconds * 10.0);
  const long long wholeMinutes = tenths / 600;
  char text[48];
  std::snprintf(text, sizeof text, "%lld:%02lld:%04.1f", wholeMinutes / 60, wholeMinutes % 60,
                static_cast<double>(tenths % 600) / 10.0);
  return text;
}

std::string MainWindowTitle(const std::string& towerName, bool ringing) {
  if (ringing || towerName.empty()) return "Clangor";
  return "Clangor - " + towerName;
}

}  // namespace clangor
