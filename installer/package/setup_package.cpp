#include "installer/package/setup_package.h"

namespace clangor::outfit {

const std::string& SetupPackage::Message(std::size_t index) const {
  static const std::string none;
  return index < messages.size() ? messages[index] : none;
}

std::string FileType::Listing() const {
  std::string text = extension + " -> " + description;
  if (actions.empty()) return text;
  text += " (";
  for (std::size_t i = 0; i < actions.size(); ++i) text += (i ? ", " : "") + actions[i].verb;
  return text + ")";
}

std::string FormatMessage(const std::string& pattern, const std::vector<std::string>& arguments) {
  std::string text;
  std::size_t next = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == 's' || pattern[i + 1] == 'd')) {
      if (next < arguments.size()) text += arguments[next];
      ++next;
      ++i;
    } else if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == '%') {
      text += '%';
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

}  // namespace clangor::outfit
