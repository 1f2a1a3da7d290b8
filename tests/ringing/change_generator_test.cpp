// The change generator's behaviour as the striking clock sees it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "ringing/bells.h"
#include "ringing/composition_source.h"
#include "ringing/usage_order.h"
#include "tests/ringing/ringing_harness.h"

namespace clangor {
namespace {

using testing::RingLine;
using testing::RowsOf;
using testing::StrikeBlows;

const Method PlainBobMinor{6, "Plain Bob", "|2|&-16-16-16,|4|234"};
const Method CambridgeMinor{6, "Cambridge Surprise", "|2|&-36-14-12-36-14-56,|4|234"};

// A generator on `bells` bells with its log, settings and ideal striking.
struct Ringing {
  // The generator reads its settings when it is made.
  explicit Ringing(int bells, MemorySettings given = {}, bool silent = false)
      : settings(std::move(given)), log(silent), generator(bells, &log, &settings), striking(generator) {}
  std::vector<EngineEvent> Blows(int blows) { return StrikeBlows(log, striking, blows); }
  std::vector<EngineEvent> Rows(int rows) { return Blows(rows * generator.bellCount()); }

  MemorySettings settings;
  EventLog log;
  ChangeGenerator generator;
  IdealStriking striking;
};

TEST(ChangeGenerator, OneBellAlternatesTheStroke) {
  ChangeGenerator generator(1, nullptr, nullptr);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(generator.NextStrike(0), 1);
    EXPECT_EQ(generator.handstroke(), i % 2 == 1);
  }
}

TEST(ChangeGenerator, ChangesBeginAtAHandstrokeRow) {
  // Whenever the method is set, the first changed row is a handstroke row:
  // the bells pull off at handstroke, so handstrokes are the even rows.
  for (int blows = 0; blows < 30; ++blows) {
    Ringing r(6);
    auto events = r.Blows(blows);
    r.generator.SetMethod(&PlainBobMinor);
    for (auto& e : r.Rows(8)) events.push_back(e);
    auto rows = RowsOf(events);
    // The first blow publishes the row the generator was created with, before
    // the first row struck.
    ASSERT_FALSE(rows.empty());
    rows.erase(rows.begin());
    const auto first = std::find_if(rows.begin(), rows.end(), [](const std::string& row) { return row != "123456"; });
    ASSERT_NE(first, rows.end()) << blows;
    EXPECT_EQ(*first, "214365") << blows;
    EXPECT_EQ((first - rows.begin()) % 2, 0) << "after " << blows << " blows";
  }
}

TEST(ChangeGenerator, RowEventsCarryThePositionsChanged) {
  Ringing r(6);
  r.generator.SetMethod(&PlainBobMinor);
  const auto events = r.Rows(16);
  std::map<std::string, int> changed;
  for (const auto& e : events)
    if (e.code == event::RowRung) changed[e.text] = e.values[0];
  EXPECT_EQ(changed["214365"], 6);
  EXPECT_EQ(changed["241635"], 4);  // places 1 and 6
  EXPECT_EQ(changed["135264"], 4);  // the lead end, places 1 and 2
}

TEST(ChangeGenerator, WholePullsRingEachChangeTwiceAndPublishItOnce) {
  MemorySettings wholePulls;
  wholePulls.SetTowerInt(tower_setting::WholePullChanges, 1);
  Ringing once(6), twice(6, wholePulls);
  once.generator.SetMethod(&PlainBobMinor);
  twice.generator.SetMethod(&PlainBobMinor);
  auto count = [](Ringing& r) {
    std::vector<std::string> rows;
    long blows = 0;
    while (!r.generator.stopRequested() && blows < 100000) {
      for (const auto& row : RowsOf(r.Blows(1))) rows.push_back(row);
      ++blows;
    }
    rows.erase(std::remove(rows.begin(), rows.end(), "123456"), rows.end());
    return std::make_pair(rows, blows);
  };
  const auto [onceRows, onceBlows] = count(once);
  const auto [twiceRows, twiceBlows] = count(twice);
  EXPECT_EQ(onceRows.size(), 59u);
  EXPECT_EQ(twiceRows, onceRows);
  EXPECT_NEAR(static_cast<double>(twiceBlows) / static_cast<double>(onceBlows), 2.0, 0.1);
}

TEST(ChangeGenerator, ActionAtRounds) {
  struct Case {
    int action;
    int keepGoing;
    int roundsBeforeStop;  // come-rounds passed before the stop request; -1 when none comes
    bool holdsRounds;
  };
  const Case cases[] = {{2, 0, 0, true}, {2, 2, 2, true}, {1, 0, -1, true}, {0, 0, -1, false}};
  for (const Case& c : cases) {
    MemorySettings settings;
    settings.SetInt(setting::ActionAtRounds, c.action);
    settings.SetInt(setting::KeepGoingCount, c.keepGoing);
    Ringing r(6, settings);
    r.generator.SetMethod(&PlainBobMinor);
    int roundsSeen = 0;
    int stoppedAfter = -1;
    for (int row = 0; row < 60 * 4 + 4; ++row) {
      for (const auto& text : RowsOf(r.Rows(1)))
        if (text == "123456" && !r.generator.starting() && row > 2) ++roundsSeen;
      if (r.generator.stopRequested() && stoppedAfter < 0) stoppedAfter = roundsSeen;
    }
    EXPECT_EQ(stoppedAfter, c.roundsBeforeStop) << "action " << c.action << " keep going " << c.keepGoing;
    EXPECT_EQ(r.generator.holding(), c.holdsRounds) << "action " << c.action;
  }
}

TEST(ChangeGenerator, NewPreferencesReachTheTouchBeingRung) {
  struct Case {
    int action, keepGoing;        // when the generator is made
    int newAction, newKeepGoing;  // confirmed a lead into the touch
    int roundsBeforeStop;
  };
  const Case cases[] = {{2, 0, 0, 0, -1}, {0, 0, 2, 1, 1}, {2, 3, 2, 0, 0}};
  for (const Case& c : cases) {
    MemorySettings settings;
    settings.SetInt(setting::ActionAtRounds, c.action);
    settings.SetInt(setting::KeepGoingCount, c.keepGoing);
    Ringing r(6, settings);
    r.generator.SetMethod(&PlainBobMinor);
    r.Rows(14);
    r.generator.SetActionAtRounds(c.newAction, c.newKeepGoing);
    int roundsSeen = 0;
    int stoppedAfter = -1;
    for (int row = 0; row < 60 * 3; ++row) {
      for (const auto& text : RowsOf(r.Rows(1)))
        if (text == "123456") ++roundsSeen;
      if (r.generator.stopRequested() && stoppedAfter < 0) stoppedAfter = roundsSeen;
    }
    EXPECT_EQ(stoppedAfter, c.roundsBeforeStop) << c.action << "/" << c.keepGoing << " then " << c.newAction;
  }
}

TEST(ChangeGenerator, ACallSectionEndingTheNotationReturnsToThePlainLead) {
  // The single's segment runs to the end of the line: ringing goes on after
  // the closing marker of the lead end, and the next lead starts normally.
  const auto touch = RingLine(PlainBobMinor.line, 6, "s", 14);
  ASSERT_EQ(touch.rows.size(), 14u);
  EXPECT_EQ(touch.rows[11], "132564");
  EXPECT_EQ(touch.rows[12], "315246");
  EXPECT_EQ(touch.rows[13], "351426");
}

TEST(ChangeGenerator, CallsPostTheirEvents) {
  Ringing r(6);
  r.generator.SetMethod(&PlainBobMinor);
  auto events = r.Rows(3);
  EXPECT_TRUE(r.generator.SelectCall('-'));
  EXPECT_EQ(r.generator.callTable().CallName(r.generator.selectedCall()), "Bob");
  for (auto& e : r.Rows(14)) events.push_back(e);

  std::vector<int> codes;
  for (const auto& e : events)
    if (e.code != event::RowRung) codes.push_back(e.code);
  // selected, loaded, described, bob selected, half lead, bob made at the
  // lead end, finished, the next lead, the next call announced
  const std::vector<int> expected = {event::TouchSelected, event::TouchLoaded,   event::TouchDescribed,
                                     event::CallSelected,  event::TouchLoaded,   event::CallMade,
                                     event::CallFinished,  event::TouchLoaded,   event::CallOpportunity};
  EXPECT_EQ(codes, expected);
  const auto made = std::find_if(events.begin(), events.end(), [](const EngineEvent& e) { return e.code == event::CallMade; });
  EXPECT_EQ(made->text, "Bob");
  EXPECT_EQ(made->values[0], 'b');
  const auto rows = RowsOf(events);
  EXPECT_NE(std::find(rows.begin(), rows.end(), "123564"), rows.end());
  EXPECT_EQ(std::find(rows.begin(), rows.end(), "135264"), rows.end());
  const auto selected = std::find_if(events.begin(), events.end(), [](const EngineEvent& e) { return e.code == event::CallSelected; });
  EXPECT_EQ(selected->values[0], 1);  // the call's index: 0 would be the plain lead
}

TEST(ChangeGenerator, SelectCallRefusals) {
  Ringing r(6);
  r.generator.SetMethod(&PlainBobMinor);
  EXPECT_FALSE(r.generator.SelectCall(0));
  EXPECT_FALSE(r.generator.SelectCall('z'));
  EXPECT_TRUE(r.generator.SelectCall('s'));
  EXPECT_FALSE(r.generator.SelectCall('q'));
  EXPECT_EQ(r.generator.selectedCall(), 2);  // a refused letter keeps the selection
}

TEST(ChangeGenerator, ASilentOwnerHearsOnlyTheCallsOfCallChanges) {
  const CallChangeSequence sequence{6, "Down and back", "2.3"};
  Ringing r(6, {}, /*silent=*/true);
  r.generator.SetSequence(&sequence);
  const auto events = r.Rows(12);
  ASSERT_FALSE(events.empty());
  for (const auto& e : events) EXPECT_EQ(e.code, event::ChangeCalled);
}

TEST(ChangeGenerator, CallChangeSequencesRingInWholePullsAndComeRound) {
  const CallChangeSequence sequence{6, "Down and back", "2.3"};
  Ringing r(6);
  r.generator.SetSequence(&sequence);
  const auto events = r.Rows(12);
  std::vector<std::string> changed;
  for (const auto& row : RowsOf(events))
    if (row != "123456" || !changed.empty()) changed.push_back(row);
  ASSERT_GE(changed.size(), 2u);
  EXPECT_EQ(changed[0], "132456");
  EXPECT_EQ(changed[1], "123456");
  EXPECT_TRUE(r.generator.stopRequested());

  std::vector<std::string> calls;
  for (const auto& e : events)
    if (e.code == event::ChangeCalled) calls.push_back(e.text);
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[0], "2 to 3");  // called up by default
  EXPECT_EQ(calls[1], "3 to 2");
}

TEST(ChangeGenerator, ASequenceWaitsForTheMethodToEnd) {
  const CallChangeSequence sequence{6, "Down and back", "2.3"};
  Ringing r(6);
  r.generator.SetMethod(&PlainBobMinor);
  r.generator.SetSequence(&sequence);
  EXPECT_EQ(r.generator.sequence(), nullptr);
}

TEST(ChangeGenerator, HandCalledChanges) {
  Ringing r(6);
  r.Rows(3);
  EXPECT_EQ(r.generator.CallChange(1, true), "2 to 3");
  EXPECT_EQ(r.generator.CallChange(2, false), "");  // position 2 is already taken
  EXPECT_EQ(r.generator.CallChange(0, false), "");  // nothing in front of the lead
  EXPECT_EQ(r.generator.CallChange(5, true), "");   // nothing behind the last
  EXPECT_EQ(r.generator.CallChange(3, true), "2 to 3, 4 to 5");
  EXPECT_EQ(r.generator.pendingChangeText(), "132546");
  const auto rows = RowsOf(r.Rows(8));
  const auto first = std::find(rows.begin(), rows.end(), "132546");
  ASSERT_NE(first, rows.end());
  // Rung at a handstroke and held after.
  for (auto it = first; it != rows.end(); ++it) EXPECT_EQ(*it, "132546");
  EXPECT_TRUE(r.generator.holding());
  EXPECT_EQ(r.generator.pendingChangeText(), "123456");

  // Called down: the bell moving up names the bell it follows, or "lead".
  EXPECT_EQ(r.generator.CallChange(2, false), "3 lead");
  EXPECT_EQ(r.generator.CallChange(4, false), "3 lead, 5 to 3");
}

TEST(ChangeGenerator, HandCallsAreRefusedWhileChanging) {
  Ringing r(6);
  r.generator.SetMethod(&PlainBobMinor);
  r.Rows(4);
  EXPECT_EQ(r.generator.CallChange(1, true), "");
}

TEST(ChangeGenerator, RoundsBySingleSteps) {
  Ringing r(8);
  const Method plainBobMajor{8, "Plain Bob", "|2|&-18-18-18-18,|4|234"};
  r.generator.SetMethod(&plainBobMajor);
  r.Rows(21);
  r.generator.roundsRequested = true;
  std::vector<std::string> rows;
  bool reached = false;
  for (int row = 0; row < 20 && !reached; ++row) {
    for (const auto& e : r.Rows(1)) {
      if (e.code == event::RowRung) rows.push_back(e.text);
      if (e.code == event::RoundsReached) reached = true;
    }
  }
  ASSERT_TRUE(reached);
  EXPECT_FALSE(r.generator.roundsRequested);
  EXPECT_TRUE(r.generator.holding());
  EXPECT_FALSE(r.generator.stopRequested());
  // Every row is a change from the one before: no bell moves more than one
  // place, and rounds comes within eight rows of the request.
  int homeward = 0;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    for (std::size_t p = 0; p < 8; ++p) {
      const auto was = rows[i - 1].find(rows[i][p]);
      EXPECT_LE(std::max(was, p) - std::min(was, p), 1u) << rows[i - 1] << " -> " << rows[i];
    }
    if (rows[i] == "12345678") break;
    ++homeward;
  }
  EXPECT_LE(homeward, 10);
  const auto later = RowsOf(r.Rows(4));
  for (const auto& row : later) EXPECT_EQ(row, "12345678");
}

// A composition that rings the methods it is given, one per lead, and
// answers one letter at each marker.
class ScriptedComposition : public CompositionSource {
 public:
  ScriptedComposition(std::vector<const Method*> leads, std::string callsAtMarkers)
      : leads_(std::move(leads)), calls_(std::move(callsAtMarkers)) {}
  const Method* NextMethod(bool atHalfLead) override {
    ++(atHalfLead ? halfLeadsAsked : leadEndsAsked);
    if (atHalfLead) return nullptr;
    return leads_[static_cast<std::size_t>(leadEndsAsked) % leads_.size()];
  }
  char CallAt(const Row&, char, const CallTable&) override {
    const std::size_t at = static_cast<std::size_t>(callAtAsked++);
    return at < calls_.size() ? calls_[at] : 'p';
  }
  void SectionEnded(const Row&) override { ++sectionsEnded; }
  void Restart(const Method*, const Row&) override { ++restarts; }
  int KeepGoing() const override { return 0; }
  const std::string& DefaultCallMarkers() const override { return markers_; }
  bool ObservationFixed() const override { return false; }
  std::string SpecialCalls(const Method&) const override { return {}; }

  int leadEndsAsked = 0, halfLeadsAsked = 0, callAtAsked = 0, sectionsEnded = 0, restarts = 0;

 private:
  std::vector<const Method*> leads_;
  std::string calls_;
  std::string markers_ = "|";
};

TEST(ChangeGenerator, CompositionsChooseTheMethodOfEachLead) {
  ScriptedComposition spliced({&PlainBobMinor, &CambridgeMinor}, "");
  Ringing r(6);
  r.generator.SetComposition(&spliced);
  r.generator.SetMethod(&PlainBobMinor);
  const auto events = r.Rows(12 + 24 + 3);
  EXPECT_EQ(spliced.restarts, 1);
  const auto rows = RowsOf(events);
  const auto lead = std::find(rows.begin(), rows.end(), "135264");
  ASSERT_NE(lead, rows.end());
  // The second lead is Cambridge from 135264: its first change is the cross, then 36.
  EXPECT_EQ(*(lead + 1), "312546");
  EXPECT_EQ(*(lead + 2), "132456");
  std::vector<std::string> loaded;
  for (const auto& e : events)
    if (e.code == event::TouchLoaded) loaded.push_back(e.text);
  EXPECT_NE(std::find(loaded.begin(), loaded.end(), "Cambridge Surprise Minor"), loaded.end());
  EXPECT_GE(spliced.halfLeadsAsked, 1);  // asked, and its none keeps the method
}

TEST(ChangeGenerator, AnXBobsHereAndAtTheSameMarkerNext) {
  // "x" makes a bob and the next bob without asking the composition again.
  ScriptedComposition touch({&PlainBobMinor}, "xp");
  Ringing r(6);
  r.generator.SetComposition(&touch);
  r.generator.SetMethod(&PlainBobMinor);
  const auto events = r.Rows(12 * 3 + 2);
  EXPECT_EQ(touch.callAtAsked, 2);  // asked at the first and third lead ends only
  std::vector<std::string> made;
  for (const auto& e : events)
    if (e.code == event::CallMade) made.push_back(e.text);
  ASSERT_GE(made.size(), 3u);
  EXPECT_EQ(made[0], "Bob");
  EXPECT_EQ(made[1], "Bob");
  EXPECT_EQ(made[2], "Plain");
  EXPECT_EQ(touch.sectionsEnded, 2);  // not told at the "x", while the marker is remembered
}

class UsageSpy : public UsageOrder {
 public:
  void MethodRung(const Method& method) override { methods.push_back(method.Title()); }
  void SequenceRung(const CallChangeSequence& sequence) override { sequences.push_back(sequence.name); }
  std::vector<std::string> methods, sequences;
};

TEST(ChangeGenerator, TheLibraryHearsWhatIsLoaded) {
  UsageSpy usage;
  EventLog log;
  ChangeGenerator generator(6, &log, nullptr, &usage);
  generator.SetMethod(&PlainBobMinor);
  IdealStriking striking(generator);
  for (int i = 0; i < 6 * 30; ++i) striking.Strike();
  EXPECT_EQ(usage.methods, std::vector<std::string>{"Plain Bob Minor"});  // loaded once; later leads reuse it
}

TEST(ChangeGenerator, ChangesWrittenWithoutSeparators) {
  // -14- is three changes; 14.36 and 14 36 are the same two.
  EXPECT_EQ(RingLine("-14-", 4, "", 3).rows, (std::vector<std::string>{"2143", "2413", "4231"}));
  EXPECT_EQ(RingLine("14.36", 6, "", 2).rows, RingLine("14 36", 6, "", 2).rows);
}

TEST(ChangeGenerator, CoversKeepTheirPlaces) {
  const auto touch = RingLine(PlainBobMinor.line, 6, "", 100, 8);
  EXPECT_EQ(touch.end, TouchEnd::CameRound);
  EXPECT_EQ(touch.rows.size(), 60u);
  for (const auto& row : touch.rows) EXPECT_EQ(row.substr(6), "78");
}

// Lines as hand-edited library files hold them: whatever the text, ringing
// never reads outside the line, every row stays a row, and nothing hangs.
TEST(ChangeGenerator, AnyLineRingsRows) {
  const std::string alphabet = "1234567890ETABCDFG-.:&,|/\\ x:e";
  unsigned seed = 12345;
  auto next = [&] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7fff;
  };
  for (int trial = 0; trial < 400; ++trial) {
    const int stage = 3 + static_cast<int>(next() % 16);
    const int bells = std::min(MaxBells, 3 + static_cast<int>(next() % 16));
    std::string line;
    const int length = static_cast<int>(next() % (trial % 10 == 0 ? 300 : 40));
    for (int i = 0; i < length; ++i) line.push_back(alphabet[next() % alphabet.size()]);
    const Method method{stage, "Fuzz", line};
    EventLog log;
    MemorySettings settings;
    ChangeGenerator generator(bells, &log, &settings);
    generator.SetMethod(&method);
    IdealStriking striking(generator);
    for (int blow = 0; blow < bells * 80; ++blow) {
      striking.Strike();
      if (blow % 7 == 0) generator.SelectCall("bsxe-"[next() % 5]);
    }
    for (const auto& e : log.events()) {
      if (e.code != event::RowRung) continue;
      std::string sorted = e.text;
      std::sort(sorted.begin(), sorted.end());
      std::string rounds = RowText(Rounds(bells));
      std::sort(rounds.begin(), rounds.end());
      ASSERT_EQ(sorted, rounds) << "line \"" << line << "\" stage " << stage << " on " << bells;
    }
  }
}

}  // namespace
}  // namespace clangor
