#include "bench/sound_server/recorded_blows.h"

#include <algorithm>
#include <cmath>

namespace clangor::bench {

namespace {

constexpr int Block = 64;            // frames: about 1.5 ms
constexpr int History = 16;          // blocks the rise is measured against
constexpr double Rise = 6.0;         // the click's energy over the sound before
constexpr double MinApartS = 0.06;   // two blows of a touch are further apart

// The left channel's first difference: the bells' partials are slow beside
// the click of the strike.
std::vector<double> Clicks(const std::vector<std::int16_t>& stereo) {
  std::vector<double> d(stereo.size() / 2, 0.0);
  for (std::size_t f = 1; f < d.size(); ++f) d[f] = double(stereo[2 * f]) - double(stereo[2 * f - 2]);
  return d;
}

}  // namespace

RecordingFindings FindBlows(const std::vector<std::int16_t>& stereo, std::uint32_t rate, int gapFrames) {
  RecordingFindings found;
  const std::vector<double> d = Clicks(stereo);
  const std::size_t blocks = d.size() / Block;
  std::vector<double> energy(blocks, 0.0);
  for (std::size_t b = 0; b < blocks; ++b)
    for (int i = 0; i < Block; ++i) energy[b] += d[b * Block + i] * d[b * Block + i];
  double lastOnset = -1;
  for (std::size_t b = History; b < blocks; ++b) {
    double before = 0;
    for (std::size_t k = b - History; k < b; ++k) before += energy[k];
    before /= History;
    if (energy[b] < 1e5 || energy[b] < Rise * before) continue;
    // The first sample of the block (or the one before it) that stands out.
    const double floor = std::sqrt(before / Block) * 4 + 20;
    std::size_t at = (b - 1) * Block;
    while (at < (b + 1) * Block && std::abs(d[at]) < floor) ++at;
    const double t = double(at) / rate;
    if (lastOnset >= 0 && t - lastOnset < MinApartS) continue;
    found.onsets.push_back(t);
    lastOnset = t;
  }
  // Digital silence inside the touch.
  std::size_t first = 0;
  while (first < d.size() && stereo[2 * first] == 0 && stereo[2 * first + 1] == 0) ++first;
  if (first < d.size()) found.firstSoundS = double(first) / rate;
  const std::size_t end = found.onsets.empty() ? first : std::size_t(found.onsets.back() * rate);
  std::size_t run = 0;
  for (std::size_t f = first; f < end; ++f) {
    if (stereo[2 * f] == 0 && stereo[2 * f + 1] == 0) {
      ++run;
      continue;
    }
    if (run >= std::size_t(gapFrames)) {
      ++found.gaps;
      found.longestGapMs = std::max(found.longestGapMs, run * 1000.0 / rate);
    }
    run = 0;
  }
  return found;
}

// Blow k of rounds on n bells falls at place k % n of row k / n; each
// handstroke row (the even ones) follows one extra interval of gap.
StrikingFit FitRounds(const std::vector<double>& onsets, int bells) {
  StrikingFit fit;
  const std::size_t n = onsets.size();
  if (n < 3 || bells < 2) return fit;
  std::vector<double> slot(n);
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t row = k / bells;
    slot[k] = double(k) + double((row + 1) / 2);
  }
  // Least squares: onset = t0 + slot * interval.
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (std::size_t k = 0; k < n; ++k) {
    sx += slot[k];
    sy += onsets[k];
    sxx += slot[k] * slot[k];
    sxy += slot[k] * onsets[k];
  }
  const double interval = (n * sxy - sx * sy) / (n * sxx - sx * sx);
  const double t0 = (sy - interval * sx) / n;
  double sum2 = 0, worst = 0, st = 0, se = 0, stt = 0, ste = 0;
  for (std::size_t k = 0; k < n; ++k) {
    const double e = onsets[k] - (t0 + slot[k] * interval);
    sum2 += e * e;
    worst = std::max(worst, std::abs(e));
    st += onsets[k];
    se += e;
    stt += onsets[k] * onsets[k];
    ste += onsets[k] * e;
  }
  fit.blows = int(n);
  fit.intervalMs = interval * 1000;
  fit.rmsMs = std::sqrt(sum2 / n) * 1000;
  fit.worstMs = worst * 1000;
  // The error's own trend against time: how the striking moves over the touch.
  fit.driftMsPerMinute = (n * ste - st * se) / (n * stt - st * st) * 1000 * 60;
  return fit;
}

}  // namespace clangor::bench
