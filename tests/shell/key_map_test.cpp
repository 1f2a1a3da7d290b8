// The keyboard map: what each key and character calls for in each state.
#include <gtest/gtest.h>

#include <Qt>

#include "shell/command_ids.h"
#include "shell/key_map.h"

namespace clangor {
namespace {

namespace cmd = command;
using K = KeyAction;

KeyState Stood(int inPlay, int bells = 10) { return KeyState{false, false, false, false, bells, inPlay}; }
KeyState Rounds(int inPlay) { return KeyState{true, false, false, false, 10, inPlay}; }
KeyState InMethod() { return KeyState{true, false, true, false, 10, 10}; }

TEST(KeyMapTest, KeysInEachState) {
  struct Case {
    const char* what;
    int key;
    bool ctrl, shift;
    KeyState state;
    KeyAction action;
  };
  const Case cases[] = {
      {"Escape stood closes", Qt::Key_Escape, false, false, Stood(0), {K::CloseProgram}},
      {"Escape ringing stops", Qt::Key_Escape, false, false, Rounds(6), {K::Command, cmd::StopNow}},
      {"Left: peal time", Qt::Key_Left, false, false, Stood(0), {K::PealTime, 0, false}},
      {"Ctrl+Shift+Right: clock", Qt::Key_Right, true, true, Rounds(6), {K::ClockSpeed, 0, true, true}},
      {"Up: pitch", Qt::Key_Up, false, false, Stood(0), {K::Pitch, 0, true}},
      {"Ctrl+Down: volume", Qt::Key_Down, true, false, Stood(0), {K::Volume, 0, false}},
      {"F1 help", Qt::Key_F1, false, false, Stood(0), {K::Command, cmd::HelpContents}},
      {"F2 ringing pop-ups", Qt::Key_F2, false, false, Stood(3), {K::Popup, 2}},
      {"F2 with two bells", Qt::Key_F2, false, false, Stood(2), {}},
      {"Ctrl+F2 sequences", Qt::Key_F2, true, false, Rounds(5), {K::Popup, cmd::SequenceBase}},
      {"F3 full screen", Qt::Key_F3, false, false, Stood(0), {K::Command, cmd::FullScreen}},
      {"F4 ropes", Qt::Key_F4, false, false, Stood(0), {K::Command, cmd::Ropes}},
      {"F8 with eight", Qt::Key_F8, false, false, Stood(8), {K::Popup, 8}},
      {"F8 with seven in play", Qt::Key_F8, false, false, Stood(7), {}},
      {"F10 on ten", Qt::Key_F10, false, false, Stood(10), {K::Popup, 10}},
      {"F12 on a ten-bell tower", Qt::Key_F12, false, false, Stood(10, 10), {}},
      {"F12 on twelve", Qt::Key_F12, false, false, Stood(12, 12), {K::Popup, 12}},
  };
  for (const Case& c : cases) EXPECT_EQ(ActionForKey(c.key, c.ctrl, c.shift, c.state), c.action) << c.what;
}

TEST(KeyMapTest, CharactersInEachState) {
  KeyState paused = Rounds(6);
  paused.paused = true;
  KeyState tapping = Rounds(6);
  tapping.tapOwnBell = true;
  struct Case {
    const char* what;
    char c;
    KeyState state;
    KeyAction action;
  };
  const Case cases[] = {
      {"Tab ringing pauses", '\t', Rounds(6), {K::Command, cmd::Pause}},
      {"Tab stood", '\t', Stood(6), {}},
      {"space stood starts", ' ', Stood(6), {K::Command, cmd::Start}},
      {"space with no bells", ' ', Stood(0), {}},
      {"space paused steps", ' ', paused, {K::Command, cmd::Step}},
      {"space taps", ' ', tapping, {K::TapOwnBell}},
      {"space without tapping", ' ', Rounds(6), {}},
      {"+ goes again", '+', Rounds(6), {K::Command, cmd::GoAgain}},
      {"- silences", '-', Stood(0), {K::Command, cmd::Silence}},
      {"3 stood selects", '3', Stood(0), {K::ToggleBell, 2}},
      {"0 stood selects the tenth", '0', Stood(0), {K::ToggleBell, 9}},
      {"E beyond the tower", 'E', Stood(0), {}},
      {"E on twelve", 'E', Stood(0, 12), {K::ToggleBell, 10}},
      {"5 in rounds calls a change", '5', Rounds(6), {K::CallChange, 4}},
      {"b in a method calls a bob", 'b', InMethod(), {K::Call, 'b'}},
      {"S in a method calls a single", 'S', InMethod(), {K::Call, 's'}},
      {"digit in a method", '4', InMethod(), {}},
      {"? stood", '?', Stood(0), {K::ShowScaling}},
      {"? ringing", '?', Rounds(6), {}},
      {"x stood", 'x', Stood(0), {K::EditLast}},
  };
  for (const Case& c : cases) EXPECT_EQ(ActionForCharacter(c.c, c.state), c.action) << c.what;
}

}  // namespace
}  // namespace clangor
