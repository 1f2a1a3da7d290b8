// One bell's named properties as the tower's files give them: text keyed by
// name (case-sensitive), converted only when the bell is built. A later file
// overwrites what an earlier one set.
#pragma once

#include <cstddef>
#include <map>
#include <string>

namespace clangor {

class BellProperties {
 public:
  // More keys than any bell needs; a file that names more is cut off here.
  static constexpr std::size_t MaxKeys = 4096;

  void Set(const std::string& key, const std::string& value) {
    if (values_.size() < MaxKeys || values_.count(key)) values_[key] = value;
  }
  // The value, or an empty text when the key is absent.
  std::string Get(const std::string& key) const {
    const auto it = values_.find(key);
    return it == values_.end() ? std::string() : it->second;
  }
  bool Has(const std::string& key) const { return values_.count(key) != 0; }
  void Erase(const std::string& key) { values_.erase(key); }
  std::size_t Size() const { return values_.size(); }
  const std::map<std::string, std::string>& Values() const { return values_; }

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace clangor
