#include "library/striking_history.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "library/atomic_file.h"

namespace clangor {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t Fields = 8;

std::string SafeName(std::string name) {
  for (char& c : name)
    if (c == '/' || c == '\\' || c == '\0') c = '_';
  if (name.empty() || name == "." || name == "..") name = "_" + name;
  return name;
}

// A field with a comma, quote or line break goes in quotes, its quotes doubled.
std::string Field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

std::string CsvLine(const StrikingHistoryLine& l) {
  return Field(l.date) + "," + Field(l.tower) + "," + Field(l.method) + "," + std::to_string(l.bell) + "," +
         std::to_string(l.blows) + "," + Number(l.rmsMs) + "," + Number(l.handMeanMs) + "," + Number(l.backMeanMs) +
         "\n";
}

// Splits one line into its fields; false on an unclosed quote.
bool SplitFields(const std::string& line, std::vector<std::string>& fields) {
  fields.assign(1, {});
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') fields.back() += line[++i];
      else if (c == '"') quoted = false;
      else fields.back() += c;
    } else if (c == '"' && fields.back().empty()) {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return !quoted;
}

template <class T>
bool Parse(const std::string& text, T& value) {
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && at == end && !text.empty();
}

bool ParseLine(const std::string& text, StrikingHistoryLine& l) {
  std::vector<std::string> f;
  if (!SplitFields(text, f) || f.size() != Fields) return false;
  l.date = f[0];
  l.tower = f[1];
  l.method = f[2];
  return Parse(f[3], l.bell) && Parse(f[4], l.blows) && Parse(f[5], l.rmsMs) && Parse(f[6], l.handMeanMs) &&
         Parse(f[7], l.backMeanMs);
}

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Moves the file to the first free "<stem>.damaged.csv",
// "<stem>.damaged-2.csv" ...: a new link is made only where no file is, so
// nothing kept aside before is ever written over. Empty when it failed.
fs::path SetAside(const fs::path& file) {
  const fs::path stem = file.parent_path() / file.stem();
  for (int n = 1; n < 10000; ++n) {
    fs::path candidate = stem;
    candidate += n == 1 ? ".damaged.csv" : ".damaged-" + std::to_string(n) + ".csv";
    if (::link(file.c_str(), candidate.c_str()) == 0) {
      ::unlink(file.c_str());
      return candidate;
    }
    if (errno != EEXIST) break;
  }
  return {};
}

}  // namespace

fs::path StrikingHistoryPath(const fs::path& dataFolder, const std::string& user, const std::string& tower) {
  return dataFolder / "Striking" / SafeName(user) / (SafeName(tower) + ".csv");
}

StrikingHistory ReadStrikingHistory(const fs::path& file) {
  StrikingHistory history;
  std::istringstream in(ReadAll(file));
  std::string text;
  bool first = true;
  while (std::getline(in, text)) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (first) {
      first = false;
      if (text != StrikingHistoryHeader) history.damaged = true;
      continue;
    }
    StrikingHistoryLine line;
    if (ParseLine(text, line)) history.lines.push_back(std::move(line));
    else history.damaged = true;
  }
  return history;
}

HistoryAppended AppendStrikingHistory(const fs::path& file, const StrikingHistoryLine& line) {
  HistoryAppended result;
  std::error_code error;
  std::string text = std::string(StrikingHistoryHeader) + "\n";
  if (fs::exists(file, error) && !fs::is_regular_file(file, error)) return result;
  if (fs::exists(file, error)) {
    const std::string old = ReadAll(file);
    const StrikingHistory history = ReadStrikingHistory(file);
    if (history.damaged) {
      result.setAside = SetAside(file);
      if (result.setAside.empty()) return result;  // neither kept aside nor written over
    } else if (!old.empty()) {
      text = old;
      if (text.back() != '\n') text += '\n';
    }
  }
  result.written = ReplaceFile(file, text + CsvLine(line));
  return result;
}

}  // namespace clangor
