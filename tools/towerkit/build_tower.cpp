#include "tools/towerkit/build_tower.h"

#include <memory>
#include <vector>

#include "shell/settings_store.h"
#include "tools/towerkit/bell_layout.h"
#include "tools/towerkit/bell_sound.h"
#include "tools/towerkit/tower_files.h"
#include "tools/towerkit/wave_writer.h"
#include "tower/bell.h"
#include "tower/control_table.h"
#include "tower/tower.h"

namespace clangor::towerkit {

std::filesystem::path TowerFolder(const std::filesystem::path& dataFolder, const std::string& name) {
  return dataFolder / "Towers" / "XII" / name;
}

void WriteTowerFiles(const TowerDefinition& tower, const std::filesystem::path& dataFolder) {
  const TowerLayout layout = LayoutTower(tower);
  const auto folder = TowerFolder(dataFolder, tower.name);
  WriteTextFile(folder / "tower.txt", TowerText(tower, layout));
  WriteTextFile(folder / "control.txt", ControlText(tower, layout));
  for (const SoundSetDefinition& set : tower.soundSets) {
    WriteTextFile(folder / "sounds" / (set.name + ".txt"), SoundSetText(tower, set));
  }
}

SolveReport SolveTower(const TowerDefinition& tower, const std::filesystem::path& dataFolder) {
  const int count = static_cast<int>(tower.bells.size());
  const auto cld = TowerFolder(dataFolder, tower.name) / "control.cld";
  // The loader takes the bell count from the table: an empty table of the
  // right size first, so that the bells load.
  WriteControlFile(cld.string(), count, std::vector<double>(static_cast<std::size_t>(count) * count * ControlBlock));
  SolveReport report;
  std::vector<double> values;
  {
    SettingsStore settings;
    Tower loaded(tower.name, settings);
    std::vector<std::unique_ptr<Bell>> bells;
    std::vector<Bell*> pointers;
    for (int b = 0; b < loaded.bellCount(); ++b) {
      bells.push_back(std::make_unique<Bell>(b, false));
      bells.back()->load(loaded);
      pointers.push_back(bells.back().get());
    }
    values = SolveControlTable(pointers, report);
  }
  WriteControlFile(cld.string(), count, values);
  return report;
}

void WriteRecordings(const TowerDefinition& tower, const std::filesystem::path& dataFolder) {
  for (const SoundSetDefinition& set : tower.soundSets) {
    const auto folder = dataFolder / "Recordings" / set.source;
    for (const BellDefinition& bell : tower.bells) {
      WriteWaveFile(folder / OpenRecordingName(bell.number), SynthesiseBell(bell, false, set.style));
      WriteWaveFile(folder / MuffledRecordingName(bell.number), SynthesiseBell(bell, true, set.style));
    }
  }
}

}  // namespace clangor::towerkit
