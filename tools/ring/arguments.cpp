#include "tools/ring/arguments.h"

#include <charconv>

namespace clangor::ring {

Arguments::Arguments(const std::vector<std::string>& args, const std::set<std::string>& valued,
                     const std::set<std::string>& flags) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0) {
      positional_.push_back(arg);
      continue;
    }
    const std::string name = arg.substr(2);
    if (flags.count(name)) {
      flags_.insert(name);
    } else if (valued.count(name)) {
      if (i + 1 >= args.size()) throw UsageError("option " + arg + " needs a value");
      values_[name] = args[++i];
    } else {
      throw UsageError("unknown option " + arg);
    }
  }
}

std::optional<std::string> Arguments::Value(const std::string& name) const {
  const auto at = values_.find(name);
  if (at == values_.end()) return std::nullopt;
  return at->second;
}

std::string Arguments::Required(const std::string& name) const {
  const auto value = Value(name);
  if (!value) throw UsageError("option --" + name + " is required");
  return *value;
}

int Arguments::Number(const std::string& name, int low, int high, int fallback) const {
  const auto text = Value(name);
  if (!text) return fallback;
  int value = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (error != std::errc() || end != text->data() + text->size() || value < low || value > high)
    throw UsageError("--" + name + " must be a whole number from " + std::to_string(low) + " to " +
                     std::to_string(high) + ", not \"" + *text + "\"");
  return value;
}

}  // namespace clangor::ring
