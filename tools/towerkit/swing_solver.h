// Finds the rope terms of one swing of a bell by running the bell's own swing
// step (tower/Bell) with trial control rows: from a blow at a known speed,
// how hard to check the bell as it rises (R1) so that its next blow comes
// after a given time, and how hard to pull it down again (R2) so that it
// arrives at that blow at the speed the next swing starts from.
#pragma once

#include <array>

namespace clangor {
class Bell;
}

namespace clangor::towerkit {

class SwingSolver {
 public:
  // `bell` is loaded from the tower being made; the solver steers it with its
  // own control row and leaves it stood. The process-wide ringing state is
  // set for a quiet solo (no touch, no Stand, no firing) while it runs.
  explicit SwingSolver(Bell& bell);
  ~SwingSolver();

  // One swing from a blow, as the ringing bell makes it.
  struct Swing {
    double duration = 0;      // seconds from the blow to the next blow
    double arrivalSpeed = 0;  // m/s at the next blow
    double r2 = 0;            // the pull chosen at the turn
    int turnAngle = 0;        // where the bell turned
    bool struck = false;      // false: it fell back or went over the balance
  };
  // From a blow on `side` (1: at the handstroke angle) at speed `speed`,
  // checked by r1 as it rises; at the turn the pull is chosen from the energy
  // still to find so that the bell arrives at `arrival`.
  Swing Run(int side, double speed, double r1, double arrival);
  // The same swing with the pull after the turn given.
  Swing RunWithPull(int side, double speed, double r1, double r2);

  // Where the bell turns after a blow on `side` at `speed`, checked by
  // `check` (R1, or the setting check when `setting`); OverTheBalance when
  // it goes over.
  static constexpr int OverTheBalance = 1 << 20;
  int TurnAngle(int side, double speed, double check, bool setting = false);

  // The swing off the stay at the start: pushed over the balance by `push`,
  // then checked or helped by the value found so that the first blow comes
  // at `arrival`. Gives that value and the time from the start to the blow.
  struct FirstSwing {
    double push = 0, pull = 0, time = 0;
  };
  FirstSwing SolveFirstSwing(double push, double arrival);

  // Setting the bell at Stand: from a blow at the handstroke angle at
  // `speed`, checked by `check` as it rises and pulled after the turn so
  // that it comes over the balance at `overSpeed`, the bell strikes its last
  // blow and is checked by `stop` on to its stay. Gives the time of that
  // blow (a huge value when there is none) and whether it came to rest;
  // setPull() is the pull it used.
  double SetSwing(double speed, double check, double overSpeed, double stop, bool* rests);
  double setPull() const { return lastSetPull_; }

  // The bell's speed at a blow when it rises on from there to `turnDegrees`
  // with no rope.
  double SpeedToTurnAt(int side, double turnDegrees) const;
  double strongestPull() const { return strongest_; }

 private:
  void PlaceAtBlow(int side, double speed);
  // Steps until the bell turns; false when it struck or stood first.
  bool StepToTurn();
  // From the turn on, with the row's R2 set: to the next blow.
  void FinishSwing(Swing& swing);
  // The pull from the turn onwards that brings the bell to `speed` at
  // `angle` (hundredths of a degree), with the pull over the arc it acts on.
  double PullFor(int fromAngle, double fromSpeed, int angle, double speed, bool wholeDescent) const;

  Bell& bell_;
  std::array<double, 60> row_{};
  double strongest_ = 0;
  double lastSetPull_ = 0;
};

}  // namespace clangor::towerkit
