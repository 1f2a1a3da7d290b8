// The sub-commands of clangor-ring that read the library of a data folder:
// list it, and ring a composition, a method or a call-change sequence from it.
#pragma once

#include <string>
#include <vector>

namespace clangor::ring {

int RunLibrary(const std::vector<std::string>& args);
int RunComposition(const std::vector<std::string>& args);
int RunMethod(const std::vector<std::string>& args);
int RunSequence(const std::vector<std::string>& args);
// Adds the methods of a collection file to the library of the data folder.
int RunImport(const std::vector<std::string>& args);

}  // namespace clangor::ring
