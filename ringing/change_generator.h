// The change generator: produces the rows being rung, one position at a time,
// just ahead of the striking clock. It walks the compiled notation of the
// current method or call-change sequence, makes calls at markers, asks the
// composition for methods and calls, detects coming round and reports what
// happens as events.
//
// Threads: everything here runs on the striking (worker) thread, except
// `roundsRequested`, which the user interface may set at any time. Calls
// selected from the user interface reach the generator through the engine,
// which serialises them with striking.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "ringing/call_table.h"
#include "ringing/place_notation.h"
#include "ringing/row.h"

namespace clangor {

struct Method;
struct CallChangeSequence;
class CompositionSource;
class GeneratorOwner;
class SettingsSource;
class UsageOrder;

class ChangeGenerator {
 public:
  // Starts in rounds, holding, with the plain lead as the only call. Any of
  // the collaborators may be null: no events, default settings, no library.
  ChangeGenerator(int bells, GeneratorOwner* owner, SettingsSource* settings, UsageOrder* usage = nullptr);

  ChangeGenerator(const ChangeGenerator&) = delete;
  ChangeGenerator& operator=(const ChangeGenerator&) = delete;

  // Asked for each bell after its blow, in striking order: the bell's timing
  // class for its next blow, (next position - current position) + 1, plus 1
  // before a handstroke row.
  int NextStrike(int bell);

  // The composition rung from now on (before SetMethod); null drops it.
  void SetComposition(CompositionSource* composition);
  void SetMethod(const Method* method);
  // Taken only while no method and no composition is current.
  void SetSequence(const CallChangeSequence* sequence);
  // Selects the call for the next marker where it can be made.
  bool SelectCall(char letter);
  // A change called by hand while holding: the announcement, or "" when the
  // call cannot be taken. `bell` numbers the bells in play from 0; the
  // announcement names each bell by `numbers` (the tower's numbers of the
  // bells in play), or by its place among them when that is empty.
  std::string CallChange(int bell, bool towardsBack, const std::vector<int>& numbers = {});
  void Reset();
  // The ringer confirmed new preferences while the touch rings: what it does
  // at rounds, and how many more times it comes round before that applies.
  void SetActionAtRounds(int action, int keepGoingCount);
  // The bells have stood: publishes the row they were striking, which no
  // later blow will complete (as a row end would; nothing with one bell).
  void PublishLastRow();
  // Expands and compiles a line as the whole notation, replacing the call
  // table; the half-lead index of the expanded text, or -1.
  int SetNotation(const std::string& line);

  // Set by the Rounds command: bring every bell home by single steps, then
  // hold rounds. Cleared by the generator when rounds is reached.
  std::atomic<bool> roundsRequested{false};

  // What the engine, ringing control and the views read.
  int bellCount() const { return bellCount_; }
  int stage() const { return stage_; }
  bool handstroke() const { return handstroke_; }
  bool starting() const { return starting_; }
  bool holding() const { return holding_; }
  bool wholePull() const { return wholePull_; }
  bool stopRequested() const { return stopRequested_; }
  bool handChangePending() const { return handChangePending_; }
  const std::string& pendingChangeText() const { return pendingChangeText_; }
  bool returningToRounds() const { return returning_; }
  int keepGoingLeft() const { return keepGoingLeft_; }
  int selectedCall() const { return selectedCall_; }
  bool inCallSection() const { return inCallSection_; }
  int changedCount() const { return changedCount_; }
  int announceCountdown() const { return announceCountdown_; }
  const CallTable& callTable() const { return callTable_; }
  const Row& currentRow() const { return currentRow_; }
  const std::string& rowText() const { return rowText_; }
  const Method* method() const { return method_; }
  // A method has been taken and has not come round yet: from the request
  // (while the bells are brought to rounds or wait for the handstroke row)
  // until the touch holds again.
  bool MethodInProgress() const { return method_ != nullptr && (!holding_ || starting_ || startAtRounds_); }
  // The bells ring rounds with nothing asked of them.
  bool HoldsRounds() const { return holding_ && !returning_ && IsRounds(currentRow_); }
  const CallChangeSequence* sequence() const { return sequence_; }
  CompositionSource* composition() const { return composition_; }
  const CompiledNotation& compiled() const { return compiled_; }
  // The title of the method or the name of the sequence being rung.
  std::string TouchName() const;

 private:
  // Rows.
  void BuildPosition();
  int SourceFromNotation(int p);
  int UnplacedBellFor(int p) const;
  void RowEnd();
  void PublishRow(int previousChanged);
  void CountDown();
  void ComeRound(bool allHome);
  void StartChanges();

  // Lead ends and half leads.
  void LeadEndStep(bool atHalfLead);
  void LoadLine(bool atHalfLead);
  int CompileLine(const std::string& line, const std::string& specialCalls);
  bool HasChanges() const;

  // Calls and marked sections.
  void StartMarkedSection(char marker);
  char CompositionCallAt(char marker);
  void EndCallSection();
  int PeekChange() const;
  void AnnounceNextCallChange();

  // What has been taken waits for the bells to come to rounds: a touch
  // starts from rounds only.
  void StartAtRounds();
  void StartTaken();

  // Hand-called changes and the return to rounds.
  void RingHandChange();
  void DropHandChange();
  void StartReturnToRounds();
  void StepTowardsRounds();

  void Post(int code, const std::string& text = {}, int value = 0);
  void PostAlways(int code, const std::string& text);
  bool Silent() const;
  int Setting(int index, int fallback) const;
  int TowerSetting(int index, int fallback) const;

  GeneratorOwner* owner_;
  SettingsSource* settings_;
  UsageOrder* usage_;

  int bellCount_;
  int stage_;
  // The row being built is a handstroke row (the open gap comes before it).
  // The bells pull off at handstroke: the first row struck is a handstroke,
  // so the first row built after it is a backstroke.
  bool handstroke_ = true;
  bool starting_ = false;
  bool holding_ = true;
  bool wholePull_ = false;
  bool stopRequested_ = false;
  bool handChangePending_ = false;
  std::string pendingChangeText_;
  bool forcedHold_ = false;
  int actionAtRounds_ = 2;
  int keepGoingLeft_ = 0;
  int callUp_ = 1;
  CompiledNotation compiled_;
  int cursor_ = 0;
  int returnPoint_ = -1;
  bool inCallSection_ = false;
  int selectedCall_ = 0;
  char rememberedMarker_ = 0;
  int position_;
  int blowCounter_;
  Row currentRow_, nextRow_;
  std::vector<int> nextPositionOf_, previousPositionOf_;
  std::string rowText_;
  int changedCount_ = 0;
  const Method* method_ = nullptr;
  const CallChangeSequence* sequence_ = nullptr;
  CompositionSource* composition_ = nullptr;
  bool loaded_ = false;
  CallTable callTable_;
  int announceCountdown_ = 0;
  int describeCountdown_ = 0;

  bool returning_ = false;
  bool startAtRounds_ = false;       // the method or sequence taken starts when rounds is reached
  std::vector<int> homewardSource_;  // position -> source position while returning to rounds
};

}  // namespace clangor
