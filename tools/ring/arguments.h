// Command-line options of the form --name value and --flag.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace clangor::ring {

// Thrown for bad arguments; the message is shown to the user, exit status 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Arguments {
 public:
  // `valued` and `flags` name the options the command takes, without "--".
  Arguments(const std::vector<std::string>& args, const std::set<std::string>& valued,
            const std::set<std::string>& flags);

  std::optional<std::string> Value(const std::string& name) const;
  std::string Required(const std::string& name) const;
  bool Flag(const std::string& name) const { return flags_.count(name) > 0; }
  // A whole number in [low, high], or `fallback` when the option is absent.
  int Number(const std::string& name, int low, int high, int fallback) const;
  const std::vector<std::string>& positional() const { return positional_; }

 private:
  std::map<std::string, std::string> values_;
  std::set<std::string> flags_;
  std::vector<std::string> positional_;
};

}  // namespace clangor::ring
