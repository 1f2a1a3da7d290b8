#include "bench/sound_server/recorded_blows.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace clangor::bench {

namespace {

constexpr double Rate = 44100;
// The strike and the first partials: where one bell's blow differs most
// from another's, and short enough that the next blow seldom reaches it.
constexpr std::size_t MatchFrames = 1024;
// Below this the place is taken for silence, not a blow.
constexpr double LeastMatch = 0.3;
// Where the first blow is sought, and the second once the first is found.
constexpr double FirstSearchS = 5.0;
constexpr double SecondSearchS = 1.5;
// Later blows are sought from this share of an interval before where the
// schedule of the blows found so far expects them (never before the blow
// found last) to this share after: a blow heard late is more common than
// one heard early.
constexpr double ReachEarly = 0.6;
constexpr double ReachLate = 0.9;
struct Fit {
  std::ptrdiff_t frame = -1;
  double score = 0;
};

// How well `blow` (its first MatchFrames) fits `left` from frame `at`, 0 to
// 1: the correlation, with a floor under the recording's energy so that
// near-silence never fits.
double Score(const std::vector<float>& left, const std::vector<float>& blow, std::ptrdiff_t at, double blowEnergy) {
  if (at < 0 || std::size_t(at) + MatchFrames > left.size()) return 0;
  double dot = 0, energy = 0;
  for (std::size_t i = 0; i < MatchFrames; ++i) {
    const double r = left[std::size_t(at) + i];
    dot += r * blow[i];
    energy += r * r;
  }
  return dot / std::sqrt(blowEnergy * (energy + 1e-3 * blowEnergy));
}

double Energy(const std::vector<float>& blow) {
  double e = 0;
  for (std::size_t i = 0; i < MatchFrames; ++i) e += double(blow[i]) * blow[i];
  return std::max(e, 1.0);
}

Fit BestFit(const std::vector<float>& left, const std::vector<float>& blow, double fromS, double toS) {
  const double blowEnergy = Energy(blow);
  Fit best;
  const auto from = std::max<std::ptrdiff_t>(0, std::ptrdiff_t(std::floor(fromS * Rate)));
  const auto to = std::ptrdiff_t(std::ceil(toS * Rate));
  for (std::ptrdiff_t at = from; at <= to; ++at) {
    const double s = Score(left, blow, at, blowEnergy);
    if (s > best.score) best = {at, s};
  }
  return best;
}

// The gain the blow sounds with at `at`, and the blow taken out of the
// recording from its `fromFrame` up to `toFrame`.
double GainAt(const std::vector<float>& left, const std::vector<float>& blow, std::ptrdiff_t at) {
  double dot = 0;
  for (std::size_t i = 0; i < MatchFrames && std::size_t(at) + i < left.size(); ++i) dot += left[std::size_t(at) + i] * blow[i];
  return dot / Energy(blow);
}

void Subtract(std::vector<float>& left, const std::vector<float>& blow, std::ptrdiff_t at, double gain,
              std::size_t fromFrame, std::size_t toFrame) {
  toFrame = std::min(toFrame, blow.size());
  for (std::size_t i = fromFrame; i < toFrame && std::size_t(at) + i < left.size(); ++i)
    left[std::size_t(at) + i] -= float(gain * blow[i]);
}

// The three scores about the best frame, for the blow's place between samples.
double Refine(const std::vector<float>& left, const std::vector<float>& blow, std::ptrdiff_t at) {
  const double e = Energy(blow);
  const double a = Score(left, blow, at - 1, e), b = Score(left, blow, at, e), c = Score(left, blow, at + 1, e);
  const double curve = a - 2 * b + c;
  const double shift = curve < 0 ? std::clamp(0.5 * (a - c) / curve, -0.5, 0.5) : 0.0;
  return (double(at) + shift) / Rate;
}

bool NoBetterBell(const std::vector<float>& left, const std::vector<std::vector<float>>& bellBlows, std::size_t bell,
                  std::ptrdiff_t at, double own) {
  for (std::size_t other = 0; other < bellBlows.size(); ++other) {
    if (other == bell) continue;
    const double e = Energy(bellBlows[other]);
    for (std::ptrdiff_t d = -3; d <= 3; ++d)
      if (Score(left, bellBlows[other], at + d, e) > own) return false;
  }
  return true;
}

// A run of exact silence this long while the bells sound is a gap: the
// stream ran dry. After it the server carries on where it stopped, or
// further on (it played the silence in place of some of the stream), or
// anywhere between: how much was lost is read from the bells' sound.
constexpr std::size_t GapFrames = 8;
// How much of the sound after a gap is matched to tell how much was lost.
constexpr std::size_t GapMatchFrames = 2048;

struct Gap {
  std::size_t frame = 0;   // in the recording
  std::size_t frames = 0;
};

// Where a gap was taken out of the recording: at `frame` of what is left,
// `removed` frames in all up to there.
struct Cut {
  std::size_t frame = 0;
  std::size_t removed = 0;
};

std::vector<Gap> FindGapsIn(const std::vector<float>& left) {
  std::vector<Gap> gaps;
  std::size_t f = 0;
  while (f < left.size() && left[f] == 0.0f) ++f;
  while (f < left.size()) {
    std::size_t run = 0;
    while (f + run < left.size() && left[f + run] == 0.0f) ++run;
    if (run >= GapFrames && f + run < left.size()) gaps.push_back({f, run});
    f += std::max<std::size_t>(run, 1);
  }
  return gaps;
}

// Each bell's last blow found, taken out of the recording as far as `doneTo`
// frames of it: it sounds until the bell is struck again.
struct Sounding {
  std::ptrdiff_t at = -1;
  double gain = 0;
  std::size_t doneTo = 0;
};

// How many frames of the stream a gap of `frames` at `at` took: the bells
// sounding across it, their sound carried on that much further, fit the
// sound after it best.
std::size_t FramesLost(const std::vector<float>& left, const std::vector<std::vector<float>>& bellBlows,
                       const std::vector<Sounding>& sounding, std::size_t at, std::size_t frames) {
  const std::size_t after = at + frames;
  const std::size_t span = std::min(GapMatchFrames, left.size() - after);
  std::size_t best = 0;
  double bestError = -1;
  for (std::size_t lost = 0; lost <= frames; ++lost) {
    double error = 0;
    for (std::size_t i = 0; i < span; ++i) {
      double heard = left[after + i];
      for (std::size_t bell = 0; bell < sounding.size(); ++bell) {
        const Sounding& s = sounding[bell];
        if (s.at < 0) continue;
        // A blow found after the gap sounds where it was found.
        const std::size_t from = std::size_t(s.at) >= after ? after : at + lost;
        const std::ptrdiff_t k = std::ptrdiff_t(from + i) - s.at;
        if (k >= 0 && std::size_t(k) < bellBlows[bell].size()) heard -= s.gain * bellBlows[bell][std::size_t(k)];
      }
      error += heard * heard;
    }
    if (bestError < 0 || error < bestError) bestError = error, best = lost;
  }
  return best;
}

// Where a place in the recording without its gaps was heard: the gaps before it
// put back.
double HeardAt(const std::vector<Cut>& cuts, double seconds) {
  std::size_t removed = 0;
  for (const Cut& c : cuts)
    if (double(c.frame) <= seconds * Rate + 0.5) removed = c.removed;
  return seconds + double(removed) / Rate;
}

}  // namespace

double RoundsSlot(std::size_t blow, int bells, bool handstrokeFirst) {
  const std::size_t row = blow / std::size_t(bells);
  return double(blow) + double((row + (handstrokeFirst ? 0 : 1)) / 2);
}

std::vector<LocatedBlow> LocateRounds(std::vector<float> left, const std::vector<std::vector<float>>& bellBlows,
                                      int rows, double fromS, bool handstrokeFirst) {
  const int n = int(bellBlows.size());
  std::vector<LocatedBlow> found(std::size_t(std::max(rows, 0) * n));
  for (const auto& blow : bellBlows)
    if (blow.size() < MatchFrames) return found;
  const std::vector<Gap> gaps = FindGapsIn(left);
  std::size_t gapsDone = 0;
  std::vector<Cut> cuts;
  std::vector<Sounding> sounding(bellBlows.size());
  auto takeOut = [&](std::size_t bell, std::ptrdiff_t untilFrame) {
    Sounding& s = sounding[bell];
    if (s.at < 0 || untilFrame <= s.at) return;
    const std::size_t until = std::size_t(untilFrame - s.at);
    if (until <= s.doneTo) return;
    Subtract(left, bellBlows[bell], s.at, s.gain, s.doneTo, until);
    s.doneTo = until;
  };
  int firstFound = -1, lastFound = -1;
  double interval = 0;  // seconds a slot, once two blows are found
  for (std::size_t k = 0; k < found.size(); ++k) {
    const std::size_t bell = k % std::size_t(n);
    const std::vector<float>& blow = bellBlows[bell];
    double from = fromS, to = fromS + FirstSearchS;
    if (lastFound >= 0) {
      const double last = found[std::size_t(lastFound)].seconds;
      if (interval > 0) {
        const double expected = last + (RoundsSlot(k, n, handstrokeFirst) - RoundsSlot(std::size_t(lastFound), n, handstrokeFirst)) * interval;
        from = std::max(expected - ReachEarly * interval, last + 0.01);
        to = expected + ReachLate * interval;
      } else {
        from = last + 0.02;
        to = last + SecondSearchS;
      }
    }
    // A gap before where the blow is looked for, the blows before it found: the bells
    // sounding across it are matched after it to tell how much of the
    // stream it took; the rest of it is taken out, so that they are taken
    // out where they sound.
    while (interval > 0 && gapsDone < gaps.size()) {
      const std::size_t removed = cuts.empty() ? 0 : cuts.back().removed;
      const Gap& g = gaps[gapsDone];
      const std::size_t at = g.frame - removed;
      if (double(at) >= (from + to) / 2 * Rate) break;
      const std::size_t lost = FramesLost(left, bellBlows, sounding, at, g.frames);
      const std::size_t out = g.frames - lost;
      left.erase(left.begin() + std::ptrdiff_t(at + lost), left.begin() + std::ptrdiff_t(at + g.frames));
      cuts.push_back({at + lost, removed + out});
      ++gapsDone;
      for (Sounding& s : sounding)
        if (s.at >= std::ptrdiff_t(at + g.frames)) s.at -= std::ptrdiff_t(out);
      for (LocatedBlow& b : found)
        if (b.seconds * Rate >= double(at + g.frames)) b.seconds -= double(out) / Rate;
      from -= double(out) / Rate;
      to -= double(out) / Rate;
    }
    // Nothing is taken out across a gap not yet read.
    const double before = gapsDone < gaps.size()
                              ? double(gaps[gapsDone].frame - (cuts.empty() ? 0 : cuts.back().removed))
                              : 1e18;
    // The other bells still sound through the search; this one's last blow
    // until the search begins (its sound is cut off where it strikes again).
    for (std::size_t other = 0; other < bellBlows.size(); ++other)
      takeOut(other, std::ptrdiff_t(std::min(before, other == bell ? from * Rate : to * Rate + MatchFrames)));
    const Fit fit = BestFit(left, blow, from, to);
    if (fit.score < LeastMatch) continue;
    takeOut(bell, fit.frame);
    LocatedBlow& located = found[k];
    located.seconds = Refine(left, blow, fit.frame);
    located.match = fit.score;
    located.bestBell = NoBetterBell(left, bellBlows, bell, fit.frame, fit.score);
    sounding[bell] = {fit.frame, GainAt(left, blow, fit.frame), 0};
    if (firstFound < 0) firstFound = int(k);
    else
      interval = (located.seconds - found[std::size_t(firstFound)].seconds) /
                 (RoundsSlot(k, n, handstrokeFirst) - RoundsSlot(std::size_t(firstFound), n, handstrokeFirst));
    lastFound = int(k);
  }
  for (LocatedBlow& b : found)
    if (b.seconds >= 0) b.seconds = HeardAt(cuts, b.seconds);
  return found;
}

RecordingGaps FindGaps(const std::vector<std::int16_t>& stereo, std::uint32_t rate, double endS, int gapFrames) {
  RecordingGaps found;
  const std::size_t frames = stereo.size() / 2;
  std::size_t first = 0;
  while (first < frames && stereo[2 * first] == 0 && stereo[2 * first + 1] == 0) ++first;
  if (first < frames) found.firstSoundS = double(first) / rate;
  const std::size_t end = std::min(frames, std::size_t(std::max(endS, 0.0) * rate));
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

// Least squares over the blows found (a negative onset is a blow not found).
StrikingFit FitRounds(const std::vector<double>& onsets, int bells, bool handstrokeFirst) {
  StrikingFit fit;
  if (bells < 2) return fit;
  std::vector<double> slot, at;
  for (std::size_t k = 0; k < onsets.size(); ++k) {
    if (onsets[k] < 0) continue;
    slot.push_back(RoundsSlot(k, bells, handstrokeFirst));
    at.push_back(onsets[k]);
  }
  const std::size_t n = at.size();
  if (n < 3) return fit;
  // onset = t0 + slot * interval.
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (std::size_t k = 0; k < n; ++k) {
    sx += slot[k];
    sy += at[k];
    sxx += slot[k] * slot[k];
    sxy += slot[k] * at[k];
  }
  const double interval = (n * sxy - sx * sy) / (n * sxx - sx * sx);
  const double t0 = (sy - interval * sx) / n;
  double sum2 = 0, worst = 0, st = 0, se = 0, stt = 0, ste = 0;
  for (std::size_t k = 0; k < n; ++k) {
    const double e = at[k] - (t0 + slot[k] * interval);
    sum2 += e * e;
    worst = std::max(worst, std::abs(e));
    st += at[k];
    se += e;
    stt += at[k] * at[k];
    ste += at[k] * e;
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
