// How well the user struck the own bell. For each of the user's blows it
// keeps the instant the blow belonged (where the program's own swing of that
// bell strikes: at the bell's place in the row on the ringing clock, with the
// open handstroke gap) and the instant it fell, and judges them: every blow
// that belonged is matched with the nearest of the user's blows, a place
// without a blow and a blow without a place both count as missed.
//
// The instants are readings of the ringing clock, which the bells' own times
// follow through pauses, steps and changes of speed: those move where a blow
// belongs as much as where it falls, and add no error.
//
// Threads: the worker feeds the due blows and the rope's blows, the
// user-interface thread its taps and reads the analysis; one lock of its own
// guards the record, taken by nothing else.
#pragma once

#include <limits>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "engine/engine_views.h"

namespace clangor {

// Where one of the own bell's blows belonged.
struct DueBlow {
  double instant = 0;  // seconds of the ringing clock
  bool handstroke = true;
};

// One place of the own bell, judged; or one blow that fitted no place.
struct JudgedBlow {
  int row = 0;          // 1 for the touch's first row
  bool handstroke = true;
  bool missed = false;  // no blow for this place, or a blow without a place
  double errorMs = 0;   // the blow's instant less the due one: positive is late
};

struct StrokeFigures {
  int blows = 0;   // blows struck at a place
  int missed = 0;
  double rmsMs = 0;
  double meanMs = 0;  // positive: late on average
  double sdMs = 0;    // about the mean
};

struct StrikingAnalysis {
  int bell = -1;  // the own bell, 0-based; -1 when none rang
  StrokeFigures hand, back, whole;
  std::vector<JudgedBlow> blows;  // by row; a blow without a place after the place nearest it
  std::optional<JudgedBlow> worst;  // the struck blow furthest from its place
  bool Empty() const { return whole.blows == 0 && whole.missed == 0; }
};

// Judges the blows struck (`struck`, instants in any order) against the due
// blows (in striking order). A place is judged only once it is over: its
// blow may still come until halfway to the next place, or `upTo` has passed
// it by half the last spacing.
StrikingAnalysis AnalyseStriking(std::span<const DueBlow> due, std::span<const double> struck,
                                 double upTo = std::numeric_limits<double>::infinity());

// Collects one touch's own-bell blows from the engine.
class StrikingAnalyser final : public EngineStrikingView {
 public:
  // EngineStrikingView (worker thread; ownBlowStruck also from a tap).
  void touchStarted() override;
  void ownBlowDue(int bell, double time, bool handstroke) override;
  void ownBlowStruck(int bell, double time) override;

  // Where each of the own bell's blows belonged, in striking order.
  std::vector<DueBlow> Due() const;
  // The user struck at least one blow in this touch.
  bool UserRang() const;
  // The analysis of the touch so far, up to `upTo` on the ringing clock.
  StrikingAnalysis Analyse(double upTo = std::numeric_limits<double>::infinity()) const;

 private:
  mutable std::mutex lock_;
  int bell_ = -1;
  std::vector<DueBlow> due_;
  std::vector<double> struck_;
};

}  // namespace clangor
