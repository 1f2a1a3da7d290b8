#include "ringing/composition_text.h"

#include <vector>

#include "ringing/method.h"

namespace clangor {

std::string DisplayLabel(const Composition& composition) {
  std::string label;
  if (composition.entries.size() == 1) {
    label = composition.entries.front().title;
    if (!composition.name.empty()) label += " (" + composition.name + ")";
  } else {
    label = composition.name;
  }
  if (composition.length > 0) label += " \t" + std::to_string(composition.length);
  return label;
}

std::string DisplayLabel(const Composition& composition, const Method& method) {
  std::string label = composition.name.empty() ? std::string("touch") : composition.name;
  const auto own = composition.methodLength.find(&method);
  if (own != composition.methodLength.end() && own->second > 0) {
    label += " \t" + std::to_string(own->second);
  } else if (composition.length > 0) {
    label += " \t" + std::to_string(composition.length);
  }
  return label;
}

std::string DescriptionText(const Composition& composition) {
  std::vector<std::string> out;
  for (const MethodEntry& entry : composition.entries) out.push_back(entry.title);
  if (!composition.entries.empty()) out.emplace_back();
  for (const std::string& line : composition.lines) out.push_back(line);
  if (composition.parts >= 2) out.push_back(std::to_string(composition.parts) + " part");
  if (composition.parts == -1) out.emplace_back("(repeat as necessary)");
  if (composition.leadsPerCourse > 0) {
    out.push_back("(" + std::to_string(composition.leadsPerCourse) + "-lead courses)");
  }
  if (composition.keepGoing == 1) out.emplace_back("keep going once");
  else if (composition.keepGoing == 2) out.emplace_back("keep going twice");
  else if (composition.keepGoing > 2) out.push_back("keep going " + std::to_string(composition.keepGoing) + " times");
  if (composition.observation >= 0) out.push_back(std::to_string(composition.observation + 1) + " observation");
  if (!composition.notes.empty()) {
    out.emplace_back();
    for (const std::string& note : composition.notes) out.push_back(note);
  }
  std::string text;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += out[i];
  }
  return text;
}

}  // namespace clangor
