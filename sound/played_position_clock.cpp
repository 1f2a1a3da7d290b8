#include "sound/played_position_clock.h"

#include <algorithm>
#include <cmath>

namespace clangor {

namespace {

// A report this far off the line: the device stopped or skipped.
constexpr double JumpMs = 2.0;
// The slope is read from the reports once they span this long; before, the
// nominal rate is taken and only where the line stands is fitted.
constexpr double SlopeSpanNs = 1e9;
constexpr std::uint64_t ReportsForALine = 2;
// A line started afresh is taken only once its reports span this long and
// lie on it: while the device stands still (it refills after running dry)
// or has just started again, blows keep the line that held before.
constexpr double SettleNs = 100e6;
constexpr double SettledOffMs = 1.0;

}  // namespace

PlayedPositionClock::PlayedPositionClock(std::uint32_t sampleRate, int latencyFrames)
    : sampleRate_(sampleRate), nominalNsPerFrame_(1e9 / sampleRate), latencyFrames_(latencyFrames) {}

void PlayedPositionClock::positionAt(double frame, std::int64_t nowNs) {
  const double now = static_cast<double>(nowNs);
  if (count_ >= ReportsForALine) {
    const double offFrames = frame - lineAt(now - origin_);
    if (std::abs(offFrames) * nominalNsPerFrame_ > JumpMs * 1e6) {
      jumps_.fetch_add(1);
      count_ = 0;
    }
  }
  if (count_ == 0) origin_ = now;
  reports_[count_++ % Kept] = {now - origin_, frame};
  if (count_ < ReportsForALine) return;
  const double worstOffFrames = fit();
  const bool published = nsPerFrame_.load() > 0;
  const double span = reports_[(count_ - 1) % Kept].ns - reports_[count_ > Kept ? count_ % Kept : 0].ns;
  if (published && !(span >= SettleNs && worstOffFrames * nominalNsPerFrame_ <= SettledOffMs * 1e6)) return;
  sequence_.fetch_add(1);
  time_.store(origin_ + lineNs_);
  frame_.store(lineFrame_);
  nsPerFrame_.store(lineNsPerFrame_);
  sequence_.fetch_add(1);
}

// Least squares through the kept reports, about their means. Returns how far
// the report farthest off the line lies, in frames.
double PlayedPositionClock::fit() {
  const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count_, Kept));
  double meanNs = 0, meanFrame = 0;
  double first = reports_[0].ns, last = reports_[0].ns;
  for (std::size_t i = 0; i < n; ++i) {
    meanNs += reports_[i].ns;
    meanFrame += reports_[i].frame;
    first = std::min(first, reports_[i].ns);
    last = std::max(last, reports_[i].ns);
  }
  meanNs /= static_cast<double>(n);
  meanFrame /= static_cast<double>(n);
  double nsPerFrame = nominalNsPerFrame_;
  if (last - first >= SlopeSpanNs) {
    double across = 0, along = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const double dx = reports_[i].ns - meanNs;
      across += dx * (reports_[i].frame - meanFrame);
      along += dx * dx;
    }
    if (across > 0) nsPerFrame = along / across;
  }
  lineNs_ = meanNs;
  lineFrame_ = meanFrame;
  lineNsPerFrame_ = nsPerFrame;
  double worst = 0;
  for (std::size_t i = 0; i < n; ++i) worst = std::max(worst, std::abs(reports_[i].frame - lineAt(reports_[i].ns)));
  return worst;
}

double PlayedPositionClock::lineAt(double ns) const { return lineFrame_ + (ns - lineNs_) / lineNsPerFrame_; }

void PlayedPositionClock::restart(int latencyFrames) {
  latencyFrames_ = latencyFrames;
  count_ = 0;
  sequence_.fetch_add(1);
  nsPerFrame_.store(0);
  sequence_.fetch_add(1);
}

double PlayedPositionClock::playedFrameAt(std::int64_t instantNs) const {
  double time, frame, perFrame;
  std::uint64_t before;
  do {
    before = sequence_.load();
    time = time_.load();
    frame = frame_.load();
    perFrame = nsPerFrame_.load();
  } while (before % 2 != 0 || sequence_.load() != before);
  if (perFrame <= 0) return -1;
  return frame + (static_cast<double>(instantNs) - time) / perFrame;
}

std::uint64_t PlayedPositionClock::frameForInstant(std::int64_t instantNs) const {
  const double played = playedFrameAt(instantNs);
  if (played < 0) return 0;
  const double start = std::llround(played) + static_cast<double>(latencyFrames_.load());
  return start < 1 ? 1 : static_cast<std::uint64_t>(start);
}

}  // namespace clangor
