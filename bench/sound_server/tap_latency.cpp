// How long after a tap the own bell is heard: the sound card opened as the
// window opens it, a blow started at once (as a tap of the own bell starts
// one), and the delay from the tap to the blow's first sample as the device
// reckons where it is playing. Prints the device, then the delays.
//
//   clangor-bench-tap [TAPS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#include "sound/mixer.h"
#include "sound/sample_buffer.h"
#include "sound/sound_card.h"
#include "sound/underrun_watch.h"

int main(int argc, char** argv) {
  const int taps = argc > 1 ? std::max(std::atoi(argv[1]), 1) : 40;
  clangor::Mixer mixer;
  std::int32_t result = 0;
  auto device = clangor::OpenSoundCard(mixer, result);
  if (!device) {
    std::fprintf(stderr, "clangor-bench-tap: no sound device (0x%x)\n", static_cast<unsigned>(result));
    return 1;
  }
  std::printf("tap: %s\n", device->description().c_str());
  const auto click = mixer.createBuffer(clangor::MonoBuffer16(44100, std::vector<std::int16_t>(64, 8000)));
  std::this_thread::sleep_for(std::chrono::seconds(1));  // the device finds its place
  std::mt19937 random(3);
  std::uniform_int_distribution<int> apartMs(40, 160);
  std::vector<double> delaysMs;
  for (int t = 0; t < taps; ++t) {
    std::this_thread::sleep_for(std::chrono::milliseconds(apartMs(random)));
    const std::uint64_t before = mixer.buffersStarted();
    const std::int64_t tapNs = clangor::SteadyNs();
    mixer.playFromStart(click);
    while (mixer.buffersStarted() == before) std::this_thread::sleep_for(std::chrono::microseconds(200));
    const double played = device->playedFrameAt(tapNs);
    if (played < 0) continue;
    delaysMs.push_back((static_cast<double>(mixer.lastStartFrame(click)) - played) * 1000.0 / mixer.OutputRate);
  }
  if (delaysMs.empty()) {
    std::printf("tap: the device does not say where it is playing\n");
    return 0;
  }
  std::sort(delaysMs.begin(), delaysMs.end());
  double sum = 0;
  for (double d : delaysMs) sum += d;
  std::printf("tap: own bell heard %.1f ms after the tap on average, %.1f to %.1f ms (%zu taps); blows %.1f ms "
              "after their instants; %s\n",
              sum / delaysMs.size(), delaysMs.front(), delaysMs.back(), delaysMs.size(), device->latencyMs(),
              device->description().c_str());
  return 0;
}
