#include "bench/steady_tower/steady_tower.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "tower/control_table.h"

namespace clangor::bench {

namespace {

constexpr int Bells = SteadyTowerBells;
constexpr int HandStrike = 15000;
const int PictureAngles[] = {-18500, -17000, -9000, 0, 9000, 17000, 18500};

double Period(int bell) { return 1.6 + bell / 11.0; }

// The speed at the strike that carries a pendulum of this period up to `turnDegrees`.
double SpeedToTurnAt(double period, double turnDegrees) {
  const double length = period * period * 0.24849;
  const double strike = HandStrike / 100.0 * std::numbers::pi / 180.0;
  const double turn = turnDegrees * std::numbers::pi / 180.0;
  return std::sqrt(2 * 9.81 * length * (std::cos(strike) - std::cos(turn)));
}

void WriteControlText(const std::filesystem::path& folder) {
  std::string control = "[Base Image]\nWidth=800\nHeight=600\n\n";
  for (int b = 0; b < Bells; ++b) {
    control += "[" + std::to_string(b + 1) + "]\nPeriod=" + std::to_string(Period(b)) +
               "\nHandStrike=15000\nBackStrike=-15000\nMaxPull=90\nImageCount=7\n";
    for (int k = 0; k < 7; ++k) control += "p" + std::to_string(k) + "=" + std::to_string(PictureAngles[k]) + "\n";
    control += "ACWiseSeqCount=7\nACWiseSeq=0-6\nCWiseSeqCount=7\nCWiseSeq=6-0\n";
  }
  std::ofstream(folder / "control.txt") << control;
}

// Every row of a bell: the same speed at every transition, no rope terms.
void WriteControlTable(const std::filesystem::path& folder) {
  const std::size_t block = static_cast<std::size_t>(Bells - 1) * ControlBlock;  // ringing 2 to Bells
  std::vector<double> values(static_cast<std::size_t>(Bells) * block, 0.0);
  for (int b = 0; b < Bells; ++b) {
    const double speed = SpeedToTurnAt(Period(b), 178.5);
    const std::size_t first = static_cast<std::size_t>(b) * block;
    for (std::size_t row = first; row < first + block; row += ControlRowLength) {
      for (int i = 0; i <= 51; i += 3) values[row + static_cast<std::size_t>(i)] = speed;
      values[row + 55] = 2.0;
    }
  }
  std::ofstream table(folder / "control.cld", std::ios::binary);
  const std::int32_t header[2] = {Bells, 1};
  table.write(reinterpret_cast<const char*>(header), sizeof header);
  table.write(reinterpret_cast<const char*>(values.data()),
              static_cast<std::streamsize>(values.size() * sizeof(double)));
}

}  // namespace

void WriteSteadyTower(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "tower.txt") << "[Tower]\nRAM=32\nPealMins=180\n";
  WriteControlText(folder);
  WriteControlTable(folder);
}

}  // namespace clangor::bench
