// One bell of the loaded tower as a moving body: a pendulum that swings under
// gravity, is stopped by its stay past the balance, strikes at its strike
// angles and is driven by rope terms from the tower's control table so that
// its blows fall where the rows require.
//
// Angles are hundredths of a degree: 0 hanging mouth down, +-18000 the
// balance (mouth up). Times are seconds of the ringing clock. Speeds are
// metres per second along the arc: positive while the bell climbs (away from
// the bottom, or back towards the balance from its stay), negative while it
// falls.
//
// Threads: everything here runs on the engine's worker thread, except load()
// and the read-only accessors, which run before the worker starts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace clangor {

class Tower;
struct ControlTable;

// What the tower's files say about the bell, converted once at loading.
struct BellData {
  int index = 0;
  std::string name;
  int sourceBell = 0;          // bell number (from 1) whose recordings it uses
  double pendulumLength = 0;   // metres, from Period
  double wheelRadius = 0;      // metres
  int x = 0, y = 0, width = 0, height = 0;
  int cwCount = 0, acwCount = 0;
  int handStrike = 0, backStrike = 0;
  std::string openFile, mutedFile;
  int openShift = 0, mutedShift = 0;
  double strikingCorrection = 0;  // seconds
  int setDelay = 0;               // milliseconds
  int imageCount = 0;
  std::vector<int> imageAngle;    // the swing angle each picture shows
  int beneath = -1, above = -1;   // bell indexes, -1 for none
  std::vector<int> cwSequence, acwSequence;
  double maxPullAccel = 0;        // m/s^2, the strongest pull of a ringer
  int downIndex = 0;              // position in acwSequence of the bell hanging down
  double stepLength = 0;          // metres of arc in one 0.2-degree step
  bool canSwing = false;          // the data makes a pendulum with stays
  std::string fault;              // why it cannot swing, in words; empty when it can
};

// A change of peal speed the bell is taking up: it waits longer at its next
// turn, by its place in the row and the change of speed.
struct TurnDelay {
  bool pending = false;
  int place = 0;     // blows of the row struck when it was recorded
  int delta = 0;     // minutes: speed in use - new speed
  int strokeSide = 0;
};

// The hot state of the swing, updated by every step.
struct SwingState {
  int angle = 0;
  double speed = 0;
  double time = 0;
  double prevGravity = 0;
  bool turningClockwise = false;  // the angle is decreasing
  bool handstrokeNext = true;
  double strikeTime = 0;
  bool stood = true;
  int stayHits = 0;               // bounces on the stay since the last pass of 0 or the balance
  int stillTurns = 0;             // turns in a row without moving
  int partialStep = 0;            // length of the next step after an exact placement; 0 for a full one
  bool firstSwing = false;        // started and not yet struck
  bool setting = false;           // being set at the end of the ringing
  bool setBackstroke = false;     // struck its last blow while being set
  int prevTiming = 2, nextTiming = 1;
  int transition = -1;            // position in the control row of the current swing, -1 none
  double extraDelay = 0;
  TurnDelay pendingSpeedChange;
};

class Bell {
 public:
  // Result flags of advanceTo.
  static constexpr int PictureChanged = 0x01;
  static constexpr int Struck = 0x02;
  static constexpr int Stopped = 0x40;
  static constexpr int StepLengthDegrees = 20;  // hundredths of a degree per step
  static constexpr int MaxBounces = 6;
  static constexpr int ManualStepsPerCall = 200;
  static constexpr int MaxStillTurns = 16;
  // The manual bell is pulled only at angles from here towards its balance.
  static constexpr int PullLimitAngle = 9000;

  Bell(int index, bool manual);

  // Reads every field from the tower's properties for this bell. A bell
  // without its own muffled recording clears the tower's hasMuffledSounds.
  void load(Tower& tower);
  void load();  // from Tower::Current()
  // Re-reads the sound keys only (after a change of sound set).
  void reloadSounds(Tower& tower);
  void reloadSounds();

  // Swings the bell until its time reaches t or it strikes. Result flags.
  int advanceTo(double t);
  // Puts the bell at rest on its stay, ready for a handstroke.
  void stand();
  // Sets the bell swinging from its set position as the position-th bell.
  void start(int position);

  bool stepTowardsUp();
  bool stepTowardsDown();
  bool isUp() const;    // shows its set picture
  bool isDown() const;  // shows its hanging picture
  bool isPictureLoaded(int picture) const;
  void markPictureLoaded(int picture);
  // The next picture to load, outwards from the hanging picture; -1 when all are.
  int nextPictureToLoad() const;

  // The control row for a peal speed and a number of ringing bells, or
  // nullptr when the table has none.
  const double* rowAddress(int speed, int ringing) const;
  // Value `index` of the current control row; 0 when there is none.
  double rowValue(int index) const;
  // 0 to 3: the highest timing class the table holds for `speed` (0: now).
  int timingLevel(int speed) const;
  // Steers the bell by a control row that the caller owns (60 values, read
  // live at every step) until the next start or change of speed: the tower
  // kit solves the table by trying rows on the real swing.
  void useControlRow(const double* row) { row_ = row; }

  // The manual bell: stands for `partner` (nullptr: none) and takes its data.
  void mirror(const Bell* partner);
  // Copies the partner's whole swing state and rings in its place.
  void takeOver(Bell& partner);
  // Hands the ringing back to the partner.
  void handBack(Bell& partner);
  // The user's pull, 0 to 1, applied while the manual bell swings.
  void setPull(double strength) { pull_ = strength; }

  const BellData& data() const { return *data_; }
  SwingState& state() { return swing_; }
  const SwingState& state() const { return swing_; }
  int picture() const { return picture_; }
  int pictureIndex() const { return pictureIndex_; }
  bool manual() const { return manual_; }
  bool active() const { return active_; }
  // False while a manual bell rings this bell in its place.
  bool rungByProgram() const { return rungByProgram_; }
  int position() const { return position_; }
  // The stay angles: the set (first anticlockwise) picture's angle and the
  // first clockwise picture's angle.
  int setAngle() const;
  int otherStayAngle() const;

 private:
  // One step of the swing; sets flags on a strike or when the bell stood.
  void step(int& flags);
  double ropeTerm(int next, double gravity) const;
  void turnOver(double acceleration, bool climbing, bool inStay, int& flags);
  void strike(int& flags);
  void perBlowStep(int side);
  void choosePicture(int& flags);
  int ringingCount() const;
  void readSounds(Tower& tower);
  void readPictures(const Tower& tower);
  void checkSwing();

  BellData ownData_;
  const BellData* data_ = &ownData_;
  const Bell* partner_ = nullptr;  // the bell a manual bell stands for
  const ControlTable* table_ = nullptr;
  int towerBellCount_ = 0;
  SwingState swing_;
  const double* row_ = nullptr;
  int picture_ = 0;
  int pictureIndex_ = 0;
  std::vector<bool> picturesLoaded_;
  bool manual_ = false;
  bool active_ = false;
  bool rungByProgram_ = true;
  bool counted_ = false;  // counted in the ringing state's swinging bells
  int position_ = 0;
  double pull_ = 0;
};

}  // namespace clangor
