// Building a bell from its properties: every key, its conversion and its
// default, with the mending of data that cannot swing.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tower/bell.h"
#include "tower/picture_sequence.h"
#include "tower/tower.h"
#include "tower/tower_text.h"

namespace clangor {

namespace {

constexpr double Gravity = 9.81;
// 9.81 / (4 pi^2): a pendulum of period T seconds is T * T * this long.
constexpr double LengthPerSecondSquared = 0.24849;
// More pictures than any bell has; a larger ImageCount is cut to this.
constexpr int MaxImageCount = 1000;
// Stays further round than this would put the bell beyond a whole turn.
constexpr int MaxStayAngle = 27000;

int IntProperty(const Tower& tower, int bell, const char* key) {
  return ReadInt(tower.bellProperty(bell, key));
}

// A bell number (from 1) of the tower as an index, or -1.
int BellIndexProperty(const Tower& tower, int bell, const char* key, int fallback) {
  const std::string text = tower.bellProperty(bell, key);
  if (text.empty()) return fallback;
  // Bell numbers run from 1; 0 stands for any number outside the tower.
  const int number = ReadIntIn(text, 0, tower.bellCount() + 1);
  return number >= 1 && number <= tower.bellCount() ? number - 1 : -1;
}

}  // namespace

Bell::Bell(int index, bool manual) : manual_(manual), active_(!manual) {
  ownData_.index = index;
  ownData_.sourceBell = index + 1;
}

void Bell::load() {
  if (Tower* tower = Tower::Current()) load(*tower);
}

void Bell::load(Tower& tower) {
  if (manual_) return;  // a manual bell takes its partner's data
  BellData& d = ownData_;
  const int b = d.index;
  d.name = tower.bellProperty(b, "Name");
  d.sourceBell = b + 1;
  if (const int source = BellIndexProperty(tower, b, "SourceBell", b); source >= 0) {
    d.sourceBell = source + 1;
  }
  // The length goes with the square of the period, so a period written with
  // a sign is the same pendulum; a period of 0 makes none (the bell stays at rest).
  const double period = ReadReal(tower.bellProperty(b, "Period"));
  d.pendulumLength = period * period * LengthPerSecondSquared;
  d.wheelRadius = std::abs(ReadReal(tower.bellProperty(b, "WheelRadius")));
  d.x = IntProperty(tower, b, "XPos");
  d.y = IntProperty(tower, b, "YPos");
  d.width = IntProperty(tower, b, "Width");
  d.height = IntProperty(tower, b, "Height");
  d.handStrike = IntProperty(tower, b, "HandStrike");
  d.backStrike = IntProperty(tower, b, "BackStrike");
  d.setDelay = std::max(0, IntProperty(tower, b, "SetDelay"));
  d.beneath = BellIndexProperty(tower, b, "Beneath", -1);
  d.above = BellIndexProperty(tower, b, "Above", -1);
  d.maxPullAccel = Gravity * std::sin(IntProperty(tower, b, "MaxPull") * std::numbers::pi / 180.0);
  d.stepLength = std::numbers::pi / 18000.0 * d.pendulumLength * StepLengthDegrees;
  readSounds(tower);
  readPictures(tower);
  checkSwing();

  table_ = &tower.controlTable();
  towerBellCount_ = tower.bellCount();
  // A new bell is at rest on its stay, shown hanging down until it is raised.
  swing_ = SwingState{};
  swing_.angle = setAngle();
  pictureIndex_ = d.downIndex;
  picture_ = d.acwSequence.empty() ? 0 : d.acwSequence[static_cast<std::size_t>(d.downIndex)];
  picturesLoaded_.assign(static_cast<std::size_t>(d.imageCount), false);
  row_ = nullptr;
}

void Bell::reloadSounds() {
  if (Tower* tower = Tower::Current()) reloadSounds(*tower);
}

void Bell::reloadSounds(Tower& tower) {
  if (!manual_) readSounds(tower);
}

void Bell::readSounds(Tower& tower) {
  BellData& d = ownData_;
  const int b = d.index;
  d.openFile = tower.bellProperty(b, "OpenFile");
  d.openShift = IntProperty(tower, b, "OpenSemitoneShift");
  d.mutedFile = tower.bellProperty(b, "MuffledFile");
  d.mutedShift = IntProperty(tower, b, "MuffledSemitoneShift");
  // Without a muffled recording the open one sounds for muffled blows too.
  if (d.mutedFile.empty()) {
    d.mutedFile = d.openFile;
    d.mutedShift = d.openShift;
    tower.clearMuffledSounds();
  }
  const std::string correction = tower.bellProperty(b, "StrikingCorrection");
  d.strikingCorrection = correction.empty() ? 0.0 : ReadReal(correction);
}

void Bell::readPictures(const Tower& tower) {
  BellData& d = ownData_;
  const int b = d.index;
  d.imageCount = std::clamp(IntProperty(tower, b, "ImageCount"), 0, MaxImageCount);
  d.imageAngle.assign(static_cast<std::size_t>(d.imageCount), 0);
  for (int k = 0; k < d.imageCount; ++k) {
    d.imageAngle[static_cast<std::size_t>(k)] = IntProperty(tower, b, ("p" + std::to_string(k)).c_str());
  }
  d.cwCount = IntProperty(tower, b, "CWiseSeqCount");
  d.acwCount = IntProperty(tower, b, "ACWiseSeqCount");
  d.cwSequence = ParsePictureSequence(tower.bellProperty(b, "CWiseSeq"), d.cwCount, d.imageCount);
  d.acwSequence = ParsePictureSequence(tower.bellProperty(b, "ACWiseSeq"), d.acwCount, d.imageCount);
  // The hanging picture: the last acw picture that shows angle 0.
  d.downIndex = 0;
  for (std::size_t i = 0; i < d.acwSequence.size(); ++i) {
    if (d.imageAngle[static_cast<std::size_t>(d.acwSequence[i])] == 0) d.downIndex = static_cast<int>(i);
  }
}

// A bell swings only with a pendulum length and a stay on each side of the
// bottom (the set picture below 0, the other stay above it), each less than
// three quarters of a turn round.
void Bell::checkSwing() {
  BellData& d = ownData_;
  if (d.acwSequence.empty() || d.cwSequence.empty()) d.fault = "it has no pictures to swing through";
  else if (!(d.pendulumLength > 0)) d.fault = "its period is 0";
  else if (!std::isfinite(d.stepLength)) d.fault = "its period is too long to swing";
  else if (!(setAngle() < 0 && otherStayAngle() > 0 && setAngle() > -MaxStayAngle && otherStayAngle() < MaxStayAngle))
    d.fault = "its stays are not one on each side of the bottom";
  else d.fault.clear();
  d.canSwing = d.fault.empty();
}

int Bell::setAngle() const {
  const BellData& d = *data_;
  return d.acwSequence.empty() ? 0 : d.imageAngle[static_cast<std::size_t>(d.acwSequence.front())];
}

int Bell::otherStayAngle() const {
  const BellData& d = *data_;
  return d.cwSequence.empty() ? 0 : d.imageAngle[static_cast<std::size_t>(d.cwSequence.front())];
}

}  // namespace clangor
