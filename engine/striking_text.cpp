#include "engine/striking_text.h"

#include <cmath>
#include <cstdio>

#include "ringing/bells.h"

namespace clangor {

namespace {

// A mean that rounds to nothing shows as +0.0, never -0.0.
double Shown(double ms) { return std::abs(ms) < 0.05 ? 0.0 : ms; }

std::string Row(const char* name, const StrokeFigures& f) {
  char line[96];
  std::snprintf(line, sizeof line, "%-10s %6d %6d %8.1f %+8.1f %8.1f", name, f.blows, f.missed, f.rmsMs,
                Shown(f.meanMs), f.sdMs);
  return line;
}

}  // namespace

std::string DescribeError(double errorMs) {
  const long ms = std::lround(std::abs(errorMs));
  if (ms == 0) return "on time";
  return std::to_string(ms) + " ms " + (errorMs > 0 ? "late" : "early");
}

std::string FormatStrikingReport(const StrikingAnalysis& a, const std::string& nl) {
  std::string text = "Striking of bell ";
  text += a.bell >= 0 ? std::string(1, BellChar(a.bell)) : std::string("-");
  text += " (errors in ms against where each blow belonged; + late, - early)" + nl;
  text += "stroke      blows missed   rms ms  mean ms    sd ms" + nl;
  text += Row("handstroke", a.hand) + nl;
  text += Row("backstroke", a.back) + nl;
  text += Row("all", a.whole) + nl;
  if (a.worst)
    text += "Worst blow: row " + std::to_string(a.worst->row) + " " +
            (a.worst->handstroke ? "handstroke" : "backstroke") + ", " + DescribeError(a.worst->errorMs) + nl;
  else
    text += "Worst blow: none struck" + nl;
  return text;
}

}  // namespace clangor
