// Reading a library file line by line as the files are read: a carriage
// return before the newline is dropped, and a line of 300 characters or more
// ends the reading of the file.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace clangor {

// The line buffer of the library files.
inline constexpr std::size_t LibraryLineLimit = 300;

// True when the reader can read `line` back (it is shorter than the buffer).
inline bool FitsLibraryLine(std::string_view line) { return line.size() < LibraryLineLimit; }

class LibraryLines {
 public:
  explicit LibraryLines(std::istream& in) : in_(in) {}

  // The next line; none at the end of the file or at a line too long.
  std::optional<std::string> Next();
  // Reads the header lines (every line before the first that begins with
  // "["); returns that first section line, or none.
  std::optional<std::string> ReadHeader(std::vector<std::string>* header);
  // True when reading stopped at a line too long rather than at the end.
  bool cutShort() const { return cutShort_; }

 private:
  std::istream& in_;
  bool cutShort_ = false;
};

}  // namespace clangor
