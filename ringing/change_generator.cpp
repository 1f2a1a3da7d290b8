#include "ringing/change_generator.h"

#include <algorithm>

#include "ringing/bells.h"
#include "ringing/call_change_sequence.h"
#include "ringing/composition_source.h"
#include "ringing/generator_owner.h"
#include "ringing/method.h"
#include "ringing/settings_source.h"
#include "ringing/usage_order.h"

namespace clangor {

ChangeGenerator::ChangeGenerator(int bells, GeneratorOwner* owner, SettingsSource* settings, UsageOrder* usage)
    : owner_(owner),
      settings_(settings),
      usage_(usage),
      bellCount_(std::clamp(bells, 1, MaxBells)),
      stage_(bellCount_),
      position_(bellCount_),
      blowCounter_(bellCount_) {
  currentRow_ = nextRow_ = Rounds(bellCount_);
  nextPositionOf_ = previousPositionOf_ = Rounds(bellCount_);
  rowText_ = RowText(currentRow_);
  pendingChangeText_ = rowText_;
  homewardSource_ = Rounds(bellCount_);
  actionAtRounds_ = Setting(setting::ActionAtRounds, 2);
  callUp_ = Setting(setting::CallUp, 1);
  wholePull_ = TowerSetting(tower_setting::WholePullChanges, 0) != 0;
}

// ---------------------------------------------------------------- striking

int ChangeGenerator::NextStrike(int bell) {
  if (bellCount_ == 1) {
    handstroke_ = !handstroke_;
    return 1;
  }
  if (bell < 0 || bell >= bellCount_) return 1;
  // The first query after every bell of the row has struck belongs to the
  // next row: it completes the row being built.
  if (++blowCounter_ >= bellCount_) {
    blowCounter_ = 0;
    BuildPosition();
  }
  const auto b = static_cast<std::size_t>(bell);
  for (int guard = 0; nextPositionOf_[b] < 0 && guard <= bellCount_; ++guard) BuildPosition();
  const int stroke = handstroke_ ? 1 : 0;
  if (nextPositionOf_[b] < 0) return 1 + stroke;  // rows are permutations; never expected
  return nextPositionOf_[b] - previousPositionOf_[b] + 1 + stroke;
}

void ChangeGenerator::BuildPosition() {
  if (++position_ >= bellCount_) {
    position_ = 0;
    RowEnd();
  }
  const int p = position_;
  int source;
  if (returning_ && !(wholePull_ && !handstroke_)) {
    source = homewardSource_[static_cast<std::size_t>(p)];
  } else if (returning_) {
    source = p;  // each step home is held for a whole pull
  } else if (holding_ || (wholePull_ && !handstroke_)) {
    source = p;
  } else {
    source = SourceFromNotation(p);
  }
  int bell = currentRow_[static_cast<std::size_t>(std::clamp(source, 0, bellCount_ - 1))];
  // A change written against the rules (places out of order) could name a
  // bell twice; the row stays a row.
  if (nextPositionOf_[static_cast<std::size_t>(bell)] >= 0) bell = UnplacedBellFor(p);
  nextRow_[static_cast<std::size_t>(p)] = bell;
  nextPositionOf_[static_cast<std::size_t>(bell)] = p;
}

int ChangeGenerator::UnplacedBellFor(int p) const {
  const int own = currentRow_[static_cast<std::size_t>(p)];
  if (nextPositionOf_[static_cast<std::size_t>(own)] < 0) return own;
  for (const int bell : currentRow_)
    if (nextPositionOf_[static_cast<std::size_t>(bell)] < 0) return bell;
  return own;
}

int ChangeGenerator::SourceFromNotation(int p) {
  if (!HasChanges()) return p;
  const int length = static_cast<int>(compiled_.size());
  // Lead ends may follow one another only so often without a change between
  // them; a line of punctuation alone rings no change.
  for (int leadEnds = 0, steps = 0; leadEnds < 3 && steps < 4 * length + 16; ++steps) {
    if (cursor_ >= length) {
      if (inCallSection_) {
        EndCallSection();
      } else {
        LeadEndStep(false);
        ++leadEnds;
      }
      continue;
    }
    const auto byte = compiled_[static_cast<std::size_t>(cursor_)];
    if (byte == ',') {
      if (inCallSection_) {
        EndCallSection();
      } else {
        LeadEndStep(false);
        ++leadEnds;
      }
    } else if (byte == ':') {
      if (inCallSection_) EndCallSection();
      else LeadEndStep(true);
    } else if (byte == '.' || byte == ' ') {
      ++cursor_;
    } else if (IsCallMarker(static_cast<char>(byte))) {
      if (inCallSection_) EndCallSection();
      else StartMarkedSection(static_cast<char>(byte));
    } else {
      return SourcePosition(compiled_, cursor_, p, std::min(stage_, bellCount_));
    }
  }
  return p;
}

bool ChangeGenerator::HasChanges() const {
  for (const auto byte : compiled_) {
    if (byte == '.' || byte == ' ' || byte == ',' || byte == ':' || IsCallMarker(static_cast<char>(byte))) continue;
    return true;
  }
  return false;
}

// ---------------------------------------------------------------- row end

void ChangeGenerator::RowEnd() {
  if (roundsRequested.load() && !returning_) StartReturnToRounds();

  if (!holding_ && (!wholePull_ || !handstroke_)) ++cursor_;
  if (sequence_ != nullptr && method_ == nullptr && !handstroke_ && (!holding_ || starting_)) AnnounceNextCallChange();

  const int previousChanged = changedCount_;
  changedCount_ = 0;
  int home = 0;
  for (int p = 0; p < bellCount_; ++p) {
    const auto i = static_cast<std::size_t>(p);
    if (currentRow_[i] != nextRow_[i]) ++changedCount_;
    rowText_[i] = BellChar(currentRow_[i]);
    currentRow_[i] = nextRow_[i];
    previousPositionOf_[i] = nextPositionOf_[i];
    if (previousPositionOf_[i] == p) ++home;
  }
  std::fill(nextPositionOf_.begin(), nextPositionOf_.end(), -1);

  PublishRow(previousChanged);
  CountDown();
  ComeRound(home == bellCount_);
  handstroke_ = !handstroke_;
  if (handChangePending_ && !forcedHold_ && handstroke_ && !starting_ && !returning_ && holding_) RingHandChange();
  StartChanges();
  if (returning_) StepTowardsRounds();
}

void ChangeGenerator::PublishRow(int previousChanged) {
  if (!wholePull_ || !handstroke_) Post(event::RowRung, rowText_, previousChanged);
}

void ChangeGenerator::PublishLastRow() {
  if (bellCount_ < 2) return;
  rowText_ = RowText(currentRow_);
  PublishRow(changedCount_);
}

void ChangeGenerator::CountDown() {
  if (announceCountdown_ > 0 && --announceCountdown_ == 0 && selectedCall_ == 0) Post(event::CallOpportunity);
  if (describeCountdown_ > 0 && --describeCountdown_ == 0) {
    // The values tell a method (first) from a call-change sequence (second).
    EngineEvent e{event::TouchDescribed, TouchName(), {method_ != nullptr, method_ == nullptr && sequence_ != nullptr, 0, 0}};
    if (!Silent()) owner_->PostEvent(std::move(e));
  }
}

// Coming round is judged on rows that were changed: a held row is not a
// touch coming round, so holding rounds posts nothing row after row.
void ChangeGenerator::ComeRound(bool allHome) {
  if (starting_) return;
  if (forcedHold_) {
    forcedHold_ = false;
    holding_ = true;
    return;
  }
  if (actionAtRounds_ == 0 || !allHome || holding_) return;
  if (keepGoingLeft_ >= 1) {
    --keepGoingLeft_;
    return;
  }
  if (actionAtRounds_ == 2) stopRequested_ = true;
  holding_ = true;
  composition_ = nullptr;
  Post(event::CallOpportunity);
}

void ChangeGenerator::StartChanges() {
  if (starting_ && handstroke_) {
    holding_ = false;
    starting_ = false;
  }
}

// ---------------------------------------------------------------- touches

void ChangeGenerator::SetComposition(CompositionSource* composition) { composition_ = composition; }

void ChangeGenerator::SetMethod(const Method* method) {
  if (method == nullptr) return;
  // Taken over call changes (a held row, or a sequence), it starts from rounds.
  const bool overCallChanges = holding_ || sequence_ != nullptr;
  method_ = method;
  sequence_ = nullptr;
  loaded_ = false;
  Post(event::TouchSelected, method->Title());
  if (overCallChanges) {
    StartAtRounds();
  } else {
    // Spliced in at the next lead end of the method being rung.
    wholePull_ = TowerSetting(tower_setting::WholePullChanges, 0) != 0;
  }
}

void ChangeGenerator::SetSequence(const CallChangeSequence* sequence) {
  if (sequence == nullptr || MethodInProgress() || composition_ != nullptr) return;
  // A method that has come round gives way to the sequence.
  method_ = nullptr;
  const bool held = holding_;
  sequence_ = sequence;
  loaded_ = false;
  Post(event::TouchSelected, sequence->name);
  if (held) StartAtRounds();
  else wholePull_ = true;  // the sequence rung takes over at the end of its line
}

// At rounds the touch starts at once (its changes begin at the next
// handstroke row); from any other row the bells are brought to rounds first.
void ChangeGenerator::StartAtRounds() {
  DropHandChange();
  if (HoldsRounds()) {
    startAtRounds_ = false;
    StartTaken();
    return;
  }
  startAtRounds_ = true;
  roundsRequested.store(true);
}

void ChangeGenerator::StartTaken() {
  wholePull_ = sequence_ != nullptr || TowerSetting(tower_setting::WholePullChanges, 0) != 0;
  LeadEndStep(false);
  Reset();
}

void ChangeGenerator::SetActionAtRounds(int action, int keepGoingCount) {
  actionAtRounds_ = action;
  keepGoingLeft_ = keepGoingCount;
}

void ChangeGenerator::Reset() {
  stopRequested_ = false;
  starting_ = true;
  selectedCall_ = 0;
  cursor_ = 0;
  inCallSection_ = false;
  returnPoint_ = -1;
  announceCountdown_ = 0;
  if (!forcedHold_) changedCount_ = 0;
  keepGoingLeft_ = composition_ != nullptr ? composition_->KeepGoing() : Setting(setting::KeepGoingCount, 0);
}

std::string ChangeGenerator::TouchName() const {
  if (method_ != nullptr) return method_->Title();
  if (sequence_ != nullptr) return sequence_->name;
  return {};
}

// ---------------------------------------------------------------- lead ends

void ChangeGenerator::LeadEndStep(bool atHalfLead) {
  if (composition_ != nullptr) {
    if (!holding_) {
      const Method* next = composition_->NextMethod(atHalfLead);
      if (next != nullptr && next != method_) {
        method_ = next;
        loaded_ = false;
      }
    } else {
      composition_->Restart(method_, currentRow_);
    }
  }
  const bool nothingToLoad = method_ == nullptr && sequence_ == nullptr;
  const bool splicingOff = composition_ == nullptr && atHalfLead && Setting(setting::HalfLeadSplicing, 0) == 0;
  if (loaded_ || splicingOff || nothingToLoad) {
    if (atHalfLead) ++cursor_;
    else cursor_ = 0;
  } else {
    LoadLine(atHalfLead);
  }
  if (!nothingToLoad) Post(event::TouchLoaded, TouchName());
  if (holding_) {
    rememberedMarker_ = 0;
    describeCountdown_ = handstroke_ ? 3 : 2;
  }
}

void ChangeGenerator::LoadLine(bool atHalfLead) {
  if (method_ != nullptr) {
    stage_ = method_->stage;
    const std::string special = composition_ != nullptr ? composition_->SpecialCalls(*method_) : std::string();
    const int halfLead = CompileLine(method_->line, special);
    cursor_ = (atHalfLead && halfLead >= 0) ? halfLead + 1 : 0;
    if (usage_ != nullptr) usage_->MethodRung(*method_);
  } else {
    stage_ = sequence_->stage;
    CompileLine(ToPlaceNotation(*sequence_), {});
    cursor_ = 0;
    if (usage_ != nullptr) usage_->SequenceRung(*sequence_);
  }
  loaded_ = true;
}

int ChangeGenerator::SetNotation(const std::string& line) { return CompileLine(line, {}); }

int ChangeGenerator::CompileLine(const std::string& line, const std::string& specialCalls) {
  const ExpandedLine expanded = ExpandLine(line, specialCalls);
  compiled_ = CompileNotation(expanded);
  callTable_ = CallTable();
  callTable_.AddCallsArea(expanded.callsArea);
  if (selectedCall_ >= callTable_.size()) selectedCall_ = 0;
  return expanded.halfLeadIndex;
}

// ---------------------------------------------------------------- events

bool ChangeGenerator::Silent() const { return owner_ == nullptr || owner_->IsSilent(); }

void ChangeGenerator::Post(int code, const std::string& text, int value) {
  if (Silent()) return;
  EngineEvent e;
  e.code = code;
  e.text = text;
  e.values[0] = value;
  owner_->PostEvent(std::move(e));
}

// The call of a call change is wanted even by a silent owner.
void ChangeGenerator::PostAlways(int code, const std::string& text) {
  if (owner_ == nullptr) return;
  EngineEvent e;
  e.code = code;
  e.text = text;
  owner_->PostEvent(std::move(e));
}

int ChangeGenerator::Setting(int index, int fallback) const {
  return settings_ != nullptr ? settings_->GetInt(index) : fallback;
}

int ChangeGenerator::TowerSetting(int index, int fallback) const {
  return settings_ != nullptr ? settings_->GetTowerInt(index) : fallback;
}

}  // namespace clangor
