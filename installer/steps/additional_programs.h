// The additional programs a package runs before or after it installs (the
// earlier-version check runs before). Each is one of the package's own
// temporary files: it is unpacked to the temporary folder, started with its
// parameters and, when the package asks, waited for and removed again. A
// program the package does not carry is refused, so a package cannot start
// whatever the machine has.
#pragma once

#include <string>
#include <vector>

#include "installer/package/package_reader.h"

namespace clangor::outfit {

enum class ProgramTime { Before, After };

// Text 4 of a program: "after" runs it after the installation, anything
// else before.
ProgramTime WhenToRun(const AdditionalProgram& program);

// Splits a parameter text at blanks; double quotes hold blanks together.
std::vector<std::string> SplitParameters(const std::string& text);

// Starts a program with its parameters (blank-separated, double quotes
// holding blanks together), in `folder` when one is given; waits when asked.
void StartProgram(const std::string& program, const std::string& parameters, const std::string& folder, bool wait);

// Runs the programs of that time, in the package's order.
void RunAdditionalPrograms(PackageReader& reader, ProgramTime when);

}  // namespace clangor::outfit
