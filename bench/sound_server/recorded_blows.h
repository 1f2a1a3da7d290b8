// The blows found in a recording of the bells, and the gaps in it: what a
// listener hears, read from the sound alone.
#pragma once

#include <cstdint>
#include <vector>

namespace clangor::bench {

struct RecordingFindings {
  std::vector<double> onsets;  // seconds from the start of the recording
  int gaps = 0;                // runs of digital silence while the bells sound
  double longestGapMs = 0;
  double firstSoundS = -1;     // where the recording first carries sound
};

// `stereo`: interleaved 16-bit frames at `rate`. A blow is where the
// strike's broadband click rises sharply over the sound before it; a gap is
// a run of at least `gapFrames` frames of exact zeros between the first
// sound and the last blow.
RecordingFindings FindBlows(const std::vector<std::int16_t>& stereo, std::uint32_t rate, int gapFrames = 8);

// The striking of `onsets`, one a blow of rounds on `bells` bells with an
// open handstroke lead, against the even schedule that fits them best.
struct StrikingFit {
  double rmsMs = 0, worstMs = 0, driftMsPerMinute = 0, intervalMs = 0;
  int blows = 0;
};
StrikingFit FitRounds(const std::vector<double>& onsets, int bells);

}  // namespace clangor::bench
