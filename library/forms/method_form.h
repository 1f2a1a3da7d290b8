// The method editor and its call dialog without a window: what their fields
// hold, the checks made before a change is accepted, the line put together
// from the notation and the calls, and the microSIRIL conversion.
#pragma once

#include <string>
#include <vector>

#include "library/forms/complaint.h"

namespace clangor {

class Library;
struct Method;

namespace method_field {
// Control ids of the method editor and the call dialog.
inline constexpr int Name = 1056;
inline constexpr int Notation = 1057;
inline constexpr int Calls = 1060;
inline constexpr int CallMarker = 1061;
inline constexpr int CallName = 1062;
inline constexpr int CallLetter = 1063;
inline constexpr int CallNotation = 1064;
}  // namespace method_field

// At most this many characters are read from each field of the call dialog.
inline constexpr int CallFieldLength = 21;

struct MethodCall {
  char marker = '|';
  std::string name;
  char letter = 0;
  std::string notation;

  bool operator==(const MethodCall&) const = default;
};

// The editor's fields for a method: the notation (the line before its first
// ",") and the calls its calls area defines.
struct MethodForm {
  std::string name;
  std::string notation;
  std::vector<MethodCall> calls;
};

MethodForm FormOf(const Method& method);

// The call dialog's OK: the first check that fails, in the dialog's order.
// `marker`, `name`, `letter` and `notation` are the fields as typed.
Verdict CheckCall(const std::string& marker, const std::string& name, const std::string& letter,
                  const std::string& notation, int stage);

// The method editor's OK up to the line: notation, characters, calls.
Verdict CheckNotationAndCalls(const MethodForm& form, int stage);

// The notation, and when there are calls, "," and the calls area: per
// marker in the order the calls first use it, the Bob and the Single as
// unnamed segments (an empty segment before a Single without a Bob), every
// other call as marker, name, ":", letter, ":", notation.
std::string AssembleLine(const std::string& notation, const std::vector<MethodCall>& calls);

// The whole of the method editor's OK. `editing` is the method being edited
// (none for a new one); it is left out of the duplicate-title check.
Verdict CheckMethod(const MethodForm& form, int stage, const Library& library, const Method* editing);

// The notation field after "Convert from microSIRIL".
std::string ConvertFromMicroSiril(const std::string& text, int stage);

// True when a composition of the library names the method.
bool MethodInUse(const Library& library, const Method& method);

// The characters a method's notation may hold at this stage.
std::string NotationCharacters(int stage);

}  // namespace clangor
