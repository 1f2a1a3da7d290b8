// A tower as the kit's hand-written definition describes it
// (data/towers/<name>/tower.def): the tower-wide values, the rings, the sound
// sets and one line per bell. The kit turns it into the simulator's tower
// folder.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace clangor::towerkit {

struct BellDefinition {
  int number = 0;          // from 1, treble first
  std::string name;        // "Treble", "Second", ...
  std::string note;        // "D", "F#"
  double nominal = 0;      // Hz: the nominal partial, an octave above the strike note's hum
  double weight = 0;       // cwt
  double period = 0;       // seconds: the small swing of the bell as a pendulum
  double wheelRadius = 0;  // metres
  int maxPull = 0;         // degrees: the strongest pull as gravity at this angle
};

enum class SoundStyle { Dry, Room };

struct SoundSetDefinition {
  std::string name;    // the set's file name without ".txt"
  std::string source;  // its folder under Recordings/
  SoundStyle style = SoundStyle::Dry;
};

struct TowerDefinition {
  std::string name;
  std::string tenorKey;
  int pealMins = 180;
  std::string soundsFile;
  int handStrike = 15000;   // hundredths of a degree
  int backStrike = -15000;
  int stay = 18500;         // the stays hold the bell this far round either way
  int tiers = 1;            // rows of the frame in the picture
  std::vector<std::pair<std::string, std::string>> rings, otherRings;
  std::vector<SoundSetDefinition> soundSets;
  std::vector<BellDefinition> bells;
};

// Reads a definition file. Throws std::runtime_error naming the file and the
// line when it cannot be read or a bell line is incomplete: the kit must not
// quietly build a tower from a broken definition.
TowerDefinition ReadTowerDefinition(const std::string& path, const std::string& name);

}  // namespace clangor::towerkit
