// A two-bell tower whose control table rings a bell steadily: every swing
// gives the speed at the strike that carries the bell to just short of the
// balance, with no rope terms, and the first swing is pushed off the stay.
#pragma once

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "engine/ringing_state.h"
#include "tests/tower/tower_fixture.h"
#include "tower/bell.h"
#include "tower/tower.h"

namespace clangor::testing {

inline constexpr int kHandStrike = 15000;
inline constexpr int kBackStrike = -15000;
inline constexpr int kSetAngle = -18500;
inline constexpr int kOtherStay = 18500;

// Pictures 0..6 at these angles; acw 0-6 rises through them, cw 6-0 falls.
inline const int kPictureAngles[] = {-18500, -17000, -9000, 0, 9000, 17000, 18500};

inline std::string BellSection(int number, const std::string& extra = "") {
  std::string text = "[" + std::to_string(number) + "]\n";
  text += "Name=Bell " + std::to_string(number) + "\n";
  text += "Period=2\nHandStrike=15000\nBackStrike=-15000\nMaxPull=90\n";
  text += "ImageCount=7\n";
  for (int k = 0; k < 7; ++k) text += "p" + std::to_string(k) + "=" + std::to_string(kPictureAngles[k]) + "\n";
  text += "ACWiseSeqCount=7\nACWiseSeq=0-6\nCWiseSeqCount=7\nCWiseSeq=6-0\n";
  text += "OpenFile=b" + std::to_string(number) + ".wav\n";
  return text + extra;
}

// The speed at the strike angle that carries a bell of `period` seconds to
// `turnDegrees` without rope.
inline double SpeedToTurnAt(double period, double turnDegrees) {
  const double length = period * period * 0.24849;
  const double strike = kHandStrike / 100.0 * std::numbers::pi / 180.0;
  const double turn = turnDegrees * std::numbers::pi / 180.0;
  return std::sqrt(2 * 9.81 * length * (std::cos(strike) - std::cos(turn)));
}

inline std::vector<double> SteadyTable(int bells, double swingSpeed) {
  std::vector<double> values(static_cast<std::size_t>(bells) * bells * 5460, 0.0);
  for (std::size_t row = 0; row + 60 <= values.size(); row += 60) {
    for (int i = 0; i <= 51; i += 3) values[row + i] = swingSpeed;  // R1 and R2 stay 0
    values[row + 55] = 2.0;  // pushes the bell off its stay over the balance
  }
  return values;
}

class BellTest : public TowerFolderTest {
 protected:
  void SetUp() override {
    TowerFolderTest::SetUp();
    Ringing().Reset();
  }
  void TearDown() override {
    bells_.clear();
    tower_.reset();
    settings_.reset();
    Ringing().Reset();
    TowerFolderTest::TearDown();
  }

  // Writes and loads the tower; bells 1 and 2 get `extra` keys.
  Tower& LoadTower(const std::string& extra = "", const std::vector<double>& table = {},
                   const std::string& sounds = "") {
    WriteFile("tower.txt", "[Tower]\nRAM=16\nSoundsFile=Set\n");
    WriteTable(2, 1, table.empty() ? SteadyTable(2, SpeedToTurnAt(2.0, 178.5)) : table);
    WriteFile("control.txt", "[Base Image]\nWidth=640\n\n" + BellSection(1, extra) + BellSection(2, extra));
    if (!sounds.empty()) WriteFile("sounds/Set.txt", sounds);
    settings_ = std::make_unique<SettingsStore>();
    tower_ = std::make_unique<Tower>("Test", *settings_);
    for (int i = 0; i < tower_->bellCount(); ++i) {
      bells_.push_back(std::make_unique<Bell>(i, false));
      bells_.back()->load(*tower_);
    }
    return *tower_;
  }

  Bell& bell(int i) { return *bells_.at(static_cast<std::size_t>(i)); }

  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<Tower> tower_;
  std::vector<std::unique_ptr<Bell>> bells_;
};

}  // namespace clangor::testing
