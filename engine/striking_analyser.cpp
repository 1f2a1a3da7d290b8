#include "engine/striking_analyser.h"

#include <algorithm>
#include <cmath>

namespace clangor {

namespace {

// A lone place takes a blow this near it (seconds).
constexpr double LonePlaceReach = 1.0;

// The stretch of the clock in which a blow belongs to place k: from halfway
// back to the place before to halfway on to the next; the first and last
// places reach as far out as their neighbour's half.
struct Window {
  double from, to;
};

Window WindowOf(std::span<const DueBlow> due, std::size_t k) {
  const std::size_t n = due.size();
  const double at = due[k].instant;
  double before = LonePlaceReach, after = LonePlaceReach;
  if (k > 0) before = (at - due[k - 1].instant) / 2;
  if (k + 1 < n) after = (due[k + 1].instant - at) / 2;
  if (k == 0 && n > 1) before = after;
  if (k + 1 == n && n > 1) after = before;
  return {at - before, at + after};
}

struct Sums {
  double sum = 0, squares = 0;
};

void Finish(StrokeFigures& f, const Sums& s) {
  if (f.blows == 0) return;
  const double n = f.blows;
  f.meanMs = s.sum / n;
  f.rmsMs = std::sqrt(s.squares / n);
  f.sdMs = std::sqrt(std::max(0.0, s.squares / n - f.meanMs * f.meanMs));
}

}  // namespace

StrikingAnalysis AnalyseStriking(std::span<const DueBlow> due, std::span<const double> struck, double upTo) {
  StrikingAnalysis a;
  std::vector<double> blows(struck.begin(), struck.end());
  std::sort(blows.begin(), blows.end());
  if (due.empty()) {
    a.whole.missed = static_cast<int>(blows.size());
    return a;
  }
  // Each place over by upTo, with the blows that fell in its window.
  std::size_t next = 0;
  Sums hand, back, whole;
  for (std::size_t k = 0; k < due.size(); ++k) {
    const Window w = WindowOf(due, k);
    const DueBlow& place = due[k];
    const int row = static_cast<int>(k) + 1;
    std::vector<double> inWindow;
    // Blows before the first window fit no place: missed, on the first.
    for (; next < blows.size() && blows[next] < w.to; ++next) {
      if (blows[next] >= w.from) inWindow.push_back(blows[next]);
      else a.blows.push_back({row, place.handstroke, true, (blows[next] - place.instant) * 1000.0});
    }
    if (w.to > upTo) break;  // still open: its blow may yet come
    const auto nearest = std::min_element(inWindow.begin(), inWindow.end(), [&](double x, double y) {
      return std::abs(x - place.instant) < std::abs(y - place.instant);
    });
    JudgedBlow judged{row, place.handstroke, nearest == inWindow.end(), 0.0};
    if (!judged.missed) judged.errorMs = (*nearest - place.instant) * 1000.0;
    a.blows.push_back(judged);
    for (auto b = inWindow.begin(); b != inWindow.end(); ++b)
      if (b != nearest) a.blows.push_back({row, place.handstroke, true, (*b - place.instant) * 1000.0});
    if (!judged.missed && (!a.worst || std::abs(judged.errorMs) > std::abs(a.worst->errorMs))) a.worst = judged;
  }
  // Blows after the last window fit no place either.
  if (upTo >= WindowOf(due, due.size() - 1).to)
    for (; next < blows.size(); ++next)
      a.blows.push_back({static_cast<int>(due.size()), due.back().handstroke, true,
                         (blows[next] - due.back().instant) * 1000.0});

  for (const JudgedBlow& b : a.blows) {
    StrokeFigures& f = b.handstroke ? a.hand : a.back;
    Sums& s = b.handstroke ? hand : back;
    for (auto [figures, sums] : {std::pair{&f, &s}, std::pair{&a.whole, &whole}}) {
      if (b.missed) {
        ++figures->missed;
        continue;
      }
      ++figures->blows;
      sums->sum += b.errorMs;
      sums->squares += b.errorMs * b.errorMs;
    }
  }
  Finish(a.hand, hand);
  Finish(a.back, back);
  Finish(a.whole, whole);
  return a;
}

// ---------------------------------------------------------------- the record

void StrikingAnalyser::touchStarted() {
  std::lock_guard lock(lock_);
  bell_ = -1;
  due_.clear();
  struck_.clear();
}

void StrikingAnalyser::ownBlowDue(int bell, double time, bool handstroke) {
  std::lock_guard lock(lock_);
  if (bell != bell_ && !due_.empty()) {
    // Another bell is the user's now: its practice starts afresh.
    due_.clear();
    struck_.clear();
  }
  bell_ = bell;
  due_.push_back({time, handstroke});
}

void StrikingAnalyser::ownBlowStruck(int bell, double time) {
  std::lock_guard lock(lock_);
  if (bell_ < 0) bell_ = bell;
  struck_.push_back(time);
}

std::vector<DueBlow> StrikingAnalyser::Due() const {
  std::lock_guard lock(lock_);
  return due_;
}

bool StrikingAnalyser::UserRang() const {
  std::lock_guard lock(lock_);
  return !struck_.empty();
}

StrikingAnalysis StrikingAnalyser::Analyse(double upTo) const {
  std::lock_guard lock(lock_);
  StrikingAnalysis a = AnalyseStriking(due_, struck_, upTo);
  a.bell = bell_;
  return a;
}

}  // namespace clangor
