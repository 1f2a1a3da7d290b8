#include "tools/ring/library_lookup.h"

#include <cstdlib>
#include <fstream>
#include <functional>

#include "ringing/text.h"

namespace clangor::ring {

namespace {

std::filesystem::path LibraryFile(const std::filesystem::path& data, const std::string& file) {
  const auto user = data / "Compendium" / "XII" / file;
  if (std::filesystem::exists(user)) return user;
  return data / "Defaults" / "Compendium" / "XII" / file;
}

void ReadEntries(const std::filesystem::path& path,
                 const std::function<void(int stage, std::string name, std::string text)>& take) {
  std::ifstream in(path);
  int stage = 0;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line[0] == '[') {
      stage = std::atoi(line.c_str() + 1);
      continue;
    }
    const auto equals = line.find('=');
    if (stage < 3 || equals == std::string::npos || equals == 0) continue;
    take(stage, NormaliseBlanks(line.substr(0, equals)), line.substr(equals + 1));
  }
}

}  // namespace

LibraryLookup::LibraryLookup(const std::filesystem::path& dataFolder) {
  ReadEntries(LibraryFile(dataFolder, "methods.txt"), [this](int stage, std::string name, std::string line) {
    methods_.push_back(Method{stage, std::move(name), std::move(line)});
  });
  ReadEntries(LibraryFile(dataFolder, "call_change_sequences.txt"),
              [this](int stage, std::string name, std::string notation) {
                sequences_.push_back(CallChangeSequence{stage, std::move(name), std::move(notation)});
              });
}

const Method* LibraryLookup::FindMethod(const std::string& title, int bells) const {
  const std::string wanted = NormaliseBlanks(title);
  for (const Method& m : methods_)
    if (m.Title() == wanted) return &m;
  const Method* best = nullptr;
  for (const Method& m : methods_)
    if (m.name == wanted && m.stage <= bells && (!best || m.stage > best->stage)) best = &m;
  return best;
}

const CallChangeSequence* LibraryLookup::FindSequence(const std::string& name, int bells) const {
  const std::string wanted = NormaliseBlanks(name);
  const CallChangeSequence* best = nullptr;
  for (const CallChangeSequence& s : sequences_)
    if (s.name == wanted && s.stage <= bells && (!best || s.stage > best->stage)) best = &s;
  return best;
}

}  // namespace clangor::ring
