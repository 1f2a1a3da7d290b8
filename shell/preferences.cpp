#include "shell/preferences.h"

#include <charconv>
#include <cstdio>

#include "engine/ringing_clock.h"
#include "shell/settings_store.h"
#include "shell/status_panes.h"

namespace clangor {

namespace {
constexpr std::size_t SoundSetExtensionLength = 4;  // ".txt"
}  // namespace

Preferences ReadPreferences(const SettingsStore& settings) {
  Preferences p;
  p.actionAtRounds = settings.GetInt(setting::ActionAtRounds);
  p.keepGoingCount = settings.GetInt(setting::KeepGoingCount);
  p.numbersSwapOption = NumbersSwapShown(settings.GetInt(setting::NumbersSwapOption));
  p.highlightBriefly = settings.GetInt(setting::HighlightBriefly);
  p.methodLimit = settings.GetInt(setting::MethodLimit);
  p.compositionLimit = settings.GetInt(setting::CompositionLimit);
  p.callUp = settings.GetInt(setting::CallUp);
  p.showTips = settings.GetInt(setting::ShowTips);
  p.callChangeTips = settings.GetInt(setting::CallChangeTips);
  p.showClock = settings.GetInt(setting::ShowClock);
  p.halfLeadSplicing = settings.GetInt(setting::HalfLeadSplicing);
  p.autoPopup = settings.GetInt(setting::AutoPopup);
  p.rememberMufflesAndWholePulls = settings.GetTowerInt(tower_setting::Remember_CWPC);
  p.ropesInSeparateWindow = settings.GetInt(setting::RopesInSeparateWindow);
  p.rememberRopes = settings.GetInt(setting::RememberRopes);
  p.showDownRopes = settings.GetInt(setting::ShowDownRopes);
  p.maxTimeFactor = settings.GetInt(setting::MaxTimeFactor);
  p.surprise = settings.GetInt(setting::Surprise);
  p.soundsFile = settings.GetTowerString(tower_string::SoundsFile);
  return p;
}

PreferencesChange StorePreferences(SettingsStore& settings, const Preferences& p) {
  PreferencesChange change;
  change.ropesPlacementChanged = settings.GetInt(setting::RopesInSeparateWindow) != p.ropesInSeparateWindow;
  settings.SetInt(setting::ActionAtRounds, p.actionAtRounds);
  settings.SetInt(setting::KeepGoingCount, p.keepGoingCount);
  settings.SetInt(setting::NumbersSwapOption, NumbersSwapShown(p.numbersSwapOption));
  settings.SetInt(setting::HighlightBriefly, p.highlightBriefly);
  settings.SetInt(setting::MethodLimit, p.methodLimit);
  settings.SetInt(setting::CompositionLimit, p.compositionLimit);
  settings.SetInt(setting::CallUp, p.callUp);
  settings.SetInt(setting::ShowTips, p.showTips);
  settings.SetInt(setting::CallChangeTips, p.callChangeTips);
  settings.SetInt(setting::ShowClock, p.showClock);
  settings.SetInt(setting::HalfLeadSplicing, p.halfLeadSplicing);
  settings.SetInt(setting::AutoPopup, p.autoPopup);
  settings.SetTowerInt(tower_setting::Remember_CWPC, p.rememberMufflesAndWholePulls);
  settings.SetInt(setting::RopesInSeparateWindow, p.ropesInSeparateWindow);
  settings.SetInt(setting::RememberRopes, p.rememberRopes);
  settings.SetInt(setting::ShowDownRopes, p.showDownRopes);
  settings.SetInt(setting::MaxTimeFactor, p.maxTimeFactor);
  settings.SetInt(setting::Surprise, p.surprise);
  if (p.soundsFile != settings.GetTowerString(tower_string::SoundsFile)) {
    settings.SetTowerString(tower_string::SoundsFile, p.soundsFile);
    change.soundSetChanged = true;
  }
  return change;
}

std::optional<int> UpDownRange::Step(int position, int delta) const {
  const int next = position + delta;
  if (next < low || next > high) return std::nullopt;
  return next;
}

int UpDownRange::PositionForText(std::string_view text, int position) const {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long typed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), typed);
  if (text.empty() || error == std::errc::invalid_argument || end != text.data() + text.size()) return position;
  // A number too long to read is beyond either end of the range.
  if (error == std::errc::result_out_of_range) return text.front() == '-' ? low : high;
  return typed < low ? low : typed > high ? high : static_cast<int>(typed);
}

std::string MaxClockSpeedText(int step) {
  char text[32];
  std::snprintf(text, sizeof text, "%2.1f", ClockFactorForStep(step));
  return text;
}

std::vector<std::string> SoundSetNames(const std::vector<std::string>& files) {
  std::vector<std::string> names;
  names.reserve(files.size());
  for (const std::string& file : files)
    names.push_back(file.size() > SoundSetExtensionLength ? file.substr(0, file.size() - SoundSetExtensionLength) : file);
  return names;
}

bool SurpriseOptionShown(const std::string& nameText) { return nameText == DefaultSurpriseMethod; }

std::string SurpriseOptionLabel() {
  const std::string method = DefaultSurpriseMethod;
  return method.substr(0, method.find(' ')) + " Surprise!";
}

}  // namespace clangor
