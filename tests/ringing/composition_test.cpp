// The composition record: layout of the lines, labels, method entries,
// headings, the reading position and the texts shown to the user.
#include <gtest/gtest.h>

#include "ringing/call_table.h"
#include "ringing/composition.h"
#include "ringing/composition_builder.h"
#include "ringing/composition_layout.h"
#include "ringing/composition_reader.h"
#include "ringing/composition_text.h"
#include "ringing/method.h"

namespace clangor {
namespace {

struct LayoutCase {
  std::vector<std::string> lines;
  int leadsPerCourse;
  int kind, firstLine, lastLine;
};

TEST(CompositionLayout, ClassifiesTheLines) {
  const std::vector<LayoutCase> cases = {
      {{"  23456  W  M  H", "  ==============", "  42356        -"}, 0, 1, 0, 2},
      {{"W  M  H", "=======", "-  -  -"}, 0, 2, 0, 2},
      {{"W  M  H", "=======", "-  -  -"}, 7, 3, 0, 2},
      {{"  234  W  H", "===========", "-"}, 0, 2, 0, 2},  // three bell characters are no course head
      {{"  23456  W  H"}, 0, 0, 0, 0},                       // a single line
      {{"# a comment", "", "W H", " = = = # rule", "- -"}, 0, 2, 2, 4},
      {{"--pp", "A A", "A = -s"}, 0, 0, 0, 1},               // definitions end the calling
      {{"W H", "===", "- -", "B = --", "C = ss"}, 0, 2, 0, 2},
      {{"p ==", "x =# y"}, 0, 0, 0, 1},                       // "=" before "=", "#" or the end: no definition
      {{"p == q", "x"}, 0, 0, 0, -1},                         // the second "=" makes a definition
  };
  for (const LayoutCase& c : cases) {
    const LineLayout layout = ClassifyLines(c.lines, c.leadsPerCourse);
    EXPECT_EQ(layout.kind, c.kind) << c.lines[0];
    EXPECT_EQ(layout.firstLine, c.firstLine) << c.lines[0];
    EXPECT_EQ(layout.lastLine, c.lastLine) << c.lines[0];
  }
}

TEST(CompositionEntries, SplitsTitleLabelLengthAndSpecialCalls) {
  const MethodEntry a = SplitMethodEntry("  Cambridge  Surprise Minor : C , |14|1234 ");
  EXPECT_EQ(a.title, "Cambridge Surprise Minor");
  EXPECT_EQ(a.label, "C");
  EXPECT_EQ(a.specialCalls, "|14|1234");
  const MethodEntry b = SplitMethodEntry("Plain Bob Minor:120");
  EXPECT_EQ(b.label, "");
  EXPECT_EQ(b.length, 120);
  const MethodEntry c = SplitMethodEntry("Plain Bob Minor");
  EXPECT_EQ(c.title, "Plain Bob Minor");
  EXPECT_EQ(c.length, 0);
  EXPECT_TRUE(c.specialCalls.empty());
}

TEST(CompositionEntries, StagesOfTheBellsValue) {
  const auto stages = ReadStages("6, 8 2 19,x,10");
  EXPECT_TRUE(stages.test(6));
  EXPECT_TRUE(stages.test(8));
  EXPECT_TRUE(stages.test(10));
  EXPECT_EQ(stages.count(), 3u);
}

class Shelf : public MethodFinder {
 public:
  Shelf() {
    for (const Method& m : std::vector<Method>{{6, "Cambridge Surprise", "|12|&-36-14-12-36-14-56,|14|1234"},
                                               {6, "York Surprise", "|12|&-36-14-12-36-12-56,|14|1234"},
                                               {8, "Cambridge Surprise", "|12|&-38-14-1258-36-14-58-16-78,|14|1234"}}) {
      methods.push_back(std::make_unique<Method>(m));
    }
  }
  const Method* FindMethod(const std::string& title, const std::bitset<MaxStage + 1>& stages) const override {
    for (const auto& m : methods) {
      if (m->Title() == title && stages.test(static_cast<std::size_t>(m->stage))) return m.get();
    }
    return nullptr;
  }
  std::vector<std::unique_ptr<Method>> methods;
};

CompositionFields Fields(std::vector<std::string> methods, std::vector<std::string> lines) {
  CompositionFields fields;
  fields.bells = "6,8";
  fields.methods = std::move(methods);
  fields.lines = std::move(lines);
  return fields;
}

TEST(CompositionLabels, LengthsAndAutomaticLabels) {
  const Shelf shelf;
  auto same = BuildComposition(
      Fields({"Cambridge Surprise Minor:C", "York Surprise Minor:Y", "Cambridge Surprise Major:L"}, {"CYL"}), &shelf,
      nullptr);
  EXPECT_EQ(same->labelLength, 1);
  EXPECT_EQ(same->labelToMethod.at("Y"), shelf.methods[1].get());

  auto differing =
      BuildComposition(Fields({"Cambridge Surprise Minor:Cam", "York Surprise Minor:Y"}, {"Cam,Y"}), &shelf, nullptr);
  EXPECT_EQ(differing->labelLength, -1);

  auto automatic = BuildComposition(Fields({"Cambridge Surprise Minor", "Nowhere Minor:120"}, {"-"}), &shelf, nullptr);
  EXPECT_EQ(automatic->labelLength, 0);
  ASSERT_EQ(automatic->entries.size(), 2u);
  EXPECT_TRUE(automatic->entries[0].automaticLabel);
  EXPECT_EQ(automatic->entries[0].label.rfind("ZQXJ", 0), 0u);
  EXPECT_NE(automatic->entries[0].label, automatic->entries[1].label);
  EXPECT_LT(automatic->entries[0].label, automatic->entries[1].label);  // label order keeps entry order
  EXPECT_EQ(automatic->entries[1].method, nullptr);                     // unknown title: unresolved
  EXPECT_EQ(automatic->labelToMethod.count(automatic->entries[1].label), 1u);
}

TEST(CompositionLabels, TitlesResolveOnlyAtFlaggedStages) {
  const Shelf shelf;
  CompositionFields fields = Fields({"Cambridge Surprise Major"}, {"-"});
  fields.bells = "6";
  EXPECT_EQ(BuildComposition(fields, &shelf, nullptr)->entries[0].method, nullptr);
  fields.bells = "8";
  EXPECT_EQ(BuildComposition(fields, &shelf, nullptr)->entries[0].method, shelf.methods[2].get());
}

TEST(CompositionBuild, CopiesTheFields) {
  CompositionFields fields = Fields({"Cambridge Surprise Minor,|16"}, {"W H", "===", "- -"});
  fields.observation = "7";
  fields.parts = "-1";
  fields.halfLeadSplicing = "Yes";
  fields.keepGoing = "2";
  fields.leadsPerCourse = "5";
  const Shelf shelf;
  auto c = BuildComposition(fields, &shelf, nullptr);
  EXPECT_EQ(c->observation, 6);
  EXPECT_EQ(c->parts, -1);
  EXPECT_TRUE(c->halfLeadSplicing);
  EXPECT_EQ(c->keepGoing, 2);
  EXPECT_EQ(c->kind, 3);
  EXPECT_EQ(c->SpecialCalls(*shelf.methods[0]), "|16");
  EXPECT_EQ(BuildComposition(Fields({}, {}), &shelf, nullptr), nullptr);  // no lines: nothing to build
}

TEST(CompositionText, Description) {
  CompositionFields fields = Fields({"Cambridge Surprise Minor"}, {"-p-", "s"});
  fields.parts = "3";
  fields.keepGoing = "2";
  fields.observation = "7";
  fields.leadsPerCourse = "5";
  fields.notes = {"A note"};
  const Shelf shelf;
  auto c = BuildComposition(fields, &shelf, nullptr);
  EXPECT_EQ(DescriptionText(*c),
            "Cambridge Surprise Minor\r\n\r\n-p-\r\ns\r\n3 part\r\n(5-lead courses)\r\nkeep going twice\r\n"
            "7 observation\r\n\r\nA note");
  c->parts = -1;
  c->keepGoing = 1;
  c->observation = -1;
  c->leadsPerCourse = 0;
  c->notes.clear();
  EXPECT_EQ(DescriptionText(*c), "Cambridge Surprise Minor\r\n\r\n-p-\r\ns\r\n(repeat as necessary)\r\nkeep going once");
  c->keepGoing = 5;
  EXPECT_NE(DescriptionText(*c).find("keep going 5 times"), std::string::npos);
}

TEST(CompositionText, DisplayLabels) {
  const Shelf shelf;
  CompositionFields fields = Fields({"Cambridge Surprise Minor:240"}, {"-"});
  auto one = BuildComposition(fields, &shelf, nullptr);
  EXPECT_EQ(DisplayLabel(*one), "Cambridge Surprise Minor");
  one->name = "Short";
  one->length = 120;
  EXPECT_EQ(DisplayLabel(*one), "Cambridge Surprise Minor (Short) \t120");
  EXPECT_EQ(DisplayLabel(*one, *shelf.methods[0]), "Short \t240");  // the method's own length first
  EXPECT_EQ(DisplayLabel(*one, *shelf.methods[1]), "Short \t120");
  one->name.clear();
  one->length = 0;
  EXPECT_EQ(DisplayLabel(*one, *shelf.methods[1]), "touch");
  auto two = BuildComposition(Fields({"Cambridge Surprise Minor:C", "York Surprise Minor:Y"}, {"CY"}), &shelf, nullptr);
  two->name = "Spliced";
  EXPECT_EQ(DisplayLabel(*two), "Spliced");
}

TEST(CompositionHeadings, StandardBeforeSpecialAndByMethodThenStage) {
  const Shelf shelf;
  const StandardHeadings standard = {{"6", "W:6 H:5"},
                                     {"Cambridge Surprise Minor", "H:5"},
                                     {"Mine", "B:3"}};
  auto c = BuildComposition(Fields({"Cambridge Surprise Minor"}, {"-"}), &shelf, &standard);
  EXPECT_EQ(c->HeadingsInForce(6), "H:5");  // the method's own
  c->exclude = true;
  EXPECT_EQ(c->HeadingsInForce(6), "W:6 H:5");  // an exclusion list: by stage
  c->headings = "Mine";
  EXPECT_EQ(c->HeadingsInForce(6), "B:3");
  c->headings = "X:|4 Y:2";
  EXPECT_EQ(c->HeadingsInForce(6), "X:|4 Y:2");
  const HeadingMap map = ParseHeadings(c->HeadingsInForce(6));
  EXPECT_EQ(ReadCallingPosition(map.at("X"), 6).marker, '|');
  EXPECT_EQ(ReadCallingPosition(map.at("X"), 6).position, 4);
  EXPECT_EQ(ReadCallingPosition("7", 6).position, 0);  // beyond the bells: ignored
}

// Reads every item the reading position hands out, taking each call whole.
std::string Items(const std::vector<std::string>& lines, int lastLine = -1, int repeats = 1,
                  const HeadingMap* headings = nullptr) {
  CompositionReader reader;
  CompositionReader::Setup setup;
  setup.lines = &lines;
  setup.lastLine = lastLine < 0 ? static_cast<int>(lines.size()) - 1 : lastLine;
  setup.repeats = repeats;
  setup.labelLength = 1;
  setup.isLabel = [](const std::string& label) { return label == "C" || label == "Y"; };
  setup.headings = headings;
  reader.Start(setup);
  std::string out;
  for (int guard = 0; guard < 100000; ++guard) {
    const CallItem& item = reader.Peek();
    if (item.kind == CallItem::Kind::End) break;
    if (item.kind == CallItem::Kind::Label) {
      out += item.label;
    } else {
      if (item.marker != 0) out += item.marker;
      out += item.letter;
    }
    reader.Take();
  }
  return out;
}

TEST(CompositionReader, Grammar) {
  const HeadingMap headings = {{"w*", "ppp-"}, {"2,", "s-"}};
  struct Case {
    std::vector<std::string> lines;
    int lastLine;
    std::string items;
  };
  const std::vector<Case> cases = {
      {{"- p s"}, -1, "bps"},
      {{"3(-p)"}, -1, "bpbpbp"},
      {{"2[-{2s}]"}, -1, "bssbss"},
      {{"2(-p", "s)"}, -1, "bpsbps"},               // a group over two lines
      {{"3-2s"}, -1, "bbbss"},                       // counts before letters
      {{"2 p"}, -1, "bbp"},                          // a count alone is bobs
      {{"(-s):A p A A"}, -1, "bspbsbs"},             // a named group called up again
      {{"A p A", "A = -s # the part"}, 0, "bspbs"},  // a definition below the calling
      {{"C-Y s # Y s"}, -1, "CbYs"},                 // labels and calls; "#" ends the line
      {{"|- /s x"}, -1, "|b/sx"},                   // markers restrict; x stays x
      {{"w* 2,"}, -1, "pppbsb"},                      // items looked up in the headings
      {{"0(-) p"}, -1, "p"},                          // a group rung no times
      {{"~-=~s"}, -1, "bs"},
  };
  for (const Case& c : cases) EXPECT_EQ(Items(c.lines, c.lastLine, 1, &headings), c.items) << c.lines[0];
  EXPECT_EQ(Items({"-s"}, -1, 3), "bsbsbs");  // parts
}

TEST(CompositionReader, BadInputEndsOrIsSkipped) {
  // Unbalanced and stray brackets are ignored (an unbalanced one with its count).
  EXPECT_EQ(Items({"2(- s"}), "bs");
  EXPECT_EQ(Items({"- ) ] s"}), "bs");
  // A huge count is cut, and the reading still ends.
  const std::string huge = Items({"99999999999999(p)"});
  EXPECT_EQ(huge.size(), static_cast<std::size_t>(CompositionReader::MaxRepeat));
  // A definition that calls itself stops at the deepest nesting.
  EXPECT_EQ(Items({"A", "A = -A"}, 0).size(), static_cast<std::size_t>(CompositionReader::MaxDepth - 1));
  // A named group that calls itself ends too.
  EXPECT_LE(Items({"(-A):A A"}).size(), 200u);
  // Repeating without end with nothing to call ends the reading.
  EXPECT_EQ(Items({"()", "# nothing"}, -1, -1), "");
  // Non-ASCII bytes are passed over.
  EXPECT_EQ(Items({"\xc3\xa9-\xff s"}), "bs");
}

}  // namespace
}  // namespace clangor

namespace clangor {
namespace {

TEST(CompositionAnswers, ObservationBellIsTheBellNamedFromTheFirstLead) {
  CompositionFields fields;
  fields.bells = "8";
  fields.lines = {"-"};
  fields.observation = "7";
  auto c = BuildComposition(fields, nullptr, nullptr);
  const Method method{8, "Plain Bob", "|12|&-18-18-18-18,|14|1234"};
  // Started from a row where another bell stands seventh, the seventh is watched.
  c->Restart(&method, Row{0, 2, 1, 4, 3, 7, 5, 6});
  EXPECT_TRUE(c->ObservationFixed());
  EXPECT_EQ(c->observationBell, 6);
  c->SectionEnded(Row{0, 2, 1, 4, 3, 6, 5, 7});
  EXPECT_EQ(c->observationBell, 6);

  fields.observation = "9";  // beyond the bells: none watched
  auto beyond = BuildComposition(fields, nullptr, nullptr);
  beyond->Restart(&method, Rounds(8));
  EXPECT_EQ(beyond->observationBell, -1);

  fields.observation.clear();  // none given: the method's heaviest bell
  auto tenor = BuildComposition(fields, nullptr, nullptr);
  const Method minor{6, "Plain Bob", "|12|&-16-16-16,|14|1234"};
  tenor->Restart(&minor, Rounds(8));
  EXPECT_TRUE(tenor->ObservationFixed());
  EXPECT_EQ(tenor->observationBell, 5);
}

TEST(CompositionAnswers, AnswersAtMarkersAndLeadEnds) {
  const Method a{6, "A", "|12|&-16-16-16,|14|1234"};
  const Method b{6, "B", "|12|&-16-14,|14|1234"};
  struct Finder : MethodFinder {
    const Method* a;
    const Method* b;
    const Method* FindMethod(const std::string& title, const std::bitset<MaxStage + 1>&) const override {
      return title == "A Minor" ? a : title == "B Minor" ? b : nullptr;
    }
  } finder;
  finder.a = &a;
  finder.b = &b;
  CompositionFields fields;
  fields.bells = "6";
  fields.methods = {"A Minor:A", "B Minor:B"};
  fields.lines = {"A s B /- x"};
  fields.defaultCallMarkers = "|";
  auto c = BuildComposition(fields, &finder, nullptr);
  CallTable calls;
  calls.AddCallsArea("|14|1234/14");
  c->Restart(&a, Rounds(6));                       // the opening label names the first lead
  EXPECT_EQ(c->NextMethod(true), nullptr);         // no half-lead splicing
  EXPECT_EQ(c->CallAt(Rounds(6), '/', calls), 0);  // "s" waits for a default marker
  EXPECT_EQ(c->CallAt(Rounds(6), '|', calls), 's');
  EXPECT_EQ(c->CallAt(Rounds(6), '|', calls), 0);  // the label is for the lead end
  EXPECT_EQ(c->NextMethod(false), &b);
  EXPECT_EQ(c->CallAt(Rounds(6), '|', calls), 0);  // "/-" only at "/"
  EXPECT_EQ(c->CallAt(Rounds(6), '/', calls), 'b');
  EXPECT_EQ(c->CallAt(Rounds(6), '/', calls), 'x');  // "x" at the first marker that has a bob
  EXPECT_EQ(c->CallAt(Rounds(6), '|', calls), 0);    // used up
  EXPECT_EQ(c->NextMethod(false), nullptr);
}

}  // namespace
}  // namespace clangor
