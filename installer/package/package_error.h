// The one failure a setup package raises: the package cannot be read, or it
// asks for something that would reach outside the folders being installed
// into. Its text is shown to the user as it stands.
#pragma once

#include <stdexcept>
#include <string>

namespace clangor::outfit {

class PackageError : public std::runtime_error {
 public:
  explicit PackageError(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace clangor::outfit
