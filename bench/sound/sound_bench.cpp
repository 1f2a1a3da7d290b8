// Two scenarios of the sound part:
//  blow latency  - a one-bell tower in a temporary data folder rung through
//                  TowerSound on the sound device (the card when there is one,
//                  else SDL's dummy driver): the time from soundBlow to the
//                  render that mixes the blow's first sample, in ms and frames.
//  voices        - how many buffers the mixer mixes in real time on one core:
//                  blows at assorted frequencies, rendered offline; each
//                  recording resampled once for its pitch as the bells' are
//                  (and, for comparison, interpolated as it plays).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "shell/settings_store.h"
#include "sound/mixer.h"
#include "sound/offline_render.h"
#include "sound/sdl_sound_device.h"
#include "sound/tower_sound.h"
#include "sound/wave_writer.h"
#include "tower/bell.h"
#include "tower/tower.h"

namespace {

using namespace clangor;
namespace fs = std::filesystem;

// A bell-like tone: a few decaying partials.
std::vector<std::int16_t> BellTone(std::uint32_t rate, double seconds, double hum) {
  std::vector<std::int16_t> tone(static_cast<std::size_t>(rate * seconds));
  const double partials[][2] = {{0.5, 0.3}, {1.0, 0.35}, {1.2, 0.2}, {1.5, 0.1}, {2.0, 0.05}};
  for (std::size_t i = 0; i < tone.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    double v = 0;
    for (const auto& p : partials) v += p[1] * std::sin(2 * std::numbers::pi * hum * 2 * p[0] * t) * std::exp(-t * 2 * p[0]);
    tone[i] = static_cast<std::int16_t>(v * 30000);
  }
  return tone;
}

void WriteText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

void WriteTone(const fs::path& path, std::uint32_t rate, double seconds) {
  fs::create_directories(path.parent_path());
  const auto tone = BellTone(rate, seconds, 440);
  WriteWaveFile(path.string(), tone.data(), tone.size(), 1, rate);
}

// A one-bell tower: its control table, its sound set and its recording.
void WriteBenchTower(const fs::path& data) {
  const fs::path tower = data / "Towers" / "XII" / "Bench";
  WriteText(tower / "tower.txt", "[Tower]\nSoundsFile=Set\n");
  WriteText(tower / "sounds" / "Set.txt", "[Recordings]\nSource=Bench\n\n[1]\nOpenFile=bell.wav\n");
  std::ofstream table(tower / "control.cld", std::ios::binary);
  const std::int32_t header[2] = {1, 1};
  table.write(reinterpret_cast<const char*>(header), sizeof header);
  const std::vector<double> values(5460, 0.0);
  table.write(reinterpret_cast<const char*>(values.data()), static_cast<std::streamsize>(values.size() * 8));
  table.close();
  WriteTone(data / "Recordings" / "Bench" / "bell.wav", 44100, 1.0);
  const std::vector<std::int16_t> quiet(441, 0);
  fs::create_directories(data / "Program Stuff");
  WriteWaveFile((data / "Program Stuff" / "quiet.wav").string(), quiet.data(), quiet.size(), 1, 44100);
}

void BlowLatency() {
  const fs::path root = fs::temp_directory_path() / "clangor_bench_sound";
  fs::remove_all(root);
  setenv("CLANGOR_COMMON_APPDATA", root.c_str(), 1);
  setenv("CLANGOR_REGISTRY_DIR", (root / "registry").c_str(), 1);
  WriteBenchTower(root / "Orvanta" / "Clangor");
  {
    SettingsStore settings;
    Tower tower("Bench", settings);
    std::vector<Bell> bells;
    bells.reserve(1);
    bells.emplace_back(0, false);
    bells[0].load(tower);
    TowerSound sound(settings, tower, OpenSdlSoundDevice);
    sound.setBells(bells);
    if (sound.openSound() != 0 || !sound.isOpen()) {
      // No card: the dummy driver pulls periods at the same pace.
      setenv("SDL_AUDIODRIVER", "dummy", 1);
      if (sound.openSound() != 0 || !sound.isOpen()) {
        std::printf("blow latency: no sound device\n");
        return;
      }
    }
    if (sound.loadBellSounds(0) != 0) {
      std::printf("blow latency: the bell did not load\n");
      return;
    }
    const Mixer& mixer = sound.mixer();
    constexpr int Blows = 300;
    std::vector<double> ms;
    std::uint32_t seed = 12345;
    for (int n = 0; n < Blows; ++n) {
      seed = seed * 1664525u + 1013904223u;
      std::this_thread::sleep_for(std::chrono::microseconds(1000 + seed % 11000));
      const std::uint64_t started = mixer.buffersStarted();
      const auto t0 = std::chrono::steady_clock::now();
      sound.soundBlow(0, true);
      while (mixer.buffersStarted() == started) std::this_thread::yield();
      ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    double mean = 0;
    for (const double v : ms) mean += v;
    mean /= ms.size();
    const double frameMs = 1000.0 / Mixer::OutputRate;
    const auto print = [&](const char* what, double v) {
      std::printf("  %-6s %7.2f ms  %6.0f frames\n", what, v, v / frameMs);
    };
    std::printf("blow latency (%s, %d frames a period, %d blows): soundBlow to the render that mixes its first sample\n",
                sound.device()->name().c_str(), sound.device()->framesPerPeriod(), Blows);
    print("min", ms.front());
    print("mean", mean);
    print("median", ms[ms.size() / 2]);
    print("p99", ms[ms.size() * 99 / 100]);
    print("max", ms.back());
    std::printf("  then one period in the device: %.2f ms\n", sound.device()->framesPerPeriod() * frameMs);
  }
  fs::remove_all(root);
}

void Voices(int channels, bool interpolated) {
  constexpr int Voices = 64;
  constexpr double AudioSeconds = 20.0;
  Mixer mixer(Voices);
  const auto tone = BellTone(44100, 2.0, 330);
  std::vector<Mixer::BufferId> ids;
  for (int v = 0; v < Voices; ++v) {
    SampleBuffer buffer = MonoBuffer16(44100, tone);
    if (channels == 2) {
      SampleBuffer stereo;
      stereo.channels = 2;
      stereo.sampleRate = 44100;
      for (const float s : buffer.samples) {
        stereo.samples.push_back(s);
        stereo.samples.push_back(-s);
      }
      buffer = std::move(stereo);
    }
    const Mixer::BufferId id = mixer.createBuffer(std::move(buffer));
    // Eighteen bells' worth of pitches, none at the output rate.
    const auto hertz = static_cast<std::uint32_t>(44100 * std::pow(2.0, (v % 18 - 9.5) / 12.0));
    if (interpolated) mixer.setFrequency(id, hertz);
    else mixer.resampleTo(id, hertz);
    mixer.setVolume(id, -600 - 100 * (v % 10));
    mixer.playFromStart(id);
    ids.push_back(id);
  }
  OfflineRender render(mixer);
  const auto periods = static_cast<long>(AudioSeconds * Mixer::OutputRate / Mixer::MaxFramesPerPeriod);
  std::vector<std::int16_t> out(Mixer::MaxFramesPerPeriod * 2);
  long sounding = 0;  // voice periods actually mixed
  const std::clock_t start = std::clock();
  for (long p = 0; p < periods; ++p) {
    mixer.render(out.data(), Mixer::MaxFramesPerPeriod);
    for (const Mixer::BufferId id : ids) {
      if (mixer.isPlaying(id)) ++sounding;
      else mixer.playFromStart(id);  // every voice sounds all the time
    }
  }
  const double cpu = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  const double audio = static_cast<double>(periods) * Mixer::MaxFramesPerPeriod / Mixer::OutputRate;
  const double voices = static_cast<double>(sounding) / static_cast<double>(periods);
  std::printf("voices (%s, %s): %.1f voices on average, %.1f s of audio in %.3f s of CPU: "
              "%.0f voices in real time per core\n",
              channels == 2 ? "stereo" : "mono", interpolated ? "interpolated as played" : "resampled when pitched",
              voices, audio, cpu, voices * audio / cpu);
}

}  // namespace

int main() {
  Voices(1, false);
  Voices(2, false);
  Voices(1, true);
  Voices(2, true);
  BlowLatency();
  return 0;
}
