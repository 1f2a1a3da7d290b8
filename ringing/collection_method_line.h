// The method's line (as the library keeps it and the generator reads it) for
// a lead of whole changes: the "&" form with the lead end marked when the
// lead turns about its half lead, else the lead written out with its call
// places marked; and, when asked, the standard Bob and Single of the
// method's lead-end group in the calls area.
#pragma once

#include <string>
#include <vector>

#include "ringing/collection_notation.h"

namespace clangor {

// `lead` holds at least one change of `stage` (3..18).
std::string CollectionMethodLine(const std::vector<Change>& lead, int stage, bool withCalls);

}  // namespace clangor
