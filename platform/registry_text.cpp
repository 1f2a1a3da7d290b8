#include "platform/registry_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace clangor::registry {

namespace {

constexpr std::string_view Header = "REGEDIT4";
constexpr std::size_t WrapColumn = 76;  // hex lists break before 80 columns, as regedit's do

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool StartsWithFolded(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && FoldName(s.substr(0, prefix.size())) == FoldName(prefix);
}

std::optional<std::uint32_t> HexNumber(std::string_view digits, std::size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  std::uint32_t n = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return std::nullopt;
    n = n * 16 + static_cast<std::uint32_t>(d);
  }
  return n;
}

// The logical lines of the text: line ends removed, and a line ending in "\"
// joined with the next (the continuation of a long hex list).
struct Line {
  std::string text;
  int number;
  bool unfinished;  // ended in "\" at the end of the file
};

std::vector<Line> LogicalLines(std::string_view text) {
  std::vector<Line> lines;
  std::string pending;
  int pendingStart = 0;
  int number = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    ++number;
    if (pending.empty()) pendingStart = number;
    if (!raw.empty() && raw.back() == '\\' && raw.front() != ';') {
      pending.append(raw.substr(0, raw.size() - 1));
      continue;
    }
    pending.append(raw);
    lines.push_back({std::move(pending), pendingStart, false});
    pending.clear();
  }
  if (!pending.empty()) lines.push_back({std::move(pending), pendingStart, true});
  return lines;
}

// Reads a double-quoted text starting at s[pos] == '"'; pos ends past the
// closing quote. "\\" and "\"" are escapes; any other backslash stands for itself.
std::optional<std::string> QuotedText(std::string_view s, std::size_t& pos) {
  std::string out;
  for (++pos; pos < s.size(); ++pos) {
    char c = s[pos];
    if (c == '\0') return std::nullopt;
    if (c == '"') {
      ++pos;
      return out;
    }
    if (c == '\\' && pos + 1 < s.size() && (s[pos + 1] == '\\' || s[pos + 1] == '"')) c = s[++pos];
    out.push_back(c);
  }
  return std::nullopt;
}

std::optional<Value> HexValue(std::string_view list, ValueType type) {
  Value v{type, {}};
  list = Trim(list);
  if (list.empty()) return v;
  std::size_t pos = 0;
  while (true) {
    std::size_t comma = list.find(',', pos);
    std::string_view item = Trim(list.substr(pos, comma == std::string_view::npos ? list.npos : comma - pos));
    auto byte = HexNumber(item, 2);
    if (!byte) return std::nullopt;
    v.data.push_back(static_cast<std::uint8_t>(*byte));
    if (comma == std::string_view::npos) return v;
    pos = comma + 1;
  }
}

// The data part of a value line, after the "=".
std::optional<Value> ValueData(std::string_view s) {
  s = Trim(s);
  if (!s.empty() && s.front() == '"') {
    std::size_t pos = 0;
    auto text = QuotedText(s, pos);
    if (!text || !Trim(s.substr(pos)).empty()) return std::nullopt;
    Value v{ValueType::String, std::vector<std::uint8_t>(text->begin(), text->end())};
    v.data.push_back(0);
    return v;
  }
  if (StartsWithFolded(s, "dword:")) {
    auto n = HexNumber(s.substr(6), 8);
    if (!n) return std::nullopt;
    Value v{ValueType::Dword, {}};
    for (int i = 0; i < 4; ++i) v.data.push_back(static_cast<std::uint8_t>(*n >> (8 * i)));
    return v;
  }
  if (StartsWithFolded(s, "hex:")) return HexValue(s.substr(4), ValueType::Binary);
  if (StartsWithFolded(s, "hex(")) {
    std::size_t close = s.find("):");
    if (close == std::string_view::npos) return std::nullopt;
    auto type = HexNumber(s.substr(4, close - 4), 8);
    if (!type) return std::nullopt;
    return HexValue(s.substr(close + 2), static_cast<ValueType>(*type));
  }
  return std::nullopt;
}

bool ReadValueLine(std::string_view s, KeyNode& key) {
  std::string name;
  std::size_t pos = 0;
  if (s.front() == '@') {
    pos = 1;
  } else if (s.front() == '"') {
    auto quoted = QuotedText(s, pos);
    if (!quoted || !IsValidValueName(*quoted)) return false;
    name = std::move(*quoted);
  } else {
    return false;
  }
  while (pos < s.size() && IsBlank(s[pos])) ++pos;
  if (pos >= s.size() || s[pos] != '=') return false;
  auto value = ValueData(s.substr(pos + 1));
  if (!value) return false;
  key.SetValue(name, *value);
  return true;
}

// The key named by a section header, or nothing when it names another root
// or a path a key cannot have.
KeyNode* SectionKey(std::string_view s, std::string_view rootName, HiveData& hive) {
  if (s.size() < 2 || s.back() != ']') return nullptr;
  std::string_view name = s.substr(1, s.size() - 2);
  if (!StartsWithFolded(name, rootName)) return nullptr;
  name.remove_prefix(rootName.size());
  if (name.empty()) return &hive.AddKey("");
  if (name.front() != '\\') return nullptr;
  std::string path;
  if (CheckKeyPath(name.substr(1), path) != error::Success) return nullptr;
  return &hive.AddKey(path);
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  return out;
}

// True when a string value can be written between quotes and read back the same.
bool IsPlainString(const std::vector<std::uint8_t>& data) {
  if (data.empty() || data.back() != 0) return false;
  return std::all_of(data.begin(), data.end() - 1, [](std::uint8_t b) { return b >= 0x20 && b != 0x7f; });
}

void AppendHex(std::string& line, std::string_view prefix, const std::vector<std::uint8_t>& data) {
  std::size_t column = line.size() + prefix.size();
  line.append(prefix);
  char digits[3];
  for (std::size_t i = 0; i < data.size(); ++i) {
    std::snprintf(digits, sizeof digits, "%02x", data[i]);
    line.append(digits);
    column += 2;
    if (i + 1 < data.size()) {
      line.push_back(',');
      ++column;
      if (column >= WrapColumn) {
        line.append("\\\n  ");
        column = 2;
      }
    }
  }
}

void AppendValue(std::string& out, const NamedValue& v) {
  std::string line = v.name.empty() ? "@=" : "\"" + Escaped(v.name) + "\"=";
  const auto& data = v.value.data;
  if (v.value.type == ValueType::String && IsPlainString(data)) {
    line += "\"" + Escaped(std::string_view(reinterpret_cast<const char*>(data.data()), data.size() - 1)) + "\"";
  } else if (v.value.type == ValueType::Dword && data.size() == 4) {
    char digits[16];
    std::uint32_t n = data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    std::snprintf(digits, sizeof digits, "dword:%08x", n);
    line += digits;
  } else if (v.value.type == ValueType::Binary) {
    AppendHex(line, "hex:", data);
  } else {
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(v.value.type));
    AppendHex(line, prefix, data);
  }
  out += line;
  out += '\n';
}

}  // namespace

std::string FoldName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

const NamedValue* KeyNode::FindValue(std::string_view name) const {
  std::string folded = FoldName(name);
  for (const auto& v : values)
    if (FoldName(v.name) == folded) return &v;
  return nullptr;
}

bool KeyNode::SetValue(std::string_view name, const Value& value) {
  if (auto* existing = const_cast<NamedValue*>(FindValue(name))) {
    if (existing->value.type == value.type && existing->value.data == value.data) return false;
    existing->value = value;
    return true;
  }
  values.push_back({std::string(name), value});
  return true;
}

bool KeyNode::RemoveValue(std::string_view name) {
  std::string folded = FoldName(name);
  auto it = std::find_if(values.begin(), values.end(), [&](const NamedValue& v) { return FoldName(v.name) == folded; });
  if (it == values.end()) return false;
  values.erase(it);
  return true;
}

HiveData::HiveData() { keys_.emplace("", KeyNode{}); }

const KeyNode* HiveData::FindKey(std::string_view path) const {
  auto it = keys_.find(FoldName(path));
  return it == keys_.end() ? nullptr : &it->second;
}

KeyNode* HiveData::FindKey(std::string_view path) {
  auto it = keys_.find(FoldName(path));
  return it == keys_.end() ? nullptr : &it->second;
}

KeyNode& HiveData::AddKey(std::string_view path, bool* made) {
  if (made) *made = false;
  if (KeyNode* existing = FindKey(path)) return *existing;
  if (made) *made = true;
  // The keys above it, from the top down, one step per part.
  for (std::size_t slash = path.find('\\'); slash != std::string_view::npos; slash = path.find('\\', slash + 1)) {
    const std::string_view above = path.substr(0, slash);
    std::string folded = FoldName(above);
    if (keys_.count(folded) == 0) keys_.emplace(std::move(folded), KeyNode{std::string(above), {}});
  }
  return keys_.emplace(FoldName(path), KeyNode{std::string(path), {}}).first->second;
}

std::vector<std::string> HiveData::SubKeyNames(std::string_view path) const {
  std::string prefix = path.empty() ? "" : FoldName(path) + "\\";
  std::vector<std::string> names;
  for (auto it = keys_.lower_bound(prefix); it != keys_.end() && it->first.starts_with(prefix); ++it) {
    std::string_view rest = std::string_view(it->second.path).substr(prefix.size());
    if (!rest.empty() && rest.find('\\') == std::string_view::npos) names.emplace_back(rest);
  }
  return names;
}

bool HiveData::HasSubKeys(std::string_view path) const { return !SubKeyNames(path).empty(); }

void HiveData::RemoveKey(std::string_view path, bool tree) {
  std::string folded = FoldName(path);
  keys_.erase(folded);
  if (!tree) return;
  std::string prefix = folded + "\\";
  auto it = keys_.lower_bound(prefix);
  while (it != keys_.end() && it->first.starts_with(prefix)) it = keys_.erase(it);
}

Status CheckKeyPath(std::string_view path, std::string& checked) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  checked.assign(path);
  if (path.empty()) return error::Success;
  std::size_t start = 0;
  for (int depth = 1;; ++depth) {
    std::size_t end = path.find('\\', start);
    std::string_view part = path.substr(start, end == std::string_view::npos ? path.npos : end - start);
    if (part.empty() || depth > MaxKeyDepth) return error::BadPathname;
    if (part.size() > MaxKeyNameLength) return error::InvalidParameter;
    for (char c : part)
      if (static_cast<unsigned char>(c) < 0x20) return error::InvalidParameter;
    if (end == std::string_view::npos) return error::Success;
    start = end + 1;
  }
}

bool IsValidValueName(std::string_view name) {
  return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

ParsedHive ParseHiveText(std::string_view text, std::string_view rootName) {
  ParsedHive parsed;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<Line> lines = LogicalLines(text);
  auto first = std::find_if(lines.begin(), lines.end(), [](const Line& l) { return !l.text.empty(); });
  if (first == lines.end()) {
    parsed.isHive = true;  // an empty file holds an empty hive
    return parsed;
  }
  if (first->text != Header) return parsed;
  parsed.isHive = true;
  KeyNode* key = nullptr;
  for (auto it = first + 1; it != lines.end(); ++it) {
    std::string_view s = it->text;
    if (s.empty() || s.front() == ';') continue;
    bool good;
    if (it->unfinished) {
      good = false;
    } else if (s.front() == '[') {
      key = SectionKey(s, rootName, parsed.data);
      good = key != nullptr;
    } else {
      good = key != nullptr && ReadValueLine(s, *key);
    }
    if (!good && parsed.badLines++ == 0) parsed.firstBadLine = it->number;
  }
  return parsed;
}

std::string WriteHiveText(const HiveData& hive, std::string_view rootName) {
  std::string out(Header);
  out += "\n";
  for (const auto& [folded, key] : hive.Keys()) {
    if (key.path.empty() && key.values.empty()) continue;
    out += "\n[";
    out += rootName;
    if (!key.path.empty()) out += "\\" + key.path;
    out += "]\n";
    for (const auto& v : key.values) AppendValue(out, v);
  }
  out += "\n";
  return out;
}

}  // namespace clangor::registry
