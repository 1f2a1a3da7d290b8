// The method record: a named lead of changes at one stage.
#pragma once

#include <string>

namespace clangor {

struct Method {
  int stage = 0;
  std::string name;  // blank-normalised
  std::string line;  // notation, calls area included, as stored

  // name + " " + the stage name, e.g. "Cambridge Surprise Minor".
  std::string Title() const;
};

std::string MethodTitle(const std::string& name, int stage);

}  // namespace clangor
