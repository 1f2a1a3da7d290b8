// compositions.txt: header lines, "[Standard Headings]" with identifier =
// headings pairs, then "[Compositions]" with records of key=value lines
// separated by one empty line.
#pragma once

#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "ringing/composition.h"
#include "ringing/composition_builder.h"

namespace clangor {

// Reads the header, the standard headings and the records that hold calling.
// False when the reading stopped before the end of the file.
bool ReadCompositionFile(std::istream& in, std::vector<std::string>* header, StandardHeadings* headings,
                         std::vector<CompositionFields>* records);

// The "Method=" / "Exclude=" lines of a composition, in the order of their
// labels, titles padded when there is more than one (unless the padding
// would make the line too long to read back).
std::vector<std::string> MethodLines(const Composition& composition);

// True when every line of the composition's record can be read back.
bool RecordFits(const Composition& composition);

// The whole file in its written form. A header line, standard heading or
// record that would hold a line too long to read back is left out, and
// named in `leftOut` (when given).
std::string WriteCompositionFile(const std::vector<std::string>& header, const StandardHeadings& headings,
                                 const std::vector<std::unique_ptr<Composition>>& compositions,
                                 std::vector<std::string>* leftOut = nullptr);

}  // namespace clangor
