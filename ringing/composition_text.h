// What the user is shown of a composition: its label in the lists and the
// description beside the composition list.
#pragma once

#include <string>

#include "ringing/composition.h"

namespace clangor {

// In the general list: the method's title (and " (name)") for a composition
// of one method entry, else the name; then " \t" and the length when given.
std::string DisplayLabel(const Composition& composition);

// Listed for one method: the name, or "touch"; then " \t" and the length
// given for that method, else the composition's length, when given.
std::string DisplayLabel(const Composition& composition, const Method& method);

// Method titles, the lines, parts, courses, keep going, observation and
// notes, joined by "\r\n".
std::string DescriptionText(const Composition& composition);

}  // namespace clangor
