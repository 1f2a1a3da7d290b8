// Compositions rung through the change generator: calls, splicing, tables of
// calling positions, parts, keep going, and touches that cannot go on.
#include <gtest/gtest.h>

#include "ringing/composition_builder.h"
#include "tests/ringing/composition_ringer.h"

namespace clangor {
namespace {

using testing::IsTrue;
using testing::Ring;
using testing::RungTouch;

// The methods, as the default library writes them.
class Shelf : public MethodFinder {
 public:
  Shelf() {
    const std::vector<Method> all = {
        {6, "Plain Bob", "|12|&-16-16-16,|14|1234"},
        {6, "Cambridge Surprise", "|12|&-36-14-12-36-14-56,|14|1234"},
        {6, "Primrose Surprise", "|16|&-36-14-12-36-14-56,|14|1456"},
        {8, "Plain Bob", "|12|&-18-18-18-18,|14|1234"},
        {7, "Grandsire", "3.1.7.1.7.1.7.1.7.1.7.1.|7.1|,|3.1|3.123"},
    };
    for (const Method& m : all) methods.push_back(std::make_unique<Method>(m));
  }
  const Method* FindMethod(const std::string& title, const std::bitset<MaxStage + 1>& stages) const override {
    for (const auto& m : methods) {
      if (m->Title() == title && stages.test(static_cast<std::size_t>(m->stage))) return m.get();
    }
    return nullptr;
  }
  std::vector<std::unique_ptr<Method>> methods;
};

struct Touch {
  Touch(std::string bells, std::vector<std::string> methods, std::vector<std::string> lines, std::string parts = "1",
        std::string leadsPerCourse = "", std::string keepGoing = "", std::string headings = "")
      : bells(std::move(bells)),
        methods(std::move(methods)),
        lines(std::move(lines)),
        parts(std::move(parts)),
        leadsPerCourse(std::move(leadsPerCourse)),
        keepGoing(std::move(keepGoing)),
        headings(std::move(headings)) {}
  std::string bells;
  std::vector<std::string> methods;
  std::vector<std::string> lines;
  std::string parts;
  std::string leadsPerCourse;
  std::string keepGoing;
  std::string headings;
  std::string halfLeadSplicing;
};

class CompositionRinging : public ::testing::Test {
 protected:
  RungTouch RingTouch(const Touch& t, int bells = 0) {
    CompositionFields fields;
    fields.bells = t.bells;
    fields.methods = t.methods;
    fields.lines = t.lines;
    fields.parts = t.parts;
    fields.leadsPerCourse = t.leadsPerCourse;
    fields.keepGoing = t.keepGoing;
    fields.headings = t.headings;
    fields.halfLeadSplicing = t.halfLeadSplicing;
    composition_ = BuildComposition(fields, &shelf_, &headings_);
    const Method* first = composition_->FirstMethod();
    return Ring(*composition_, first, bells > 0 ? bells : first->stage);
  }

  Shelf shelf_;
  StandardHeadings headings_ = {{"6", "I:3 B:3 O:2 F:4 W:6 H:5"},
                                {"8", "I:3 B:3 O:2 F:4 V:6 M:5 W:8 H:7"},
                                {"Left", "L:|7 R:|8"}};
  std::unique_ptr<Composition> composition_;
};

TEST_F(CompositionRinging, ThreePartExtentOfPlainBobMinor) {
  const RungTouch touch = RingTouch({"6", {"Plain Bob Minor"}, {"--pp--s--ppps--s-pps"}, "3"});
  EXPECT_TRUE(touch.cameRound);
  EXPECT_EQ(touch.rows.size(), 720u);
  EXPECT_TRUE(IsTrue(touch.rows));
  EXPECT_EQ(std::count(touch.calls.begin(), touch.calls.end(), 's'), 12);
}

TEST_F(CompositionRinging, WrittenFormsRingTheSameTouch) {
  // Each form of the calling rings exactly the rows of the plain form.
  const Touch plain = {"6", {"Plain Bob Minor"}, {"--pp--s--ppps--s-pps"}, "3"};
  const std::vector<Touch> forms = {
      {"6", {"Plain Bob Minor"}, {"2-2p2-s2-3ps2-s-2ps"}, "3"},                        // counts
      {"6", {"Plain Bob Minor"}, {"3(--pp--s--ppps--s-pps)"}},                         // a repeat group
      {"6", {"Plain Bob Minor"}, {"[--pp]:A --s A ps --s-pps", "", "# three parts"}, "3"},  // a named group
      {"6", {"Plain Bob Minor"}, {"P P P", "P = --pp--s--ppps--s-pps # one part"}},     // a definition
      {"6", {"Plain Bob Minor"}, {"{|-|-pp}--s--ppps--s-pps"}, "3"},                    // markers
      {"6", {"Plain Bob Minor"}, {"xpp--s--ppps--s-pps"}, "3"},                         // "x": a bob now and at the next marker
  };
  const std::vector<std::string> expected = RingTouch(plain).rows;
  for (const Touch& form : forms) {
    const RungTouch touch = RingTouch(form);
    EXPECT_EQ(touch.rows, expected) << form.lines[0];
  }
}

TEST_F(CompositionRinging, LeadsPerCoursePadEachLineWithPlainLeads) {
  const RungTouch padded = RingTouch({"6", {"Plain Bob Minor"}, {"-", "-", "-"}, "1", "5"});
  const RungTouch written = RingTouch({"6", {"Plain Bob Minor"}, {"-pppp -pppp -pppp"}});
  EXPECT_EQ(padded.rows, written.rows);
  EXPECT_EQ(padded.calls, (std::vector<char>{'b', 'b', 'b'}));
}

TEST_F(CompositionRinging, TablesOfCallingPositions) {
  // Bobs at Home: three courses of Plain Bob Major.
  const std::vector<Touch> touches = {
      {"8", {"Plain Bob Major"}, {"W  M  H", "=======", "      -", "      -", "      -"}},
      {"8", {"Plain Bob Major"}, {"  23456  W  M  H", "  ==============", "  42356        -", "  34256        -",
                                  "  23456        -"}},
      {"8", {"Plain Bob Major"}, {"W  M  H", "=======", "      -", "      -", "      -"}, "1", "7"},
      {"8", {"Plain Bob Major"}, {"W  M  H", "=======", "      3"}},  // a count at one position
      {"8", {"Plain Bob Major"}, {"W  M  H", "=======", "      -"}, "-1"},
  };
  for (const Touch& t : touches) {
    const RungTouch touch = RingTouch(t);
    EXPECT_TRUE(touch.cameRound) << t.lines[2] << " " << t.headings;
    EXPECT_EQ(touch.rows.size(), 336u) << t.lines[2];
    EXPECT_TRUE(IsTrue(touch.rows));
    EXPECT_EQ(touch.calls.size(), 3u);
  }
}

TEST_F(CompositionRinging, QuarterInATableOfWrongMiddleAndHome) {
  const RungTouch touch = RingTouch({"8",
                                     {"Plain Bob Major"},
                                     {"   W  M  H", "   =======", "4( -  -  -", ")", "      -  -", "4( -  -  -", ")",
                                      "         -", "   -     -", "      -  -"}});
  EXPECT_TRUE(touch.cameRound);
  EXPECT_EQ(touch.rows.size(), 1344u);
  EXPECT_TRUE(IsTrue(touch.rows));
}

TEST_F(CompositionRinging, MarkerRestrictedPosition) {
  // Special headings: "R" is made only at the marker "|"; a calling position
  // tied to a marker the method lacks is never called.
  const RungTouch at = RingTouch({"8", {"Plain Bob Major"}, {"W  M  R", "=======", "      -"}, "-1", "", "", "W:8 M:5 R:|7"});
  EXPECT_EQ(at.rows.size(), 336u);
  const RungTouch never = RingTouch({"8", {"Plain Bob Major"}, {"W  M  R", "=======", "      -"}, "1", "", "", "W:8 M:5 R:/7"});
  EXPECT_EQ(never.rows.size(), 112u);  // the plain course
  EXPECT_TRUE(never.calls.empty());
}

TEST_F(CompositionRinging, KeepGoingRingsTheCallingAgainThroughRounds) {
  const RungTouch touch =
      RingTouch({"8", {"Plain Bob Major"}, {"W  M  H", "=======", "      -", "      -", "      -"}, "1", "", "1"});
  EXPECT_TRUE(touch.cameRound);
  ASSERT_EQ(touch.rows.size(), 672u);
  EXPECT_EQ(touch.rows[335], "12345678");
}

TEST_F(CompositionRinging, SplicedAtLeadEndsAndHalfLeads) {
  const Touch spliced = {"6", {"Cambridge Surprise Minor:C", "Primrose Surprise Minor:P"}, {"C-P-C-P-"}};
  const RungTouch touch = RingTouch(spliced);
  std::vector<std::string> leads;
  for (const std::string& title : touch.loaded) {
    if (leads.empty() || leads.back() != title) leads.push_back(title);
  }
  ASSERT_GE(leads.size(), 4u);
  EXPECT_EQ(leads[0], "Cambridge Surprise Minor");
  EXPECT_EQ(leads[1], "Primrose Surprise Minor");
  EXPECT_EQ(leads[2], "Cambridge Surprise Minor");
  EXPECT_EQ(leads[3], "Primrose Surprise Minor");
  EXPECT_EQ(touch.calls.size(), 4u);

  // Labels of differing lengths are separated by ",". Without half-lead
  // splicing a method changes only at lead ends (every 24 rows).
  const RungTouch commas = RingTouch({"6", {"Cambridge Surprise Minor:Cam", "Primrose Surprise Minor:P"}, {"Cam -,P -,Cam -,P -"}});
  EXPECT_EQ(commas.rows, touch.rows);
  const RungTouch joined = RingTouch({"6", {"Cambridge Surprise Minor:Cam", "Primrose Surprise Minor:P"}, {"Cam-P-,Cam- P-"}});
  EXPECT_EQ(joined.rows, touch.rows);

  Touch half = spliced;
  half.halfLeadSplicing = "Yes";
  half.lines = {"CP"};
  const RungTouch halves = RingTouch(half);
  // The second method takes over at the first half lead: the rows differ
  // from the lead of Cambridge after 12 rows.
  ASSERT_GT(halves.rows.size(), 24u);
  EXPECT_EQ(std::vector<std::string>(halves.rows.begin(), halves.rows.begin() + 12),
            std::vector<std::string>(touch.rows.begin(), touch.rows.begin() + 12));
  EXPECT_NE(halves.rows[23], touch.rows[23]);
}

TEST_F(CompositionRinging, SpecialCallsReplaceTheMethodsCalls) {
  // A bob defined as the plain lead end: bobs everywhere ring the plain course.
  const RungTouch touch = RingTouch({"6", {"Plain Bob Minor,|12"}, {"-"}, "-1"});
  EXPECT_TRUE(touch.cameRound);
  EXPECT_EQ(touch.rows.size(), 60u);
  EXPECT_EQ(touch.calls.size(), 5u);
}

TEST_F(CompositionRinging, TouchesThatCannotGoOnRingPlainLeadsAndComeRound) {
  const std::vector<Touch> broken = {
      {"6", {"Plain Bob Minor"}, {"qqq"}},                     // a call the method does not have
      {"6", {"Plain Bob Minor"}, {"A", "A = A"}},              // a definition that calls only itself
      {"6", {"Plain Bob Minor"}, {"(:A A"}},                   // unbalanced
      {"6", {"Plain Bob Minor:C", "Nowhere Minor:N"}, {"CNNN"}},  // a label without a method
      {"6", {"Plain Bob Minor"}, {"W H", "===", "- -"}, "1", "", "", "W:9 H:0"},  // positions beyond the bells
  };
  for (const Touch& t : broken) {
    const RungTouch touch = RingTouch(t);
    EXPECT_TRUE(touch.cameRound) << t.lines[0];
    EXPECT_EQ(touch.rows.size(), 60u) << t.lines[0];
  }
  // Parts without end and no calls: the plain course still comes round.
  EXPECT_EQ(RingTouch({"6", {"Plain Bob Minor"}, {"()"}, "-1"}).rows.size(), 60u);
}

// Nested counts multiply out to a million million calls: dropping those of a
// course that ends early, or those under a position beyond the bells, must
// cost the text written, not the count.
TEST_F(CompositionRinging, HugeRepeatCountsAreDroppedAtTheCostOfTheirText) {
  const std::string huge = "10000(10000(10000-))";
  const std::vector<Touch> touches = {
      {"6", {"Plain Bob Minor"}, {"W", "===", huge}, "1", "", "", "W:9"},   // a position beyond the bells
      {"6", {"Plain Bob Minor"}, {"W", "===", huge}, "1", "5", "", "W:1"},  // courses of five leads
      {"6", {"Plain Bob Minor"}, {"W", "===", "3(" + huge + ")", "p"}, "2", "5", "", "W:1"},
  };
  for (const Touch& t : touches) {
    const RungTouch touch = RingTouch(t);
    EXPECT_TRUE(touch.cameRound) << t.lines[2] << " " << t.headings;
    EXPECT_EQ(touch.rows.size(), 60u) << t.lines[2];
  }
}

// Parts times keep going once overflowed: 2^30 parts rung four times came
// to no times at all, and the calling was never rung.
TEST_F(CompositionRinging, PartsTimesKeepGoingIsHeldToTheLargestCount) {
  const RungTouch touch = RingTouch({"6", {"Plain Bob Minor"}, {"-"}, "1073741824", "", "3"});
  EXPECT_FALSE(touch.calls.empty());
}

TEST_F(CompositionRinging, GrandsireTriplesOnEightWithACover) {
  const RungTouch touch = RingTouch({"7", {"Grandsire Triples"}, {"p"}, "-1"}, 8);
  EXPECT_EQ(touch.rows.size(), 70u);
  EXPECT_TRUE(touch.cameRound);
  for (const std::string& row : touch.rows) EXPECT_EQ(row.back(), '8');
}

}  // namespace
}  // namespace clangor

namespace clangor {
namespace {

// Scrambled calling, made from the characters the reading position treats
// specially: reading and ringing always end.
TEST(CompositionScrambled, ReadingAndRingingAlwaysEnd) {
  const std::string alphabet = "()[]{}:AB=#-psx|/\\0123456789 *,~CWH\xff";
  const Method method{6, "Plain Bob", "|12|&-16-16-16,|14|1234/14"};
  std::uint32_t seed = 12345;
  const auto next = [&seed](std::uint32_t bound) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % bound;
  };
  for (int round = 0; round < 200; ++round) {
    CompositionFields fields;
    fields.bells = "6";
    fields.parts = round % 3 == 0 ? "-1" : "2";
    fields.leadsPerCourse = round % 4 == 0 ? "5" : "";
    fields.headings = "W:6 H:5 w*:p-x a,:9";
    const int lines = 1 + static_cast<int>(next(4));
    for (int l = 0; l < lines; ++l) {
      std::string line;
      const int length = static_cast<int>(next(30));
      for (int i = 0; i < length; ++i) line += alphabet[next(static_cast<std::uint32_t>(alphabet.size()))];
      fields.lines.push_back(line);
    }
    if (round % 5 == 0) fields.lines.insert(fields.lines.begin() + 1, "=====");
    auto composition = BuildComposition(fields, nullptr, nullptr);
    composition->labelToMethod["C"] = &method;
    composition->labelLength = 1;
    const testing::RungTouch touch = testing::Ring(*composition, &method, 6, 3000);
    EXPECT_FALSE(touch.rows.empty()) << fields.lines[0];
  }
}

}  // namespace
}  // namespace clangor
