#include "library/forms/sequence_form.h"

#include "library/library.h"
#include "ringing/bells.h"

namespace clangor {

Verdict CheckSequence(const std::string& name, const std::string& notation, int stage, const Library& library,
                      const CallChangeSequence* editing) {
  namespace field = sequence_field;
  // "=" would end the name in the file, and a line that begins with "[" is read as a section.
  if (name.find('=') != std::string::npos || name.rfind('[', 0) == 0)
    return Complaint{"Name must not begin with [ or include =", "Invalid Name", field::Name};
  if (notation.empty()) return Complaint{"Notation must have a value", "Invalid Notation", field::Notation};
  const std::string allowed = std::string(BellChars.substr(0, static_cast<std::size_t>(stage))) + ".";
  if (notation.find_first_not_of(allowed) != std::string::npos)
    return Complaint{"Use these characters only:" + allowed, "Invalid Notation", field::Notation};
  if (name.size() + notation.size() + 1 > static_cast<std::size_t>(LongestLibraryLine))
    return Complaint{"Total length of name and notation must not exceed " + std::to_string(LongestLibraryLine) +
                         " characters",
                     "Line length exceeded", field::Notation};
  for (const auto& sequence : library.Sequences(stage))
    if (sequence.get() != editing && sequence->name == name)
      return Complaint{"A ccseq with this name already exists", "Invalid Name", field::Name};
  return std::nullopt;
}

}  // namespace clangor
