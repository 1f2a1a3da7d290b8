#include "tools/ring/striking_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

#include "ringing/bells.h"

namespace clangor::ring {

namespace {

struct Placed {
  int bell;
  double actual;
  double ideal;  // relative to the first row's start
};

// Blow n of a bell belongs to row n; rows that were not rung are left out.
std::vector<Placed> PlaceBlows(const std::vector<std::string>& rows, const std::vector<StruckBlow>& blows, int bells,
                               double interval) {
  std::vector<int> count(static_cast<std::size_t>(bells), 0);
  std::vector<int> struckInRow;  // blows so far in each row
  std::vector<Placed> placed;
  for (const StruckBlow& blow : blows) {
    if (blow.bell < 0 || blow.bell >= bells) continue;
    const int r = count[static_cast<std::size_t>(blow.bell)]++;
    if (struckInRow.size() <= static_cast<std::size_t>(r)) struckInRow.resize(static_cast<std::size_t>(r) + 1, 0);
    const int order = struckInRow[static_cast<std::size_t>(r)]++;
    std::size_t place = static_cast<std::size_t>(order);
    if (!rows.empty()) {
      if (r >= static_cast<int>(rows.size())) continue;
      place = rows[static_cast<std::size_t>(r)].find(BellChar(blow.bell));
      if (place == std::string::npos) continue;
    }
    // The open gap comes before every handstroke row after the first.
    const double slots = static_cast<double>(r) * bells + static_cast<double>(place) + r / 2;
    placed.push_back({blow.bell, blow.time, slots * interval});
  }
  return placed;
}

void Accumulate(BellStriking& s, double errorMs) {
  ++s.blows;
  s.rmsMs += errorMs * errorMs;
  s.worstMs = std::max(s.worstMs, std::abs(errorMs));
}

void Finish(BellStriking& s) { s.rmsMs = s.blows > 0 ? std::sqrt(s.rmsMs / s.blows) : 0.0; }

}  // namespace

StrikingReport MeasureStriking(const std::vector<std::string>& rows, const std::vector<StruckBlow>& blows,
                               int bells, double blowInterval) {
  StrikingReport report;
  report.bells.resize(static_cast<std::size_t>(std::max(bells, 0)));
  const std::vector<Placed> placed = PlaceBlows(rows, blows, bells, blowInterval);
  if (placed.empty()) return report;
  double start = 0;
  for (const Placed& p : placed) start += p.actual - p.ideal;
  start /= static_cast<double>(placed.size());
  int lastRow = 0;
  for (const Placed& p : placed) {
    const double errorMs = (p.actual - p.ideal - start) * 1000.0;
    Accumulate(report.bells[static_cast<std::size_t>(p.bell)], errorMs);
    Accumulate(report.whole, errorMs);
  }
  for (auto& b : report.bells) {
    lastRow = std::max(lastRow, b.blows);
    Finish(b);
  }
  Finish(report.whole);
  report.rows = lastRow;
  return report;
}

void PrintStrikingReport(const StrikingReport& report, std::ostream& out) {
  char line[96];
  out << "Striking report (" << report.rows << " rows; errors against the ideal schedule)\n";
  out << "bell  blows   rms ms  worst ms\n";
  for (std::size_t b = 0; b < report.bells.size(); ++b) {
    const BellStriking& s = report.bells[b];
    std::snprintf(line, sizeof line, "%4c %6d %8.2f %9.2f\n", BellChar(static_cast<int>(b)), s.blows, s.rmsMs,
                  s.worstMs);
    out << line;
  }
  std::snprintf(line, sizeof line, " all %6d %8.2f %9.2f\n", report.whole.blows, report.whole.rmsMs,
                report.whole.worstMs);
  out << line;
}

}  // namespace clangor::ring
