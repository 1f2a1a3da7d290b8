// Compositions rung through the change generator and compared, row for row,
// with the same touch worked out here lead by lead from the methods' place
// notation: padding to leads per course, definitions, "x", spliced labels
// and observation bells.
#include <gtest/gtest.h>

#include <map>

#include "ringing/composition_builder.h"
#include "tests/ringing/composition_ringer.h"

namespace clangor {
namespace {

using testing::IsTrue;
using testing::Ring;
using testing::RungTouch;

// One lead of a method, written out: the changes before the lead end, and
// the lead-end change of each call.
struct LeadWork {
  std::vector<std::string> body;
  std::map<char, std::string> leadEnd;  // 'p' plain, 'b' bob, 's' single
};

// The changes of a symmetrical lead: the half lead and its mirror.
std::vector<std::string> Mirrored(std::vector<std::string> half) {
  for (auto i = static_cast<int>(half.size()) - 2; i >= 0; --i) half.push_back(half[static_cast<std::size_t>(i)]);
  return half;
}

std::string Apply(std::string row, const std::string& change) {
  for (std::size_t p = 0; p + 1 < row.size();) {
    const bool placed = change != "x" && change.find(static_cast<char>('1' + p)) != std::string::npos;
    if (placed) {
      ++p;
    } else {
      std::swap(row[p], row[p + 1]);
      p += 2;
    }
  }
  return row;
}

const std::vector<std::string> Surprise = Mirrored({"x", "36", "x", "14", "x", "12", "x", "36", "x", "14", "x", "56"});
const std::map<char, LeadWork> Leads = {
    {'B', {Mirrored({"x", "18", "x", "18", "x", "18", "x", "18"}), {{'p', "12"}, {'b', "14"}, {'s', "1234"}}}},
    {'C', {Surprise, {{'p', "12"}, {'b', "14"}, {'s', "1234"}}}},
    {'P', {Surprise, {{'p', "16"}, {'b', "14"}, {'s', "1456"}}}},
};

// The rows of a touch written lead by lead: a capital names the method of
// the leads that follow, a small letter is one lead and its call. Stops at
// the rounds that end the touch.
std::vector<std::string> RowsOf(const std::string& script, int bells) {
  const std::string rounds = RowText(Rounds(bells));
  std::string row = rounds;
  std::vector<std::string> rows;
  const LeadWork* lead = nullptr;
  for (const char c : script) {
    if (c >= 'A' && c <= 'Z') {
      lead = &Leads.at(c);
      continue;
    }
    for (const std::string& change : lead->body) rows.push_back(row = Apply(row, change));
    rows.push_back(row = Apply(row, lead->leadEnd.at(c)));
    if (row == rounds) break;
  }
  return rows;
}

std::string Times(int n, const std::string& text) {
  std::string out;
  while (n-- > 0) out += text;
  return out;
}

class Shelf : public MethodFinder {
 public:
  const Method* FindMethod(const std::string& title, const std::bitset<MaxStage + 1>& stages) const override {
    for (const Method& m : methods_) {
      if (m.Title() == title && stages.test(static_cast<std::size_t>(m.stage))) return &m;
    }
    return nullptr;
  }

 private:
  const std::vector<Method> methods_ = {
      {8, "Plain Bob", "|12|&-18-18-18-18,|14|1234"},
      {6, "Cambridge Surprise", "|12|&-36-14-12-36-14-56,|14|1234"},
      {6, "Primrose Surprise", "|16|&-36-14-12-36-14-56,|14|1456"},
  };
};

struct Case {
  const char* what;
  CompositionFields fields;
  std::string leads;  // the touch, lead by lead (RowsOf)
  std::size_t length;
};

CompositionFields Fields(std::string bells, std::vector<std::string> methods, std::vector<std::string> lines,
                         std::string leadsPerCourse = "", std::string parts = "1", std::string observation = "") {
  CompositionFields fields;
  fields.bells = std::move(bells);
  fields.methods = std::move(methods);
  fields.lines = std::move(lines);
  fields.leadsPerCourse = std::move(leadsPerCourse);
  fields.parts = std::move(parts);
  fields.observation = std::move(observation);
  return fields;
}

const std::vector<std::string> Cambridge = {"Cambridge Surprise Minor:C", "Primrose Surprise Minor:P"};
const std::vector<std::string> Table = {"W  M  H", "=======", "      -", "      -", "      -"};

TEST(CompositionTruth, EachTouchRingsTheRowsOfItsLeads) {
  const Case cases[] = {
      {"three homes", Fields("8", {"Plain Bob Major"}, {"pppppp-", "pppppp-", "pppppp-"}), "B" + Times(3, "ppppppb"), 336},
      {"a definition, padded to the course",
       Fields("8", {"Plain Bob Major"}, {"A-", "A-", "A-", "A = ppp"}, "7"), "B" + Times(3, "pppbppp"), 336},
      {"a definition that fills the course",
       Fields("8", {"Plain Bob Major"}, {"A-", "A-", "A-", "A = pppppp"}, "7"), "B" + Times(3, "ppppppb"), 336},
      {"x rings two leads", Fields("8", {"Plain Bob Major"}, {"ppppx", "ppppx"}, "7"), "B" + Times(2, "ppppbbp"), 224},
      {"labels ring leads", Fields("6", Cambridge, {"C-P"}, "5", "-1"), Times(3, "CbPpppp"), 360},
      {"labels and calls", Fields("6", Cambridge, {"C-P-"}, "5", "-1"), Times(2, "CbPbppp"), 240},
      {"a label after a label", Fields("6", Cambridge, {"CP-C"}, "5", "-1"), Times(3, "CpPbCppp"), 360},
      {"the tenor observed", Fields("8", {"Plain Bob Major"}, Table, "", "1", "8"), "B" + Times(3, "ppppppb"), 336},
      {"the seventh observed", Fields("8", {"Plain Bob Major"}, Table, "", "1", "7"),
       "B" + Times(3, "pppppbp"), 336},
      {"the sixth observed, called at the first lead end", Fields("8", {"Plain Bob Major"}, Table, "", "1", "6"),
       "B" + Times(3, "bpppppp"), 336},
  };
  const Shelf shelf;
  const StandardHeadings headings = {{"8", "I:3 B:3 O:2 F:4 V:6 M:5 W:8 H:7"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto composition = BuildComposition(c.fields, &shelf, &headings);
    const Method* first = composition->FirstMethod();
    ASSERT_NE(first, nullptr);
    const std::vector<std::string> expected = RowsOf(c.leads, first->stage);
    ASSERT_EQ(expected.size(), c.length);
    ASSERT_TRUE(IsTrue(expected));
    const RungTouch touch = Ring(*composition, first, first->stage, 5000);
    EXPECT_TRUE(touch.cameRound);
    EXPECT_EQ(touch.rows.size(), c.length);
    EXPECT_TRUE(touch.rows == expected);
  }
}

}  // namespace
}  // namespace clangor
