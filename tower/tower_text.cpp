#include "tower/tower_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>

namespace clangor {

namespace {

// Skips what isspace calls blank, then an optional sign; gives the sign.
std::string_view SkipToDigits(std::string_view text, bool& negative) {
  std::size_t at = 0;
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
  negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  return text.substr(at);
}

}  // namespace

std::string TidyText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool pendingBlank = false;
  for (const char c : text) {
    if (c == ' ') {
      pendingBlank = !out.empty();
      continue;
    }
    if (pendingBlank) out.push_back(' ');
    pendingBlank = false;
    out.push_back(c);
  }
  return out;
}

int ReadInt(std::string_view text) {
  bool negative = false;
  const std::string_view digits = SkipToDigits(text, negative);
  long long value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > INT_MAX) {
      value = negative ? static_cast<long long>(INT_MAX) + 1 : INT_MAX;
      break;
    }
  }
  return static_cast<int>(negative ? -value : value);
}

int ReadIntIn(std::string_view text, int low, int high) { return std::clamp(ReadInt(text), low, high); }

double ReadReal(std::string_view text) {
  bool negative = false;
  const std::string_view number = SkipToDigits(text, negative);
  if (number.empty() || number[0] == '+' || number[0] == '-') return 0.0;
  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec != std::errc() || !std::isfinite(value)) return 0.0;
  return negative ? -value : value;
}

std::optional<KeyValue> SplitKeyValue(std::string_view line) {
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  KeyValue kv;
  kv.rawKey = std::string(line.substr(0, equals));
  kv.key = TidyText(kv.rawKey);
  kv.value = TidyText(line.substr(equals + 1));
  return kv;
}

TowerTextReader::TowerTextReader(const std::string& path) : in_(path, std::ios::binary) {
  ended_ = !in_;
}

bool TowerTextReader::NextLine(std::string& line) {
  if (ended_) return false;
  line.clear();
  int c = in_.get();
  if (c == EOF) {
    ended_ = true;
    return false;
  }
  // Reads at most one character more than a line may hold, so that a file
  // without line breaks is never taken in whole.
  while (c != EOF && c != '\n') {
    if (line.size() > MaxLineLength) {
      ended_ = true;
      return false;
    }
    line.push_back(static_cast<char>(c));
    c = in_.get();
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > MaxLineLength) {
    ended_ = true;
    return false;
  }
  return true;
}

bool TowerTextReader::NextHeader(std::string& line) {
  while (NextLine(line)) {
    if (!line.empty() && line[0] == '[') return true;
  }
  return false;
}

bool TowerTextReader::FindSection(std::string_view header) {
  std::string line;
  if (!NextHeader(line)) return false;
  if (line == header) return true;
  ended_ = true;
  return false;
}

bool TowerTextReader::NextBodyLine(std::string& line) {
  return NextLine(line) && !line.empty();
}

}  // namespace clangor
