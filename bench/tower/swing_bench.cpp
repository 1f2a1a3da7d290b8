// Swing speed: how many simulated seconds of twelve swinging bells one real
// second computes, advancing every bell in sub-steps of 0.1 s as the ringing
// loop does, with the change generator ringing rounds.
//
// The tower is written into a temporary data folder: twelve bells of
// periods from 1.6 s (treble) to 2.6 s (tenor), each swing carried to just
// short of the balance by its control row.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "engine/ringing_clock.h"
#include "engine/ringing_state.h"
#include "ringing/change_generator.h"
#include "shell/settings_store.h"
#include "tower/bell.h"
#include "tower/tower.h"

namespace {

using namespace clangor;

constexpr int Bells = 12;
constexpr int HandStrike = 15000;
const int PictureAngles[] = {-18500, -17000, -9000, 0, 9000, 17000, 18500};

double Period(int bell) { return 1.6 + bell / 11.0; }

double SpeedToTurnAt(double period, double turnDegrees) {
  const double length = period * period * 0.24849;
  const double strike = HandStrike / 100.0 * std::numbers::pi / 180.0;
  const double turn = turnDegrees * std::numbers::pi / 180.0;
  return std::sqrt(2 * 9.81 * length * (std::cos(strike) - std::cos(turn)));
}

void WriteTower(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "tower.txt") << "[Tower]\nRAM=32\n";
  std::string control = "[Base Image]\nWidth=800\nHeight=600\n\n";
  for (int b = 0; b < Bells; ++b) {
    control += "[" + std::to_string(b + 1) + "]\nPeriod=" + std::to_string(Period(b)) +
               "\nHandStrike=15000\nBackStrike=-15000\nImageCount=7\n";
    for (int k = 0; k < 7; ++k) control += "p" + std::to_string(k) + "=" + std::to_string(PictureAngles[k]) + "\n";
    control += "ACWiseSeqCount=7\nACWiseSeq=0-6\nCWiseSeqCount=7\nCWiseSeq=6-0\n";
  }
  std::ofstream(folder / "control.txt") << control;

  std::vector<double> values(static_cast<std::size_t>(Bells) * Bells * 5460, 0.0);
  for (int b = 0; b < Bells; ++b) {
    const double speed = SpeedToTurnAt(Period(b), 178.5);
    const std::size_t first = static_cast<std::size_t>(Bells - 1) * b * 5460;
    for (std::size_t row = first; row < first + static_cast<std::size_t>(Bells - 1) * 5460; row += 60) {
      for (int i = 0; i <= 51; i += 3) values[row + i] = speed;
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

int main() {
  const auto root = std::filesystem::temp_directory_path() / "clangor_bench_swing";
  std::filesystem::remove_all(root);
  setenv("CLANGOR_COMMON_APPDATA", root.c_str(), 1);
  setenv("CLANGOR_REGISTRY_DIR", (root / "registry").c_str(), 1);
  WriteTower(root / "Orvanta" / "Clangor" / "Towers" / "XII" / "Bench");

  double simulated = 0;
  double real = 0;
  long blows = 0;
  {
    SettingsStore settings;
    Tower tower("Bench", settings);
    std::vector<std::unique_ptr<Bell>> bells;
    Ringing().Reset();
    Ringing().bellsInPlay = Bells;
    SetPealSpeed(180);
    ChangeGenerator rounds(Bells, nullptr, nullptr);
    Ringing().currentTouch = &rounds;
    for (int b = 0; b < Bells; ++b) {
      bells.push_back(std::make_unique<Bell>(b, false));
      bells.back()->load(tower);
      bells.back()->start(b);
      bells.back()->state().time = b * Ringing().blowInterval;
    }

    constexpr double Duration = 3600.0;  // one simulated hour
    const auto began = std::chrono::steady_clock::now();
    for (double t = 0.1; t <= Duration; t += 0.1) {
      for (auto& bell : bells) {
        if (bell->state().stood) continue;
        while (bell->state().time < t && !bell->state().stood) {
          if (bell->advanceTo(t) & Bell::Struck) ++blows;
        }
      }
    }
    real = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    simulated = Duration;
    int standing = 0;
    for (auto& bell : bells) standing += bell->state().stood ? 1 : 0;
    Ringing().currentTouch = nullptr;
    std::printf("swing: %d bells, %.0f simulated s in %.3f real s, %ld blows, %d stood\n", Bells, simulated,
                real, blows, standing);
  }
  std::printf("swing: %.0f simulated seconds per real second\n", simulated / real);
  std::filesystem::remove_all(root);
  return 0;
}
