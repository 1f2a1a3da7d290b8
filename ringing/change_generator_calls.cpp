// The change generator's calls: marked sections and the calls that replace
// them, call changes announced and called by hand, and the return to rounds.
#include <algorithm>
#include <numeric>

#include "ringing/bells.h"
#include "ringing/call_change_sequence.h"
#include "ringing/change_generator.h"
#include "ringing/composition_source.h"
#include "ringing/engine_event.h"

namespace clangor {

// ---------------------------------------------------------------- calls

bool ChangeGenerator::SelectCall(char letter) {
  if (letter == 0 || returnPoint_ >= 0) return false;
  const int index = callTable_.FindSelectable(letter);
  if (index < 0) return false;
  selectedCall_ = index;
  Post(event::CallSelected, callTable_.CallName(index), index);
  return true;
}

char ChangeGenerator::CompositionCallAt(char marker) {
  if (rememberedMarker_ != 0) {
    // After an "x" the next bob falls at the same marker, or at any default
    // call marker when the remembered one is a default marker too.
    const std::string& defaults = composition_->DefaultCallMarkers();
    const bool bothDefault = defaults.find(marker) != std::string::npos &&
                             defaults.find(rememberedMarker_) != std::string::npos;
    if (marker == rememberedMarker_ || bothDefault) {
      rememberedMarker_ = 0;
      return 'b';
    }
    return 'p';
  }
  const char letter = composition_->CallAt(currentRow_, marker, callTable_);
  if (letter == 'x') {
    rememberedMarker_ = marker;
    return 'b';
  }
  return letter;
}

void ChangeGenerator::StartMarkedSection(char marker) {
  if (composition_ != nullptr) SelectCall(CompositionCallAt(marker));
  inCallSection_ = true;
  if (callTable_.HasMarker(selectedCall_, marker)) {
    Post(event::CallMade, callTable_.CallName(selectedCall_), callTable_.CallLetter(selectedCall_));
    returnPoint_ = cursor_;
    if (selectedCall_ != 0) {
      // Go on into the call's segment of the calls area: the k-th segment
      // of this marker after the ",".
      const int length = static_cast<int>(compiled_.size());
      const int wanted = callTable_.CallSegment(marker, selectedCall_);
      int at = 0;
      while (at < length && compiled_[static_cast<std::size_t>(at)] != ',') ++at;
      for (int i = at + 1, seen = 0; i < length && seen < wanted; ++i) {
        if (compiled_[static_cast<std::size_t>(i)] == static_cast<std::uint8_t>(marker)) {
          cursor_ = i;
          ++seen;
        }
      }
    }
  }
  ++cursor_;
}

void ChangeGenerator::EndCallSection() {
  inCallSection_ = false;
  if (composition_ != nullptr && rememberedMarker_ == 0 && !composition_->ObservationFixed())
    composition_->SectionEnded(currentRow_);
  if (returnPoint_ < 0) {
    ++cursor_;  // the call waits for a marker where it can be made
    return;
  }
  // Back to the plain lead, after the closing marker of the section. A
  // section left open runs to the end of the plain lead.
  const auto marker = compiled_[static_cast<std::size_t>(returnPoint_)];
  const int length = static_cast<int>(compiled_.size());
  int i = returnPoint_ + 1;
  while (i < length && compiled_[static_cast<std::size_t>(i)] != ',' && compiled_[static_cast<std::size_t>(i)] != marker) ++i;
  cursor_ = (i < length && compiled_[static_cast<std::size_t>(i)] == marker) ? i + 1 : i;
  selectedCall_ = 0;
  returnPoint_ = -1;
  Post(event::CallFinished);
  announceCountdown_ = 1;
}

// ---------------------------------------------------------------- call changes

// The index of the change the cursor will ring next, starting the sequence
// again when it has ended; -1 when there is none.
int ChangeGenerator::PeekChange() const {
  const int length = static_cast<int>(compiled_.size());
  for (int pass = 0, i = cursor_; pass < 2; ++pass, i = 0) {
    while (i < length && (compiled_[static_cast<std::size_t>(i)] == '.' || compiled_[static_cast<std::size_t>(i)] == ' ')) ++i;
    if (i < length && compiled_[static_cast<std::size_t>(i)] != ',') return i;
  }
  return -1;
}

void ChangeGenerator::AnnounceNextCallChange() {
  const int at = PeekChange();
  if (at < 0) return;
  std::string change;
  for (auto i = static_cast<std::size_t>(at); i < compiled_.size(); ++i) {
    change.push_back(static_cast<char>(compiled_[i]));
    if (!IsPlaceByte(compiled_[i])) break;
  }
  PostAlways(event::ChangeCalled, CallText(nextRow_, change, std::min(stage_, bellCount_), callUp_ != 0));
}

std::string ChangeGenerator::CallChange(int bell, bool towardsBack, const std::vector<int>& numbers) {
  if (!holding_ || starting_ || returning_ || bell < 0 || bell >= bellCount_) return {};
  const auto found = std::find(currentRow_.begin(), currentRow_.end(), bell);
  const int p = static_cast<int>(found - currentRow_.begin());
  const int q = towardsBack ? p + 1 : p - 1;
  if (q < 0 || q >= bellCount_) return {};
  auto& pending = pendingChangeText_;
  const auto pi = static_cast<std::size_t>(p), qi = static_cast<std::size_t>(q);
  if (pending[pi] != BellChar(p) || pending[qi] != BellChar(q)) return {};  // one exchange per position
  std::swap(pending[pi], pending[qi]);

  std::string announcement;
  const auto number = [&](int i) {
    const auto b = static_cast<std::size_t>(currentRow_[static_cast<std::size_t>(i)]);
    return std::to_string(b < numbers.size() ? numbers[b] : static_cast<int>(b) + 1);
  };
  for (int i = 0; i + 1 < bellCount_;) {
    if (pending[static_cast<std::size_t>(i)] == BellChar(i)) {
      ++i;
      continue;
    }
    if (!announcement.empty()) announcement += ", ";
    if (towardsBack) announcement += number(i) + " to " + number(i + 1);
    else announcement += number(i + 1) + (i == 0 ? std::string(" lead") : " to " + number(i - 1));
    i += 2;
  }
  handChangePending_ = true;
  return announcement;
}

void ChangeGenerator::RingHandChange() {
  std::string change;
  for (int p = 0; p < bellCount_; ++p)
    if (pendingChangeText_[static_cast<std::size_t>(p)] == BellChar(p)) change.push_back(BellChar(p));
  if (change.empty()) change = "-";
  forcedHold_ = true;
  stage_ = bellCount_;
  SetNotation(change);
  Reset();
  announceCountdown_ = 2;
  pendingChangeText_ = RowText(Rounds(bellCount_));
  handChangePending_ = false;
}

// A change called by hand and not yet rung is forgotten: the touch moves on.
void ChangeGenerator::DropHandChange() {
  handChangePending_ = false;
  pendingChangeText_ = RowText(Rounds(bellCount_));
}

// ---------------------------------------------------------------- back to rounds

// From the end of the row being struck, every row exchanges the pairs of
// adjacent bells that stand in the wrong order (left to right, no bell twice),
// so each row is a true change and rounds comes within bellCount rows.
void ChangeGenerator::StartReturnToRounds() {
  returning_ = true;
  holding_ = true;
  starting_ = false;
  DropHandChange();
  // A composition asked for from a changed row waits for rounds; the one
  // being rung is dropped.
  if (!startAtRounds_) composition_ = nullptr;
  inCallSection_ = false;
  returnPoint_ = -1;
  selectedCall_ = 0;
  rememberedMarker_ = 0;
}

void ChangeGenerator::StepTowardsRounds() {
  if (IsRounds(currentRow_)) {
    returning_ = false;
    cursor_ = 0;
    std::iota(homewardSource_.begin(), homewardSource_.end(), 0);
    roundsRequested.store(false);
    Post(event::RoundsReached);
    if (startAtRounds_) {
      startAtRounds_ = false;
      StartTaken();
    }
    return;
  }
  std::iota(homewardSource_.begin(), homewardSource_.end(), 0);
  for (int p = 0; p + 1 < bellCount_;) {
    const auto i = static_cast<std::size_t>(p);
    if (currentRow_[i] > currentRow_[i + 1]) {
      std::swap(homewardSource_[i], homewardSource_[i + 1]);
      p += 2;
    } else {
      ++p;
    }
  }
}

}  // namespace clangor
