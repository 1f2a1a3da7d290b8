// The call-change sequence editor without a window: its checks.
#pragma once

#include <string>

#include "library/forms/complaint.h"

namespace clangor {

class Library;
struct CallChangeSequence;

namespace sequence_field {
inline constexpr int Name = 1150;
inline constexpr int Notation = 1057;
}  // namespace sequence_field

inline constexpr int SequenceNameLength = 90;
inline constexpr int SequenceNotationLength = 200;

// The editor's OK: the first check that fails. `name` is blank-normalised;
// `editing` (none for a new sequence) is left out of the duplicate check.
Verdict CheckSequence(const std::string& name, const std::string& notation, int stage, const Library& library,
                      const CallChangeSequence* editing);

}  // namespace clangor
