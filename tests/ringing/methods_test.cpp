// Well-known methods rung through the generator: plain course lengths and
// lead heads, and what a bob and a single do at the first lead end.
#include <gtest/gtest.h>

#include "tests/ringing/ringing_harness.h"

namespace clangor {
namespace {

using testing::RingLine;

struct MethodCase {
  const char* title;
  int stage;
  const char* line;
  int leadLength;
  int plainCourseRows;
  std::vector<std::string> leadHeads;  // the first lead heads of the plain course
  const char* bobLeadHead;             // after a bob at the first call; "" when not checked
  const char* singleLeadHead;
};

const MethodCase Methods[] = {
    {"Plain Bob Minimus", 4, "|2|&-14-14,|4|234", 8, 24, {"1342", "1423"}, "1234", "1324"},
    {"Plain Bob Doubles", 5, "|125|&5.1.5.1.5,|145|123", 10, 40, {"13524", "15432", "14253"}, "12354", "13245"},
    {"Plain Bob Minor", 6, "|2|&-16-16-16,|4|234", 12, 60, {"135264", "156342"}, "123564", "132564"},
    {"Plain Bob Triples", 7, "|127|&7.1.7.1.7.1.7,|147|123", 14, 84, {"1352746", "1573624"}, "1235746", "1324567"},
    {"Plain Bob Major", 8, "|2|&-18-18-18-18,|4|234", 16, 112, {"13527486", "15738264"}, "12357486", "13257486"},
    {"Plain Bob Maximus", 12, "|2|&-1T-1T-1T-1T-1T-1T,|4|234", 24, 264, {"13527496E8T0"}, "12357496E8T0", ""},
    {"Grandsire Doubles", 5, "3.1.5.1.5.1.5.1.|5.1|,|3.1|3.123", 10, 30, {"12534", "12453"}, "14523", "15423"},
    {"Grandsire Triples", 7, "3.1.7.1.7.1.7.1.7.1.7.1.|7.1|,|3.1|3.123", 14, 70,
     {"1253746", "1275634", "1267453", "1246375"}, "1752634", "1572634"},
    {"Cambridge Surprise Minor", 6, "|2|&-36-14-12-36-14-56,|4|234", 24, 120, {"156342", "142635"}, "135642", ""},
    {"Cambridge Surprise Major", 8, "|2|&-38-14-1258-36-14-58-16-78,|4|234", 32, 224, {"15738264", "18674523"},
     "13578264", "15378264"},
    {"Kent Treble Bob Minor", 6, "|16|&34-34.16-12-16-12-16,|14|1456", 24, 120, {"142635", "164523"}, "", ""},
    {"Kent Treble Bob Major", 8, "|18|&34-34.18-12-18-12-18-12-18,|14|1458", 32, 224, {"14263857", "16482735"}, "",
     ""},
    {"Double Norwich Court Bob Major", 8, "|18|&-14-36-58-18,|16|1678", 16, 112, {}, "", ""},
    {"Stedman Triples", 7, "3.1.|7|.3.1.3.1.3.|7|.1.3.1,|5|567", 12, 84, {}, "", ""},
};

TEST(Methods, PlainCoursesComeRoundWithTheirLeadHeads) {
  for (const MethodCase& m : Methods) {
    const auto touch = RingLine(m.line, m.stage);
    ASSERT_EQ(touch.end, TouchEnd::CameRound) << m.title;
    EXPECT_EQ(static_cast<int>(touch.rows.size()), m.plainCourseRows) << m.title;
    EXPECT_EQ(touch.rows.size() % static_cast<std::size_t>(m.leadLength), 0u) << m.title;
    for (std::size_t lead = 0; lead < m.leadHeads.size(); ++lead)
      EXPECT_EQ(touch.rows[(lead + 1) * static_cast<std::size_t>(m.leadLength) - 1], m.leadHeads[lead])
          << m.title << " lead " << lead + 1;
  }
}

TEST(Methods, BobsAndSinglesAtTheFirstLeadEnd) {
  for (const MethodCase& m : Methods) {
    const std::pair<const char*, const char*> calls[] = {{"b", m.bobLeadHead}, {"s", m.singleLeadHead}};
    for (const auto& [letter, leadHead] : calls) {
      if (*leadHead == 0) continue;
      const auto touch = RingLine(m.line, m.stage, letter, m.leadLength);
      ASSERT_GE(touch.rows.size(), 1u) << m.title;
      EXPECT_EQ(touch.rows.back(), leadHead) << m.title << " " << letter;
    }
  }
}

TEST(Methods, TouchesComeRoundAtTheirLengths) {
  struct Touch {
    const char* title;
    int stage;
    const char* line;
    const char* calls;
    int rows;
  };
  const Touch touches[] = {
      {"Plain Bob Minor, three bobs", 6, "|2|&-16-16-16,|4|234", "bbb", 36},
      {"Plain Bob Minimus, a bob", 4, "|2|&-14-14,|4|234", "b", 8},
      {"Plain Bob Major, five bobs at home", 8, "|2|&-18-18-18-18,|4|234", "bbbbb", 80},
  };
  for (const Touch& t : touches) {
    const auto touch = RingLine(t.line, t.stage, t.calls);
    EXPECT_EQ(touch.end, TouchEnd::CameRound) << t.title;
    EXPECT_EQ(static_cast<int>(touch.rows.size()), t.rows) << t.title;
  }
}

}  // namespace
}  // namespace clangor
