// The settings the store keeps: the integer settings by index, with their
// registry names and defaults, and the names of the string and per-tower
// settings. Other parts address an integer setting by its index here.
#pragma once

#include <array>
#include <limits>
#include <string_view>

#include "ringing/settings_source.h"

namespace clangor {

namespace setting {
// The indexes the ringing model needs are in ringing/settings_source.h; these are the rest.
inline constexpr int ClientLeft = 0;
inline constexpr int ClientTop = 1;
inline constexpr int ClientWidth = 2;
inline constexpr int ClientHeight = 3;
inline constexpr int MenuBar = 4;
inline constexpr int ToolBar = 5;
inline constexpr int StatusBar = 6;
inline constexpr int ShowTips = 7;
inline constexpr int FullScreen = 8;
inline constexpr int FSMenuBar = 9;
inline constexpr int FSToolBar = 10;
inline constexpr int FSStatusBar = 11;
inline constexpr int Maximised = 15;
inline constexpr int AutoPopup = 19;
inline constexpr int MNameCol = 21;
inline constexpr int CNameCol = 22;
inline constexpr int CLengthCol = 23;
inline constexpr int CComposerCol = 24;
inline constexpr int CSourceCol = 25;
inline constexpr int CListViewWidth = 26;
inline constexpr int CListDlgWidth = 27;
inline constexpr int CListDlgHeight = 28;
inline constexpr int ShowRows = 29;
inline constexpr int FSShowRows = 30;
inline constexpr int RowsWidth = 31;
inline constexpr int RowsLimit = 32;
inline constexpr int CallDelimCol = 33;
inline constexpr int CallNameCol = 34;
inline constexpr int CallLetterCol = 35;
inline constexpr int CallNotationCol = 36;
inline constexpr int CMNameCol = 37;
inline constexpr int CMLabelCol = 38;
inline constexpr int CMLengthCol = 39;
inline constexpr int CMCallsCol = 40;
inline constexpr int HeadingNameCol = 41;
inline constexpr int HeadingPosCol = 42;
inline constexpr int StdHeadIdCol = 43;
inline constexpr int StdHeadingsCol = 44;
inline constexpr int CEditDlgWidth = 45;
inline constexpr int CEditDlgHeight = 46;
inline constexpr int ManualWLeft = 47;
inline constexpr int ManualWTop = 48;
inline constexpr int ManualWWidth = 49;
inline constexpr int ManualWHeight = 50;
inline constexpr int NumbersLeft = 51;
inline constexpr int NumbersTop = 52;
inline constexpr int NumbersHeight = 53;
inline constexpr int NumbersDigitWidth = 54;
inline constexpr int NumbersDigitHeight = 55;
inline constexpr int NumbersThinEdge = 56;
inline constexpr int NumbersSwapOption = 57;
inline constexpr int Surprise = 58;
inline constexpr int ShowClock = 59;
inline constexpr int RopeImageWidth = 60;
inline constexpr int SallyImageHeight = 61;
inline constexpr int RopesLeft = 62;
inline constexpr int RopesTop = 63;
inline constexpr int RopesWidth = 64;
inline constexpr int RopesHeight = 65;
inline constexpr int ShowRingingRoom = 67;
inline constexpr int ShowDownRopes = 68;
inline constexpr int CallChangeTips = 69;
inline constexpr int TapOwnBells = 70;
inline constexpr int RopesightMode = 71;
inline constexpr int RopesInSeparateWindow = 72;
inline constexpr int ShowRopes = 73;
inline constexpr int ShowMovingNumbers = 74;
inline constexpr int ShowRopesightScore = 75;
inline constexpr int FlashDelay = 76;
inline constexpr int RememberRopes = 77;
inline constexpr int HighlightBriefly = 78;
inline constexpr int Volume = 79;
inline constexpr int OwnVolumeMax = 80;
}  // namespace setting

struct IntSetting {
  std::string_view name;
  int defaultValue;
  // The values the setting can take; a stored value outside them reads as
  // the default. Open-ended for positions, sizes and counts.
  int low = std::numeric_limits<int>::min();
  int high = std::numeric_limits<int>::max();

  bool Holds(int value) const { return value >= low && value <= high; }
  int InRange(int value) const { return Holds(value) ? value : defaultValue; }
};

inline constexpr int IntSettingCount = 81;

// In index order.
inline constexpr std::array<IntSetting, IntSettingCount> IntSettings{{
    {"ClientLeft", 21},  // 0: main window client left, screen pixels
    {"ClientTop", 56},  // 1: main window client top
    {"ClientWidth", 675},  // 2: main window client width
    {"ClientHeight", 486},  // 3: main window client height
    {"MenuBar", 1, 0, 1},  // 4: menu bar shown (normal mode)
    {"ToolBar", 1, 0, 1},  // 5: tool bar shown (normal mode)
    {"StatusBar", 1, 0, 1},  // 6: status bar shown (normal mode)
    {"ShowTips", 1, 0, 2},  // 7: bell numbers as tips: 0 never, 1 when stood, 2 always
    {"FullScreen", 0, 0, 1},  // 8: start in full screen
    {"FSMenuBar", 0, 0, 1},  // 9: menu bar shown in full screen
    {"FSToolBar", 1, 0, 1},  // 10: tool bar shown in full screen
    {"FSStatusBar", 1, 0, 1},  // 11: status bar shown in full screen
    {"ActionAtRounds", 2, 0, 2},  // 12: 0 Keep Going, 1 That's All, 2 Stand
    {"KeepGoingCount", 0, 0, std::numeric_limits<int>::max()},  // 13: times to ring on at rounds before the action applies
    {"CallUp", 1, 0, 1},  // 14: call changes called up (1) or down (0)
    {"Maximised", 0, 0, 1},  // 15: main window maximised
    {"MethodLimit", 15, 1, 25},  // 16: number of methods listed in a menu
    {"CompositionLimit", 15, 1, 25},  // 17: number of compositions listed in a menu
    {"MaxTimeFactor", 12, 4, 20},  // 18: maximum clock speed step (fastest clock = √2 to this power)
    {"AutoPopup", 0, 0, 1},  // 19: reopen the context menu when the mouse returns to where it was opened
    {"HalfLeadSplicing", 0, 0, 1},  // 20: allow manual half-lead splicing
    {"MNameCol", 236},  // 21: method list: name column width
    {"CNameCol", 170},  // 22: composition list: name column width
    {"CLengthCol", 55},  // 23: composition list: length column
    {"CComposerCol", 115},  // 24: composition list: composer column
    {"CSourceCol", 166},  // 25: composition list: source column
    {"CListViewWidth", 510},  // 26: composition list: list width
    {"CListDlgWidth", 690},  // 27: composition list dialog width
    {"CListDlgHeight", 390},  // 28: composition list dialog height
    {"ShowRows", 0, 0, 1},  // 29: rows window shown (normal mode)
    {"FSShowRows", 0, 0, 1},  // 30: rows window shown in full screen
    {"RowsWidth", 80},  // 31: rows window width
    {"RowsLimit", 6000, 1, std::numeric_limits<int>::max()},  // 32: most rows kept by the rows window
    {"CallDelimCol", 46},  // 33: method editor calls list: marker column
    {"CallNameCol", 92},  // 34: calls list: name column
    {"CallLetterCol", 42},  // 35: calls list: letter column
    {"CallNotationCol", 98},  // 36: calls list: notation column
    {"CMNameCol", 208},  // 37: composition editor methods list: name column
    {"CMLabelCol", 100},  // 38: methods list: label column
    {"CMLengthCol", 50},  // 39: methods list: length column
    {"CMCallsCol", 138},  // 40: methods list: special calls column
    {"HeadingNameCol", 52},  // 41: headings list: heading column
    {"HeadingPosCol", 52},  // 42: headings list: position column
    {"StdHeadIdCol", 110},  // 43: standard headings list: identifier column
    {"StdHeadingsCol", 440},  // 44: standard headings list: headings column
    {"CEditDlgWidth", 650},  // 45: composition editor width
    {"CEditDlgHeight", 520},  // 46: composition editor height
    {"ManualWLeft", 150},  // 47: manual-control window left
    {"ManualWTop", 100},  // 48: manual-control window top
    {"ManualWWidth", 100},  // 49: manual-control window width
    {"ManualWHeight", 400},  // 50: manual-control window height
    {"NumbersLeft", 44},  // 51: moving-numbers window left
    {"NumbersTop", 294},  // 52: moving-numbers window top
    {"NumbersHeight", 32},  // 53: moving-numbers window height
    {"NumbersDigitWidth", 150},  // 54: moving-numbers digit width
    {"NumbersDigitHeight", 170},  // 55: moving-numbers digit height
    {"NumbersThinEdge", 0},  // 56: moving-numbers thin edge
    {"NumbersSwapOption", 5},  // 57: moving-numbers display option
    {"Surprise", 1, 0, 1},  // 58: show the surprise picture when the default surprise method is rung
    {"ShowClock", 0, 0, 1},  // 59: clock pane shows the time of day (1) or the ringing time (0)
    {"RopeImageWidth", 30},  // 60: ropes window: rope picture width
    {"SallyImageHeight", 600},  // 61: ropes window: sally picture height
    {"RopesLeft", 20},  // 62: ropes window left
    {"RopesTop", 35},  // 63: ropes window top
    {"RopesWidth", 600},  // 64: ropes window width
    {"RopesHeight", 514},  // 65: ropes window height
    {"LoadFromDefaults", 0, 0, 1},  // 66: restore the default library at the next start
    {"ShowRingingRoom", 0},  // 67: loaded and saved only
    {"ShowDownRopes", 0, 0, 1},  // 68: show down ropes during ringing
    {"CallChangeTips", 0, 0, 1},  // 69: show call-change tips
    {"TapOwnBells", 0, 0, 1},  // 70: the space bar sounds the own bell
    {"RopesightMode", 1, 0, 3},  // 71: ropesight options: bit 0 flashes, bit 1 cumulative
    {"RopesInSeparateWindow", 0, 0, 1},  // 72: ropes in a separate window
    {"ShowRopes", 0, 0, 1},  // 73: ropes window shown
    {"ShowMovingNumbers", 0, 0, 1},  // 74: moving-numbers window shown
    {"ShowRopesightScore", 1, 0, 1},  // 75: ropesight hit bar shown
    {"FlashDelay", 3},  // 76: ropesight flash timing choice
    {"RememberRopes", 1, 0, 1},  // 77: reopen the ropes window at start when it was shown
    {"HighlightBriefly", 0, 0, 1},  // 78: moving numbers: highlight briefly
    {"Volume", 0, 0, 10000},  // 79: master volume position
    {"OwnVolumeMax", 0, 0, 1},  // 80: keep the own bell at full volume
}};

inline constexpr std::string_view TowerNameSetting = "TowerName";
inline constexpr std::string_view DefaultTowerName = "Twelve Bells";

// Per-tower strings, by index (the per-tower integers are tower_setting in
// ringing/settings_source.h).
namespace tower_string {
inline constexpr int SemitoneShift = 0;
inline constexpr int SoundsFile = 1;
}  // namespace tower_string

inline constexpr int TowerStringCount = 2;
inline constexpr int TowerIntCount = 4;
inline constexpr std::array<std::string_view, TowerStringCount> TowerStringNames{"SemitoneShift", "SoundsFile"};
inline constexpr std::array<std::string_view, TowerIntCount> TowerIntNames{"PealMins", "Clappers", "WholePullChanges",
                                                                           "Remember_CWPC"};

// The per-tower integers' ranges, by index: peal speeds in minutes, then three switches.
inline constexpr std::array<IntSetting, TowerIntCount> TowerIntRanges{{
    {"PealMins", 180, 150, 240},
    {"Clappers", 0, 0, 1},
    {"WholePullChanges", 0, 0, 1},
    {"Remember_CWPC", 0, 0, 1},
}};
inline constexpr int SemitoneShiftLimit = 12;  // either way, in semitones

// Every index that settings_source.h names must name the same setting here.
static_assert(IntSettings[setting::ActionAtRounds].name == "ActionAtRounds");
static_assert(IntSettings[setting::KeepGoingCount].name == "KeepGoingCount");
static_assert(IntSettings[setting::CallUp].name == "CallUp");
static_assert(IntSettings[setting::MethodLimit].name == "MethodLimit");
static_assert(IntSettings[setting::CompositionLimit].name == "CompositionLimit");
static_assert(IntSettings[setting::MaxTimeFactor].name == "MaxTimeFactor");
static_assert(IntSettings[setting::HalfLeadSplicing].name == "HalfLeadSplicing");
static_assert(IntSettings[setting::LoadFromDefaults].name == "LoadFromDefaults");
static_assert(TowerIntNames[tower_setting::PealMins] == "PealMins");
static_assert(TowerIntNames[tower_setting::Clappers] == "Clappers");
static_assert(TowerIntNames[tower_setting::WholePullChanges] == "WholePullChanges");
static_assert(TowerIntNames[tower_setting::Remember_CWPC] == "Remember_CWPC");
static_assert(TowerIntRanges[tower_setting::PealMins].name == "PealMins");

}  // namespace clangor
