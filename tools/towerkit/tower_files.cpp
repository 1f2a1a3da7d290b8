#include "tools/towerkit/tower_files.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace clangor::towerkit {

namespace {

std::string Line(const std::string& key, const std::string& value) { return key + "=" + value + "\n"; }
std::string Line(const std::string& key, int value) { return Line(key, std::to_string(value)); }

// Reals with enough digits to say what the definition says, and no more.
std::string Real(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", value);
  return text;
}

}  // namespace

int PictureMemoryMegabytes(const TowerDefinition& tower, const TowerLayout& layout) {
  const std::size_t pictures = PictureAngles(tower).size();
  double bytes = 4.0 * layout.width * layout.height;
  bytes += 8.0 * layout.surprise.w * layout.surprise.h;
  for (const Box& box : layout.bells) bytes += 4.0 * box.w * box.h * (static_cast<double>(pictures) + 1.0);
  return static_cast<int>(bytes / (1 << 20)) + 1;
}

std::string TowerText(const TowerDefinition& tower, const TowerLayout& layout) {
  std::string text = "[Tower]\n";
  text += Line("ImagesTower", tower.name);
  text += Line("SoundsFile", tower.soundsFile);
  text += Line("TenorKey", tower.tenorKey);
  text += Line("SemitoneShift", "0");
  text += Line("RAM", PictureMemoryMegabytes(tower, layout));
  text += Line("PealMins", tower.pealMins);
  text += Line("HalfMuffled", 0);
  text += Line("WholePullChanges", 0);
  text += Line("RememberMufflesAndWholePulls", 0);
  text += "\n[Rings]\n";
  for (const auto& [name, pattern] : tower.rings) text += Line(name, pattern);
  text += "\n[Other Rings]\n";
  for (const auto& [name, pattern] : tower.otherRings) text += Line(name, pattern);
  text += "\n[Bell Names]\n";
  for (const BellDefinition& bell : tower.bells) text += Line(std::to_string(bell.number), bell.name);
  // The bells set one after another, in place order, as a band sets them.
  text += "\n[Set Delays]\n";
  for (const BellDefinition& bell : tower.bells) text += Line(std::to_string(bell.number), 0);
  return text;
}

std::string ControlText(const TowerDefinition& tower, const TowerLayout& layout) {
  std::string text = "[Base Image]\n";
  text += Line("Width", layout.width);
  text += Line("Height", layout.height);
  text += Line("MinWidth", layout.minWidth);
  text += Line("MinHeight", layout.minHeight);
  text += Line("SurpriseX", layout.surprise.x);
  text += Line("SurpriseY", layout.surprise.y);
  text += Line("SurpriseW", layout.surprise.w);
  text += Line("SurpriseH", layout.surprise.h);
  const std::vector<int> angles = PictureAngles(tower);
  const int last = static_cast<int>(angles.size()) - 1;
  const int count = static_cast<int>(tower.bells.size());
  for (int b = 0; b < count; ++b) {
    const BellDefinition& bell = tower.bells[static_cast<std::size_t>(b)];
    const Box& box = layout.bells[static_cast<std::size_t>(b)];
    text += "\n[" + std::to_string(bell.number) + "]\n";
    text += Line("Period", Real(bell.period));
    text += Line("WheelRadius", Real(bell.wheelRadius));
    text += Line("MaxPull", bell.maxPull);
    text += Line("HandStrike", tower.handStrike);
    text += Line("BackStrike", tower.backStrike);
    text += Line("XPos", box.x);
    text += Line("YPos", box.y);
    text += Line("Width", box.w);
    text += Line("Height", box.h);
    const int source = layout.sourceBell[static_cast<std::size_t>(b)];
    if (source != bell.number) text += Line("SourceBell", source);
    // A lower tier's first bell hangs under the upper tier's last and is
    // drawn in front of it.
    const int tier = layout.tierOf[static_cast<std::size_t>(b)];
    if (b > 0 && layout.tierOf[static_cast<std::size_t>(b - 1)] == tier - 1) text += Line("Above", b);
    if (b + 1 < count && layout.tierOf[static_cast<std::size_t>(b + 1)] == tier + 1) text += Line("Beneath", b + 2);
    text += Line("ImageCount", last + 1);
    for (int k = 0; k <= last; ++k) text += Line("p" + std::to_string(k), angles[static_cast<std::size_t>(k)]);
    text += Line("ACWiseSeqCount", last + 1);
    text += Line("ACWiseSeq", "0-" + std::to_string(last));
    text += Line("CWiseSeqCount", last + 1);
    text += Line("CWiseSeq", std::to_string(last) + "-0");
  }
  return text;
}

std::string OpenRecordingName(int bellNumber) {
  char name[32];
  std::snprintf(name, sizeof name, "bell%02d.wav", bellNumber);
  return name;
}

std::string MuffledRecordingName(int bellNumber) {
  char name[32];
  std::snprintf(name, sizeof name, "bell%02dm.wav", bellNumber);
  return name;
}

std::string SoundSetText(const TowerDefinition& tower, const SoundSetDefinition& set) {
  std::string text = "[Recordings]\n" + Line("Source", set.source);
  for (const BellDefinition& bell : tower.bells) {
    text += "\n[" + std::to_string(bell.number) + "]\n";
    text += Line("OpenFile", OpenRecordingName(bell.number));
    text += Line("MuffledFile", MuffledRecordingName(bell.number));
    text += Line("OpenSemitoneShift", 0);
    text += Line("MuffledSemitoneShift", 0);
    // The recordings start at the blow itself.
    text += Line("StrikingCorrection", "0.0");
  }
  return text;
}

void WriteTextFile(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace clangor::towerkit
