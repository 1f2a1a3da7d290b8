#include "bench/sound_server/bell_blows.h"

#include "shell/settings_store.h"
#include "sound/offline_render.h"
#include "sound/tower_sound.h"
#include "tower/bell.h"
#include "tower/tower.h"

namespace clangor::bench {

std::vector<std::vector<float>> RenderBellBlows(const std::string& towerName, double seconds) {
  std::vector<std::vector<float>> blows;
  SettingsStore settings(SettingsStore::Access::ReadOnly);
  Tower tower(towerName, settings);
  if (tower.bellCount() <= 0) return blows;
  std::vector<Bell> bells;
  bells.reserve(static_cast<std::size_t>(tower.bellCount()));
  for (int b = 0; b < tower.bellCount(); ++b) bells.emplace_back(b, false);
  for (Bell& bell : bells) bell.load(tower);
  OfflineRender* render = nullptr;
  TowerSound sound(settings, tower, OfflineRender::Opener(render));
  sound.setBells(bells);
  sound.refreshSettings();
  if (sound.openSound() != 0) return blows;
  const auto frames = static_cast<std::uint64_t>(seconds * Mixer::OutputRate);
  // Past the warm-up, then each bell alone with silence on either side.
  render->renderFrames(Mixer::OutputRate);
  for (int b = 0; b < tower.bellCount(); ++b) {
    if (sound.loadBellSounds(b) != 0) return {};
    const Mixer::BufferId buffer = sound.blowBuffer(b, false);
    if (buffer == Mixer::NoBuffer) return {};
    const std::size_t from = render->samples().size();
    sound.mixer().playFromStart(buffer);
    render->renderFrames(frames);
    sound.mixer().stop(buffer);
    render->renderFrames(Mixer::MaxFramesPerPeriod);
    std::vector<float> left(frames);
    for (std::size_t f = 0; f < frames; ++f) left[f] = render->samples()[from + 2 * f];
    blows.push_back(std::move(left));
  }
  return blows;
}

}  // namespace clangor::bench
