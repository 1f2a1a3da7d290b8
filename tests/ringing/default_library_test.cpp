// The default library as shipped in data/compendium: the files keep the
// library layout, every method comes round in its plain course without
// repeating a row, its bobs and singles change the lead they are made in, the
// standard extents come round true, and every call-change sequence reaches
// the row it is named after and comes back to rounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ringing/bells.h"
#include "ringing/call_change_sequence.h"
#include "ringing/change_generator.h"
#include "ringing/event_log.h"
#include "ringing/lead_calls.h"
#include "ringing/memory_settings.h"
#include "ringing/method.h"
#include "ringing/touch_rows.h"

namespace clangor {
namespace {

constexpr long MaxRows = 20000;

std::string DataPath(const std::string& file) {
  const char* root = std::getenv("CLANGOR_SOURCE_DIR");
  return std::string(root ? root : ".") + "/data/compendium/" + file;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct Entry {
  int stage = 0;
  std::string name;
  std::string text;  // the method's line or the sequence's notation
};

// The entries of a library file, read by the loader's rules: header lines
// up to the first "[", then "[stage]" sections of name=text lines.
std::vector<Entry> ReadEntries(const std::string& path) {
  std::vector<Entry> entries;
  int stage = 0;
  for (const std::string& line : ReadLines(path)) {
    if (line.empty()) continue;
    if (line[0] == '[') {
      stage = std::atoi(line.c_str() + 1);
      continue;
    }
    const auto equals = line.find('=');
    if (stage < MinStage || stage > MaxStage || equals == std::string::npos) continue;
    entries.push_back({stage, line.substr(0, equals), line.substr(equals + 1)});
  }
  return entries;
}

struct Touch {
  TouchEnd end = TouchEnd::TooLong;
  std::vector<std::string> rows;
};

Touch Ring(int bells, const std::function<void(ChangeGenerator&)>& start, const std::string& calls = "",
           long maxRows = MaxRows) {
  MemorySettings settings;
  EventLog log;
  ChangeGenerator generator(bells, &log, &settings);
  LeadCalls leadCalls(calls);
  if (!calls.empty()) generator.SetComposition(&leadCalls);
  start(generator);
  Touch touch;
  touch.end = RingUntilRound(generator, log, maxRows, [&](const std::string& row) { touch.rows.push_back(row); });
  return touch;
}

Touch RingMethod(const Method& method, const std::string& calls = "", long maxRows = MaxRows) {
  return Ring(method.stage, [&](ChangeGenerator& generator) { generator.SetMethod(&method); }, calls, maxRows);
}

std::vector<Method> DefaultMethods() {
  std::vector<Method> methods;
  for (const Entry& entry : ReadEntries(DataPath("methods.txt")))
    methods.push_back(Method{entry.stage, entry.name, entry.text});
  return methods;
}

const Method* FindMethod(const std::vector<Method>& methods, const std::string& title) {
  for (const Method& method : methods)
    if (method.Title() == title) return &method;
  return nullptr;
}

bool AllDifferent(const std::vector<std::string>& rows) {
  return std::set<std::string>(rows.begin(), rows.end()).size() == rows.size();
}

TEST(DefaultLibrary, FilesKeepTheLibraryLayout) {
  for (const std::string file : {"methods.txt", "call_change_sequences.txt"}) {
    SCOPED_TRACE(file);
    const std::vector<std::string> lines = ReadLines(DataPath(file));
    ASSERT_FALSE(lines.empty()) << "missing " << DataPath(file);
    std::size_t at = 0;
    while (at < lines.size() && (lines[at].empty() || lines[at][0] != '[')) ++at;
    EXPECT_GT(at, 0u) << "a header line names the file";
    int expected = 3;
    for (; at < lines.size(); ++at) {
      const std::string& line = lines[at];
      EXPECT_LT(line.size(), 300u) << line;
      if (!line.empty() && line[0] == '[') {
        EXPECT_EQ(line, "[" + std::to_string(expected) + "]");
        if (expected > 3) {
          EXPECT_EQ(lines[at - 1], "") << "an empty line ends each section";
        }
        ++expected;
      } else if (!line.empty()) {
        const auto equals = line.find('=');
        ASSERT_NE(equals, std::string::npos) << line;
        EXPECT_GT(equals, 0u) << line;
        EXPECT_LT(equals + 1, line.size()) << line;
      }
    }
    EXPECT_EQ(expected, 19) << "every stage from 3 to 18 has its section";
    EXPECT_EQ(lines.back(), "");
  }
}

// Every method of the file, with its leads and rows in the plain course.
struct PlainCourse {
  const char* title;
  int leads;
  int rows;
};

constexpr PlainCourse PlainCourses[] = {
    {"Plain Bob Minimus", 3, 24},          {"Plain Bob Doubles", 4, 40},
    {"Grandsire Doubles", 3, 30},          {"Stedman Doubles", 5, 60},
    {"Plain Bob Minor", 5, 60},            {"Little Bob Minor", 5, 40},
    {"St Clement's College Bob Minor", 5, 60}, {"Double Court Bob Minor", 5, 60},
    {"Kent Treble Bob Minor", 5, 120},     {"Oxford Treble Bob Minor", 5, 120},
    {"Cambridge Surprise Minor", 5, 120},  {"Primrose Surprise Minor", 5, 120},
    {"London Surprise Minor", 5, 120},     {"Canterbury Surprise Minor", 5, 120},
    {"Norwich Surprise Minor", 5, 120},
    {"Plain Bob Triples", 6, 84},          {"Grandsire Triples", 5, 70},
    {"Stedman Triples", 7, 84},            {"Plain Bob Major", 7, 112},
    {"Little Bob Major", 7, 56},           {"Double Norwich Court Bob Major", 7, 112},
    {"Kent Treble Bob Major", 7, 224},     {"Oxford Treble Bob Major", 7, 224},
    {"Cambridge Surprise Major", 7, 224},  {"Yorkshire Surprise Major", 7, 224},
    {"Lincolnshire Surprise Major", 7, 224}, {"Superlative Surprise Major", 7, 224},
    {"Rutland Surprise Major", 7, 224},    {"Pudsey Surprise Major", 7, 224},
    {"London Surprise Major", 7, 224},     {"Bristol Surprise Major", 7, 224},
    {"Plain Bob Caters", 8, 144},          {"Grandsire Caters", 7, 126},
    {"Stedman Caters", 9, 108},            {"Plain Bob Royal", 9, 180},
    {"Little Bob Royal", 9, 72},           {"Kent Treble Bob Royal", 9, 360},
    {"Oxford Treble Bob Royal", 9, 360},   {"Cambridge Surprise Royal", 9, 360},
    {"Yorkshire Surprise Royal", 9, 360},  {"Bristol Surprise Royal", 9, 360},
    {"Plain Bob Cinques", 10, 220},        {"Grandsire Cinques", 9, 198},
    {"Stedman Cinques", 11, 132},          {"Plain Bob Maximus", 11, 264},
    {"Little Bob Maximus", 11, 88},        {"Kent Treble Bob Maximus", 11, 528},
    {"Oxford Treble Bob Maximus", 11, 528}, {"Cambridge Surprise Maximus", 11, 528},
    {"Yorkshire Surprise Maximus", 11, 528}, {"Bristol Surprise Maximus", 11, 528},
    {"Plain Bob Thirteen", 12, 312},       {"Plain Bob Fourteen", 13, 364},
    {"Plain Bob Fifteen", 14, 420},        {"Plain Bob Sixteen", 15, 480},
    {"Grandsire Thirteen", 11, 286},       {"Stedman Thirteen", 13, 156},
    {"Cambridge Surprise Fourteen", 13, 728}, {"Grandsire Fifteen", 13, 390},
    {"Stedman Fifteen", 15, 180},          {"Cambridge Surprise Sixteen", 15, 960},
    {"Plain Bob Seventeen", 16, 544},      {"Grandsire Seventeen", 15, 510},
    {"Stedman Seventeen", 17, 204},        {"Plain Bob Eighteen", 17, 612},
};

TEST(DefaultMethods, EveryPlainCourseComesRoundWithoutRepeatingARow) {
  const std::vector<Method> methods = DefaultMethods();
  std::set<std::string> titles;
  for (const Method& method : methods) {
    SCOPED_TRACE(method.Title());
    EXPECT_TRUE(titles.insert(method.Title()).second) << "titles name one method each";
    const Touch touch = RingMethod(method);
    ASSERT_EQ(touch.end, TouchEnd::CameRound);
    EXPECT_TRUE(AllDifferent(touch.rows));
    const auto course = std::find_if(std::begin(PlainCourses), std::end(PlainCourses),
                                     [&](const PlainCourse& c) { return method.Title() == c.title; });
    ASSERT_NE(course, std::end(PlainCourses)) << "a method the table does not know";
    EXPECT_EQ(static_cast<int>(touch.rows.size()), course->rows);
  }
  EXPECT_EQ(methods.size(), std::size(PlainCourses));
}

TEST(DefaultMethods, WellKnownLeadHeads) {
  struct Case {
    const char* title;
    int leadLength;
    const char* leadHead;
  };
  const Case cases[] = {
      {"Plain Bob Minor", 12, "135264"},
      {"Plain Bob Major", 16, "13527486"},
      {"St Clement's College Bob Minor", 12, "142635"},
      {"Grandsire Triples", 14, "1253746"},
      {"Cambridge Surprise Minor", 24, "156342"},
      {"Primrose Surprise Minor", 24, "135264"},
      {"Cambridge Surprise Major", 32, "15738264"},
      {"Yorkshire Surprise Major", 32, "15738264"},
      {"Bristol Surprise Major", 32, "14263857"},
      {"Plain Bob Sixteen", 32, "13527496E8A0CTDB"},
      {"Plain Bob Seventeen", 34, "13527496E8A0CTFBD"},
      {"Plain Bob Eighteen", 36, "13527496E8A0CTFBGD"},
      {"Grandsire Thirteen", 26, "12537496E8A0T"},
      {"Grandsire Fifteen", 30, "12537496E8A0CTB"},
      {"Grandsire Seventeen", 34, "12537496E8A0CTFBD"},
      {"Stedman Triples", 12, "6347251"},
      {"Stedman Thirteen", 12, "6348201T5A7E9"},
      {"Stedman Fifteen", 12, "6348201T5B7C9AE"},
      {"Stedman Seventeen", 12, "6348201T5B7D9FECA"},
      {"Cambridge Surprise Royal", 40, "1573920486"},
      {"Cambridge Surprise Maximus", 48, "157392E4T608"},
      {"Cambridge Surprise Fourteen", 56, "157392E4A6B8T0"},
      {"Cambridge Surprise Sixteen", 64, "157392E4A6C8D0BT"},
  };
  const std::vector<Method> methods = DefaultMethods();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    const Method* method = FindMethod(methods, c.title);
    ASSERT_NE(method, nullptr);
    const Touch touch = RingMethod(*method);
    ASSERT_GE(static_cast<int>(touch.rows.size()), c.leadLength);
    EXPECT_EQ(touch.rows[c.leadLength - 1], c.leadHead);
  }
}

// A bob or a single changes the lead it is called in, and only from the
// place where the call is made: the rows before it are the plain lead's.
TEST(DefaultMethods, BobsAndSinglesChangeTheLeadTheyAreCalledIn) {
  const std::vector<Method> methods = DefaultMethods();
  for (const Method& method : methods) {
    SCOPED_TRACE(method.Title());
    const auto course = std::find_if(std::begin(PlainCourses), std::end(PlainCourses),
                                     [&](const PlainCourse& c) { return method.Title() == c.title; });
    ASSERT_NE(course, std::end(PlainCourses));
    const std::size_t leadLength = course->rows / course->leads;
    const std::vector<std::string> plain = RingMethod(method).rows;
    std::map<char, std::string> callLeads;
    for (const char letter : {'b', 's'}) {
      const Touch touch = RingMethod(method, std::string(1, letter), static_cast<long>(plain.size()));
      if (touch.rows.size() >= plain.size() && std::equal(plain.begin(), plain.end(), touch.rows.begin()))
        continue;  // the method has no such call
      std::size_t first = 0;
      while (first < touch.rows.size() && first < plain.size() && touch.rows[first] == plain[first]) ++first;
      EXPECT_LT(first, leadLength) << "call " << letter;
      ASSERT_GE(touch.rows.size(), leadLength);
      callLeads[letter] = touch.rows[leadLength - 1];
    }
    EXPECT_FALSE(callLeads.empty()) << "every default method can be called";
    if (callLeads.size() == 2) {
      EXPECT_NE(callLeads['b'], callLeads['s']);
    }
  }
}

TEST(DefaultMethods, StandardExtentsComeRoundTrue) {
  struct Case {
    const char* title;
    const char* calls;  // one letter per lead
    int rows;
  };
  const Case cases[] = {
      {"Grandsire Doubles", "pbpbpspbpbps", 120},
      {"Plain Bob Doubles", "pppbpppbpppb", 120},
      {"Stedman Doubles", "ppppspppps", 120},
  };
  const std::vector<Method> methods = DefaultMethods();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    const Method* method = FindMethod(methods, c.title);
    ASSERT_NE(method, nullptr);
    const Touch touch = RingMethod(*method, c.calls);
    ASSERT_EQ(touch.end, TouchEnd::CameRound);
    EXPECT_EQ(static_cast<int>(touch.rows.size()), c.rows);
    EXPECT_TRUE(AllDifferent(touch.rows));
  }
}

// The row a call-change sequence is named after, at its stage.
std::string NamedRow(const std::string& name, int stage) {
  const std::string rounds = RowText(Rounds(stage));
  std::string odd, even;
  for (int i = 0; i < stage; ++i) (i % 2 ? even : odd) += rounds[i];
  if (name == "Queens") return odd + even;
  if (name == "Kings") return std::string(odd.rbegin(), odd.rend()) + even;
  if (name == "Back Rounds") return std::string(rounds.rbegin(), rounds.rend());
  if (name == "Tittums") {  // the front half between the back half, the odd stages as the even one above
    const int half = (stage + 1) / 2;
    std::string row;
    for (int i = 0; i < half; ++i) {
      row += rounds[i];
      if (i + half < stage) row += rounds[i + half];
    }
    return row;
  }
  if (name == "Whittingtons") {  // Kings on the back six, rounds in front
    const std::string front = rounds.substr(0, stage - 6);
    const std::string back = rounds.substr(stage - 6);
    return front + back[4] + back[2] + back[0] + back[1] + back[3] + back[5];
  }
  return "";
}

TEST(DefaultCallChangeSequences, EachReachesItsNamedRowAndComesBackToRounds) {
  const std::vector<Entry> entries = ReadEntries(DataPath("call_change_sequences.txt"));
  ASSERT_FALSE(entries.empty());
  for (const Entry& entry : entries) {
    SCOPED_TRACE(entry.name + " on " + std::to_string(entry.stage));
    const CallChangeSequence sequence{entry.stage, entry.name, entry.text};
    const Touch touch = Ring(entry.stage, [&](ChangeGenerator& generator) { generator.SetSequence(&sequence); });
    ASSERT_EQ(touch.end, TouchEnd::CameRound);
    // Rounds comes at the end of the sequence's one pass, not by going round it again.
    const auto changes = std::count(entry.text.begin(), entry.text.end(), '.') + 1;
    EXPECT_EQ(static_cast<long>(touch.rows.size()), changes);
    const std::string named = NamedRow(entry.name, entry.stage);
    ASSERT_FALSE(named.empty()) << "a sequence the test does not know";
    EXPECT_NE(std::find(touch.rows.begin(), touch.rows.end(), named), touch.rows.end());
  }
}

}  // namespace
}  // namespace clangor
