// The keyboard map of the main window: which action a key or a character
// calls for in a state. Plain code; the window carries the action out.
#pragma once

#include <string>

namespace clangor {

// What the keys depend on.
struct KeyState {
  bool ringing = false;
  bool paused = false;
  bool methodInProgress = false;
  bool tapOwnBell = false;
  int bellCount = 0;
  int bellsInPlay = 0;
};

struct KeyAction {
  enum Kind {
    None,
    Command,        // value: a command identifier
    Popup,          // value: a context menu index (2, 3-18, 5100)
    ToggleBell,     // value: bell
    CallChange,     // value: bell
    Call,           // value: call letter
    PealTime,       // up: one minute more
    Pitch,          // up: a semitone higher
    Volume,         // up: louder
    ClockSpeed,     // up, shift
    CloseProgram,
    TapOwnBell,
    ShowScaling,    // "?"
    EditLast,       // "x"
  };
  Kind kind = None;
  int value = 0;
  bool up = false;
  bool shift = false;

  bool operator==(const KeyAction&) const = default;
};

// A key press: Qt's key code and whether Ctrl and Shift are held.
KeyAction ActionForKey(int key, bool ctrl, bool shift, const KeyState& state);
// A typed character.
KeyAction ActionForCharacter(char c, const KeyState& state);

}  // namespace clangor
