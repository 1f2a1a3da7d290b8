#include "ringing/method.h"

#include "ringing/bells.h"

namespace clangor {

std::string MethodTitle(const std::string& name, int stage) { return name + " " + StageName(stage); }

std::string Method::Title() const { return MethodTitle(name, stage); }

}  // namespace clangor
