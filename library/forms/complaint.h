// What an editor says when a field will not do: the message box's text and
// caption, and the field that gets the focus back.
#pragma once

#include <optional>
#include <string>

namespace clangor {

struct Complaint {
  std::string text;
  std::string caption;
  int field = 0;  // the control id of the field to put the focus on

  bool operator==(const Complaint&) const = default;
};

using Verdict = std::optional<Complaint>;

// The longest "name=text" line the library reader reads back.
inline constexpr int LongestLibraryLine = 299;

}  // namespace clangor
