// A hive held in memory, and its REGEDIT4 text form:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Orvanta\Clangor]
//   "TowerName"="Twelve Bells"
//   "ClientLeft"=dword:00000015
//   "Bits"=hex:01,02,ff
//   @="the key's default value"
//
// Strings escape "\" and the double quote with a backslash; a string that
// this form cannot carry as it stands (a line break, a control character, no
// terminating zero) is written as hex(1): bytes, so every value reads back
// exactly as it was written.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace clangor::registry {

struct NamedValue {
  std::string name;
  Value value;
};

struct KeyNode {
  std::string path;  // below the root, "\" between parts, as first written
  std::vector<NamedValue> values;

  const NamedValue* FindValue(std::string_view name) const;
  // Sets the value; false when it already held exactly this.
  bool SetValue(std::string_view name, const Value& value);
  bool RemoveValue(std::string_view name);
};

// The names of keys and values compare without regard to ASCII letter case.
std::string FoldName(std::string_view name);

class HiveData {
 public:
  HiveData();

  const KeyNode* FindKey(std::string_view path) const;
  KeyNode* FindKey(std::string_view path);
  // Adds the key and any missing keys above it; `made` tells whether the key
  // itself is new.
  KeyNode& AddKey(std::string_view path, bool* made = nullptr);
  std::vector<std::string> SubKeyNames(std::string_view path) const;
  bool HasSubKeys(std::string_view path) const;
  // Removes the key, and with `tree` every key below it.
  void RemoveKey(std::string_view path, bool tree);

  const std::map<std::string, KeyNode>& Keys() const { return keys_; }

 private:
  std::map<std::string, KeyNode> keys_;  // folded path -> key; the root "" always there
};

struct ParsedHive {
  HiveData data;
  bool isHive = false;     // the text is a REGEDIT4 file (or empty)
  int badLines = 0;        // lines that could not be read, skipped
  int firstBadLine = 0;    // 1-based
};

// Reads a hive's text. Sections of another root, unknown lines and
// malformed values are skipped and counted; a text whose first line is not
// "REGEDIT4" is no hive at all.
ParsedHive ParseHiveText(std::string_view text, std::string_view rootName);

std::string WriteHiveText(const HiveData& hive, std::string_view rootName);

// Far beyond any real key: deeper paths and longer names are refused, so a
// hive file can never make a key whose ancestors outweigh the file.
inline constexpr int MaxKeyDepth = 64;
inline constexpr std::size_t MaxKeyNameLength = 255;

// Checks a relative key path ("a\b\c"; one trailing "\" allowed) and gives it
// without the trailing separator; a status other than Success when the path
// has an empty part, more than MaxKeyDepth parts, or a name too long or
// holding a character a key name cannot hold.
Status CheckKeyPath(std::string_view path, std::string& checked);
// A value name may hold anything but line breaks and zero bytes.
bool IsValidValueName(std::string_view name);

}  // namespace clangor::registry
