// Reads a recording of rounds (raw 16-bit little-endian stereo at 44100 Hz,
// as parec records a sink's monitor, or a WAV file of the same) and prints
// what is heard: the gaps, the blows found in the sound by each bell's own
// blow as the tower sounds it, and their striking against the even schedule
// that fits them best.
//
//   clangor-recorded-blows FILE DATA_DIR TOWER ROWS [AT_LEAST] [--blows]
//
// DATA_DIR ends in Orvanta/Clangor. With AT_LEAST it is a check: exit 0 when
// the recording carries sound and its first AT_LEAST blows are all found
// beyond doubt (LocatedBlow::sure), in time order; 1
// otherwise. --blows prints each blow found.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/sound_server/bell_blows.h"
#include "bench/sound_server/recorded_blows.h"

namespace {

constexpr double BlowSeconds = 4.0;

// The 16-bit samples of a raw recording, or of a WAV file's data chunk.
std::vector<std::int16_t> ReadSamples(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t start = 0;
  if (bytes.size() > 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0) {
    start = 12;
    while (start + 8 <= bytes.size() && std::memcmp(bytes.data() + start, "data", 4) != 0) {
      const auto* s = reinterpret_cast<const unsigned char*>(bytes.data() + start + 4);
      start += 8 + (s[0] | s[1] << 8 | s[2] << 16 | std::size_t(s[3]) << 24);
    }
    start += 8;
  }
  std::vector<std::int16_t> samples(bytes.size() > start ? (bytes.size() - start) / 2 : 0);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[start + 2 * i]) |
                                           static_cast<unsigned char>(bytes[start + 2 * i + 1]) << 8);
  return samples;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool listBlows = false;
  std::erase_if(args, [&](const std::string& a) { return a == "--blows" ? (listBlows = true) : false; });
  if (args.size() < 4) {
    std::fprintf(stderr, "usage: clangor-recorded-blows FILE DATA_DIR TOWER ROWS [AT_LEAST] [--blows]\n");
    return 2;
  }
  // The settings store finds the data folder as <common app data>/Orvanta/Clangor.
  const auto data = std::filesystem::weakly_canonical(args[1]);
  setenv("CLANGOR_COMMON_APPDATA", data.parent_path().parent_path().c_str(), 1);
  const auto bellBlows = clangor::bench::RenderBellBlows(args[2], BlowSeconds);
  if (bellBlows.empty()) {
    std::fprintf(stderr, "clangor-recorded-blows: no sound of tower \"%s\" in %s\n", args[2].c_str(), args[1].c_str());
    return 2;
  }
  const int bells = int(bellBlows.size());
  const std::vector<std::int16_t> stereo = ReadSamples(args[0].c_str());
  std::vector<float> left(stereo.size() / 2);
  for (std::size_t f = 0; f < left.size(); ++f) left[f] = stereo[2 * f];

  const auto silentStart = clangor::bench::FindGaps(stereo, 44100, 0);
  // Which stroke the first row heard is, is read from the sound: the
  // reading that finds more blows beyond doubt, then the closer striking.
  struct Reading {
    std::vector<clangor::bench::LocatedBlow> blows;
    std::vector<double> onsets;
    clangor::bench::StrikingFit fit;
    int sure = 0;
  };
  auto read = [&](bool handstrokeFirst) {
    Reading r;
    r.blows = clangor::bench::LocateRounds(left, bellBlows, std::atoi(args[3].c_str()),
                                           std::max(silentStart.firstSoundS - 0.01, 0.0), handstrokeFirst);
    for (const auto& b : r.blows) {
      r.onsets.push_back(b.seconds);
      r.sure += b.sure() ? 1 : 0;
    }
    r.fit = clangor::bench::FitRounds(r.onsets, bells, handstrokeFirst);
    return r;
  };
  const Reading backFirst = read(false), handFirst = read(true);
  const bool hand = handFirst.sure > backFirst.sure ||
                    (handFirst.sure == backFirst.sure && handFirst.fit.rmsMs < backFirst.fit.rmsMs);
  const Reading& reading = hand ? handFirst : backFirst;
  const auto& blows = reading.blows;
  double lastS = 0;
  int found = 0;
  for (const auto& b : blows)
    if (b.seconds >= 0) ++found, lastS = b.seconds;
  const auto gaps = clangor::bench::FindGaps(stereo, 44100, lastS);
  const auto& fit = reading.fit;
  if (listBlows)
    for (std::size_t k = 0; k < blows.size(); ++k)
      std::printf("blow %zu bell %zu: %.6f s (frame %.2f) match %.3f%s\n", k, k % bells + 1, blows[k].seconds,
                  blows[k].seconds * 44100, blows[k].match, blows[k].bestBell ? "" : " (another bell fits better)");
  std::printf("recording: %.1f s, sound from %.3f s; %d of %zu blows found (first row a %s); %d gaps (longest %.2f ms)\n",
              stereo.size() / 2 / 44100.0, gaps.firstSoundS, found, blows.size(), hand ? "handstroke" : "backstroke",
              gaps.gaps, gaps.longestGapMs);
  std::printf("striking from the recording against even rounds: interval %.2f ms, RMS %.3f ms, worst %.3f ms, "
              "drift %.3f ms a minute (%d blows)\n",
              fit.intervalMs, fit.rmsMs, fit.worstMs, fit.driftMsPerMinute, fit.blows);
  if (args.size() > 4) {
    const std::size_t first = std::min<std::size_t>(std::strtoul(args[4].c_str(), nullptr, 10), blows.size());
    bool inOrder = gaps.firstSoundS >= 0 && first > 0 && blows.size() >= first;
    for (std::size_t k = 0; k < first && inOrder; ++k)
      inOrder = blows[k].sure() && (k == 0 || blows[k].seconds > blows[k - 1].seconds);
    std::printf("check: %s\n", inOrder ? "sound arrived, the first blows found in order"
                                       : "NOT EVERY ONE OF THE FIRST BLOWS FOUND IN ORDER");
    return inOrder ? 0 : 1;
  }
  return 0;
}
