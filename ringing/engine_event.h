// What the ringing posts to the user interface: a code, a text and four
// signed 32-bit integers.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace clangor {

namespace event {
inline constexpr int RowRung = 1;           // text: the row; [0]: positions changed
inline constexpr int CallSelected = 2;      // text: the call's name
inline constexpr int CallMade = 3;          // text: the call's name; [0]: its letter
inline constexpr int CallFinished = 4;      // empty
inline constexpr int CallOpportunity = 5;   // empty: a call may be made, or the touch came round
inline constexpr int TouchSelected = 6;     // text: method title or sequence name
inline constexpr int TouchLoaded = 7;       // text: title loaded at a lead end
inline constexpr int TouchDescribed = 8;    // text: what is being rung
inline constexpr int ChangeCalled = 9;      // text: the call of the next call change
inline constexpr int RoundsReached = 11;    // empty: the return to rounds is complete
inline constexpr int RingingEnded = 12;     // posted by the engine
inline constexpr int ClockFactorChanged = 13;  // posted by the engine
}  // namespace event

struct EngineEvent {
  int code = 0;
  std::string text;
  std::array<std::int32_t, 4> values{};
};

}  // namespace clangor
