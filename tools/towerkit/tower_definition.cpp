#include "tools/towerkit/tower_definition.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace clangor::towerkit {

namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::vector<std::string> SplitFields(const std::string& text) {
  std::vector<std::string> fields;
  std::stringstream in(text);
  std::string field;
  while (std::getline(in, field, ',')) fields.push_back(Trim(field));
  return fields;
}

double Number(const std::string& text, const std::string& where) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0') throw std::runtime_error(where + ": not a number: " + text);
  return value;
}

}  // namespace

TowerDefinition ReadTowerDefinition(const std::string& path, const std::string& name) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  TowerDefinition tower;
  tower.name = name;
  std::string section;
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      section = line;
      continue;
    }
    const std::string where = path + ":" + std::to_string(lineNumber);
    const auto equals = line.find('=');
    if (equals == std::string::npos) throw std::runtime_error(where + ": no '='");
    const std::string key = Trim(line.substr(0, equals));
    const std::string value = Trim(line.substr(equals + 1));
    if (section == "[Tower]") {
      if (key == "TenorKey") tower.tenorKey = value;
      else if (key == "PealMins") tower.pealMins = static_cast<int>(Number(value, where));
      else if (key == "SoundsFile") tower.soundsFile = value;
      else if (key == "HandStrike") tower.handStrike = static_cast<int>(Number(value, where));
      else if (key == "BackStrike") tower.backStrike = static_cast<int>(Number(value, where));
      else if (key == "Stay") tower.stay = static_cast<int>(Number(value, where));
      else if (key == "Tiers") tower.tiers = static_cast<int>(Number(value, where));
      else throw std::runtime_error(where + ": unknown key " + key);
    } else if (section == "[Rings]") {
      tower.rings.emplace_back(key, value);
    } else if (section == "[Other Rings]") {
      tower.otherRings.emplace_back(key, value);
    } else if (section == "[Sound Sets]") {
      const auto fields = SplitFields(value);
      if (fields.size() != 2) throw std::runtime_error(where + ": want source, dry|room");
      tower.soundSets.push_back({key, fields[0], fields[1] == "room" ? SoundStyle::Room : SoundStyle::Dry});
    } else if (section == "[Bells]") {
      const auto f = SplitFields(value);
      if (f.size() != 7) throw std::runtime_error(where + ": a bell line has seven fields");
      BellDefinition bell;
      bell.number = static_cast<int>(Number(key, where));
      bell.name = f[0];
      bell.note = f[1];
      bell.nominal = Number(f[2], where);
      bell.weight = Number(f[3], where);
      bell.period = Number(f[4], where);
      bell.wheelRadius = Number(f[5], where);
      bell.maxPull = static_cast<int>(Number(f[6], where));
      if (bell.number != static_cast<int>(tower.bells.size()) + 1) {
        throw std::runtime_error(where + ": bells must be numbered 1, 2, ... in order");
      }
      tower.bells.push_back(bell);
    } else {
      throw std::runtime_error(where + ": outside a known section");
    }
  }
  if (tower.bells.size() < 2 || tower.bells.size() > 18) {
    throw std::runtime_error(path + ": a tower has 2 to 18 bells");
  }
  return tower;
}

}  // namespace clangor::towerkit
