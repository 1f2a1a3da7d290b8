// Reading a method collection file: the public collections' XML, a
// <collection> of <methodSet>s whose <properties> (stage, classification)
// every <method> of the set shares unless the method gives its own.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace clangor {

struct CollectedMethod {
  std::string title;     // as the collection gives it, blanks normalised
  std::string stage;     // the text of <stage>: the method's own, else its set's
  std::string notation;  // the collection's place notation, as written
};

struct MethodCollection {
  std::vector<CollectedMethod> methods;  // in file order
  std::string error;                     // why the file is no collection; empty when it is one
};

MethodCollection ReadMethodCollection(std::string_view text);
// The same from a file; a file that cannot be read says so in `error`.
MethodCollection ReadMethodCollectionFile(const std::filesystem::path& path);

}  // namespace clangor
