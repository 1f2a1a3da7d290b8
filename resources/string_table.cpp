#include "resources/string_table.h"

#include <array>
#include <utility>

namespace clangor {

namespace {

constexpr CommandStrings Table[] = {
    {1100, "&File", "(file menu)", ""},
    {1103, "&Volume, Speed and Pitch...", "Adjust volume, speed and pitch via a dialog instead of the arrow keys",
     "Volume, Speed and Pitch"},
    {1104, "&Preferences...", "Open a dialog to modify program preferences", "Preferences"},
    {1105, "&Restore Methods and Compositions...", "Restore default methods and compositions at next startup", ""},
    {1106, "E&xit", "Close the program", "Exit"},
    {1200, "&View", "(view menu)", "View"},
    {1201, "&Menu Bar", "Show or hide the menu bar", ""},
    {1202, "&Tool Bar", "Show or hide the tool bar", ""},
    {1203, "&Status Bar", "Show or hide the status bar", ""},
    {1204, "&Rows", "Show or hide the rows window", "Show/Hide Rows"},
    {1205, "Manual &Control", "Show or hide the manual control window", "Show/Hide Manual Control"},
    {1206, "Moving &Numbers", "Show or hide the moving numbers display", "Show/Hide Moving Numbers"},
    {1207, "R&opes\tF4", "Show or hide the ropes window", "Show/Hide Ropes; ropesight options"},
    {1208, "&Full Screen\tF3", "Use the whole screen", ""},
    {1300, "&Ringing", "(ringing menu)", ""},
    {1301, "Select &Bells", "Select bells for ringing (or click on the ones you want)", "Select Bells"},
    {1302, "Other", "(other combinations of bells)", ""},
    {1303, "None", "Lower all the bells", ""},
    {1304, "&Start", "Start the bells ringing", "Start"},
    {1305, "&Go", "(pick a method stage)", ""},
    {1306, "&Compositions", "(choose a composition to ring)", ""},
    {1307, "&Rounds", "Return to rounds", "Rounds"},
    {1308, "&Stand", "Stand the bells", "Stand"},
    {1309, "Stop &Now!", "Stop instantly", "Stop!"},
    {1310, "&Pause", "Pause (press the space bar to advance frame by frame)", "Pause On/Off"},
    {1311, "Method List...", "Choose a method from the main list", ""},
    {1312, "Composition List...", "Choose a composition from the main list", ""},
    {1313, "&Fire the bells", "Begin or end firing (sounding the bells together)", ""},
    {1314, "Touch", "(choose a method or composition to ring)", ""},
    {1315, "Step", "Advance by one frame", "Step"},
    {1316, "Decrease clock speed", "Decrease clock speed", "Decrease clock speed"},
    {1317, "Increase clock speed", "Increase clock speed", "Increase clock speed"},
    {1318, "Silence", "Turn sound on/off", ""},
    {1319, "My Rope", "Select this rope as your own - for tapping and/or ropesight practice", ""},
    {1320, "Go Again", "Ring the last method or composition again", "Go Again"},
    {1321, "Half-muffled", "Turn half-muffled ringing on/off", "Half-Muffled On/Off"},
    {1322, "Whole-pull Changes", "Turn whole-pull changes on/off", ""},
    {1323, "Ropesight", "Ropesight practice options", ""},
    {1324, "&My Rope", "Choose your own rope from a sub-menu", ""},
    {1325, "&Flashes", "Ropes flash when you should notice them", ""},
    {1326, "&Cumulative", "Distinguish ropes above yours from those below", ""},
    {1327, "&Tap Own Bell", "Tap the space bar to sound your own bell", ""},
    {1328, "Show Ropesight &Hit Bar", "Display ropesight 'hit rate' as a column on the left of the ropes", ""},
    {1329, "Ropesight &Score...", "Show ropesight statistics for the touch just rung", ""},
    {1330, "Call Changes", "(choose a call-change sequence to ring)", "Call change sequences"},
    {1332, "Call Change List...", "Choose half-muffled or whole-pull ringing", ""},
    {1333, "Ringing Options", "", "Miscellaneous ringing options"},
    {1334, "Flash &Delay", "Choose the timing of the flashes", ""},
    {1335, "Copy Rows to Clipboard", "Copy contents of row window to clipboard", ""},
    {1336, "Tower", "Choose a tower from a sub-menu", ""},
    {1337, "Sounds", "Choose sounds for the bells", ""},
    {1338, "Maximise Volume of Own Bell",
     "Accentuate sound of own bell by keeping it at max. when others are reduced", ""},
    {1339, "Striking &Report...", "Show how well you struck your own bell in this touch", ""},
    {1359, "Call Changes", "(choose a call-change sequence to ring)", "Call change sequences"},
    {1390, "Make Call", "Make (or cancel) a call", "Make Call"},
    {1400, "&Help", "(help menu)", ""},
    {1401, "&Contents...\tF1", "Open the online help and use the table of contents", ""},
    {1402, "&Index...", "Open the online help and use the index", ""},
    {1403, "&Help...\tF1", "Open the online help", ""},
    {1404, "&About...", "View information about the program", ""},
    // The touch band's stage buttons (1340 + stage) carry the stage names.
    {1343, "Singles", "(pick a Singles method)", ""},
    {1344, "Minimus", "(pick a Minimus method)", ""},
    {1345, "Doubles", "(pick a Doubles method)", ""},
    {1346, "Minor", "(pick a Minor method)", ""},
    {1347, "Triples", "(pick a Triples method)", ""},
    {1348, "Major", "(pick a Major method)", ""},
    {1349, "Caters", "(pick a Caters method)", ""},
    {1350, "Royal", "(pick a Royal method)", ""},
    {1351, "Cinques", "(pick a Cinques method)", ""},
    {1352, "Maximus", "(pick a Maximus method)", ""},
    {1353, "13 Bells", "(pick a method on 13 bells)", ""},
    {1354, "14 Bells", "(pick a method on 14 bells)", ""},
    {1355, "15 Bells", "(pick a method on 15 bells)", ""},
    {1356, "16 Bells", "(pick a method on 16 bells)", ""},
    {1357, "17 Bells", "(pick a method on 17 bells)", ""},
    {1358, "18 Bells", "(pick a method on 18 bells)", ""},
};

constexpr std::array<std::pair<int, const char*>, 4> FurtherHelp{{
    {MethodItemHelp, "Start ringing this method"},
    {CompositionItemHelp, "Call this composition for the selected method"},
    {StandardHeadingsHelp, "Use this set of standard headings instead of the default"},
    {CallItemHelp, "Make (or cancel) this call"},
}};

// The three tips that do not sit 2000 above their command.
constexpr std::array<std::pair<int, int>, 3> OddTips{{{3101, 1103}, {3102, 1104}, {3103, 1106}}};

}  // namespace

const CommandStrings* FindCommandStrings(int id) {
  for (const CommandStrings& entry : Table)
    if (entry.id == id) return &entry;
  return nullptr;
}

std::string LoadString(int stringId) {
  for (const auto& [id, text] : FurtherHelp)
    if (id == stringId) return text;
  for (const auto& [tipId, command] : OddTips)
    if (tipId == stringId) return FindCommandStrings(command)->tip;
  if (const CommandStrings* s = FindCommandStrings(stringId)) return s->text;
  if (const CommandStrings* s = FindCommandStrings(stringId - 1000)) return s->help;
  const int command = stringId - 2000;
  if (command == 1103 || command == 1104 || command == 1106) return {};
  if (const CommandStrings* s = FindCommandStrings(command)) return s->tip;
  return {};
}

std::string CommandHelp(int commandId) {
  const CommandStrings* s = FindCommandStrings(commandId);
  return s ? s->help : std::string();
}

std::string CommandTip(int commandId) {
  const CommandStrings* s = FindCommandStrings(commandId);
  return s ? s->tip : std::string();
}

std::string CommandText(int commandId) {
  const CommandStrings* s = FindCommandStrings(commandId);
  return s ? s->text : std::string();
}

}  // namespace clangor
