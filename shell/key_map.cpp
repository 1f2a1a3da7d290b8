#include "shell/key_map.h"

#include <Qt>

#include <cctype>

#include "ringing/bells.h"
#include "shell/command_ids.h"

namespace clangor {

namespace {

KeyAction Do(KeyAction::Kind kind, int value = 0, bool up = false, bool shift = false) {
  return KeyAction{kind, value, up, shift};
}

KeyAction CommandAction(int id) { return Do(KeyAction::Command, id); }

// F5 to F12: the methods of that stage, when the tower has that many bells
// and that many are in play.
KeyAction StageMethods(int stage, const KeyState& state) {
  if (state.bellCount < stage || state.bellsInPlay < stage) return {};
  return Do(KeyAction::Popup, stage);
}

}  // namespace

KeyAction ActionForKey(int key, bool ctrl, bool shift, const KeyState& state) {
  switch (key) {
    case Qt::Key_Escape:
      return state.ringing ? CommandAction(command::StopNow) : Do(KeyAction::CloseProgram);
    case Qt::Key_Left:
      return ctrl ? Do(KeyAction::ClockSpeed, 0, false, shift) : Do(KeyAction::PealTime, 0, false);
    case Qt::Key_Right:
      return ctrl ? Do(KeyAction::ClockSpeed, 0, true, shift) : Do(KeyAction::PealTime, 0, true);
    case Qt::Key_Up:
      return Do(ctrl ? KeyAction::Volume : KeyAction::Pitch, 0, true);
    case Qt::Key_Down:
      return Do(ctrl ? KeyAction::Volume : KeyAction::Pitch, 0, false);
    case Qt::Key_F1:
      return CommandAction(command::HelpContents);
    case Qt::Key_F2:
      if (ctrl) return state.bellsInPlay >= MinStage ? Do(KeyAction::Popup, command::SequenceBase) : KeyAction{};
      return state.bellsInPlay > 2 ? Do(KeyAction::Popup, 2) : KeyAction{};
    case Qt::Key_F3:
      return CommandAction(command::FullScreen);
    case Qt::Key_F4:
      return CommandAction(command::Ropes);
    default:
      break;
  }
  if (key >= Qt::Key_F5 && key <= Qt::Key_F12) return StageMethods(5 + (key - Qt::Key_F5), state);
  return {};
}

KeyAction ActionForCharacter(char c, const KeyState& state) {
  if (c == '\t') return state.ringing ? CommandAction(command::Pause) : KeyAction{};
  if (c == ' ') {
    if (!state.ringing) return state.bellsInPlay > 0 ? CommandAction(command::Start) : KeyAction{};
    if (state.paused) return CommandAction(command::Step);
    return state.tapOwnBell ? Do(KeyAction::TapOwnBell) : KeyAction{};
  }
  if (c == '+') return CommandAction(command::GoAgain);
  if (c == '-') return CommandAction(command::Silence);
  if (c == '?') return state.ringing ? KeyAction{} : Do(KeyAction::ShowScaling);
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  // While a method rings, the letters make calls; otherwise the bell keys
  // select bells (stood) or call changes (ringing).
  if (state.ringing && state.methodInProgress) {
    return std::isalpha(static_cast<unsigned char>(lower)) ? Do(KeyAction::Call, lower) : KeyAction{};
  }
  const std::size_t bell = BellKeys.find(lower);
  if (bell != std::string_view::npos && static_cast<int>(bell) < state.bellCount)
    return Do(state.ringing ? KeyAction::CallChange : KeyAction::ToggleBell, static_cast<int>(bell));
  if (lower == 'x' && !state.ringing) return Do(KeyAction::EditLast);
  return {};
}

}  // namespace clangor
