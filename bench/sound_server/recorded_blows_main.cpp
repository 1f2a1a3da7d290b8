// Reads a recording of the bells (raw 16-bit little-endian stereo at
// 44100 Hz, as parec records a sink's monitor) and prints what is heard: the
// gaps, the blows found in the sound and, for rounds, their striking against
// the even schedule that fits them best.
//
//   clangor-recorded-blows FILE BELLS [AT_LEAST]
//
// With AT_LEAST it is a check: exit 0 when the recording carries sound and
// at least that many blows are found, 1 otherwise.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "bench/sound_server/recorded_blows.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: clangor-recorded-blows FILE BELLS [AT_LEAST]\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::int16_t> stereo(bytes.size() / 2);
  for (std::size_t i = 0; i < stereo.size(); ++i)
    stereo[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                          static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  const int bells = std::atoi(argv[2]);
  const auto found = clangor::bench::FindBlows(stereo, 44100);
  const auto fit = clangor::bench::FitRounds(found.onsets, bells);
  std::printf("recording: %.1f s, sound from %.3f s; %zu blows found; %d gaps (longest %.2f ms)\n",
              stereo.size() / 2 / 44100.0, found.firstSoundS, found.onsets.size(), found.gaps, found.longestGapMs);
  std::printf("striking from the recording against even rounds: interval %.2f ms, RMS %.3f ms, worst %.3f ms, "
              "drift %.3f ms a minute (%d blows)\n",
              fit.intervalMs, fit.rmsMs, fit.worstMs, fit.driftMsPerMinute, fit.blows);
  if (argc > 3) {
    const bool heard = found.firstSoundS >= 0 && found.onsets.size() >= std::size_t(std::atoi(argv[3]));
    std::printf("check: %s\n", heard ? "sound arrived, blows found" : "NOT ENOUGH SOUND");
    return heard ? 0 : 1;
  }
  return 0;
}
