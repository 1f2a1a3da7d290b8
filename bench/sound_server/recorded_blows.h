// The blows found in a recording of the bells, and the gaps in it: what a
// listener hears, read from the sound alone.
#pragma once

#include <cstdint>
#include <vector>

namespace clangor::bench {

struct RecordingGaps {
  int gaps = 0;             // runs of digital silence while the bells sound
  double longestGapMs = 0;
  double firstSoundS = -1;  // where the recording first carries sound
};

// `stereo`: interleaved 16-bit frames at `rate`. A gap is a run of at least
// `gapFrames` frames of exact zeros between the first sound and `endS`.
RecordingGaps FindGaps(const std::vector<std::int16_t>& stereo, std::uint32_t rate, double endS, int gapFrames = 8);

// One blow located in the recording.
struct LocatedBlow {
  double seconds = -1;  // from the start of the recording; -1 when not found
  double match = 0;     // how well the bell's own blow fits there, 0 to 1
  bool bestBell = false;  // no other bell's blow fits that place better
  // Found beyond doubt: its own bell's blow, and fitting well (a bell
  // sounding in another's place leaves a poor fit near it).
  bool sure() const { return seconds >= 0 && bestBell && match >= 0.7; }
};

// Finds the blows of rounds on the first `bellBlows.size()` bells (the treble
// first), `rows` rows with an open handstroke lead, in `left` (one channel of
// the recording at 44100 Hz). Each bell's own blow (RenderBellBlows) is
// matched against the recording near where the even schedule of the blows
// found so far expects it, the best fit taken to the sample, and the blow
// then subtracted so that it does not hide the next. The first blow is
// sought from `fromS`. `handstrokeFirst`: the first row heard is a
// handstroke (else a backstroke, the gap coming after it).
std::vector<LocatedBlow> LocateRounds(std::vector<float> left, const std::vector<std::vector<float>>& bellBlows,
                                      int rows, double fromS, bool handstrokeFirst = false);

// The place of blow k of rounds on n bells in blow intervals: each handstroke
// row follows one extra interval of gap; the first row heard is a backstroke
// unless `handstrokeFirst`.
double RoundsSlot(std::size_t blow, int bells, bool handstrokeFirst = false);

// The striking of `onsets`, one a blow of rounds on `bells` bells with an
// open handstroke lead, against the even schedule that fits them best.
struct StrikingFit {
  double rmsMs = 0, worstMs = 0, driftMsPerMinute = 0, intervalMs = 0;
  int blows = 0;
};
StrikingFit FitRounds(const std::vector<double>& onsets, int bells, bool handstrokeFirst = false);

}  // namespace clangor::bench
