// The method editor's and call dialog's checks, the line put together from
// the notation and the calls, and the microSIRIL conversion.
#include <gtest/gtest.h>

#include <sstream>

#include "library/forms/method_form.h"
#include "library/forms/sequence_form.h"
#include "library/library.h"

namespace clangor {
namespace {

namespace field = method_field;

}  // namespace

void PrintTo(const Complaint& c, std::ostream* os) { *os << c.caption << ": " << c.text << " (" << c.field << ")"; }

namespace {

TEST(CallChecks, EachCheckInOrderWithItsMessageAndField) {
  struct Case {
    const char *marker, *name, *letter, *notation;
    Verdict verdict;
  };
  const Case cases[] = {
      {"|", "Bob", "b", "14", std::nullopt},
      {"/", " Big  Bob ", "g", " 1456 ", std::nullopt},
      {"x", "", "", "", Complaint{"Marker must be one of |/\\", "Invalid Marker Character", field::CallMarker}},
      {"||", "Bob", "b", "14", Complaint{"Marker must be one of |/\\", "Invalid Marker Character", field::CallMarker}},
      {"", "Bob", "b", "14", Complaint{"Marker must be one of |/\\", "Invalid Marker Character", field::CallMarker}},
      {"|", "  ", "P", "", Complaint{"Call must have a name", "Invalid Name", field::CallName}},
      {"|", "Bo:b", "b", "14", Complaint{"Name must not include any of |/\\:,", "Invalid Name", field::CallName}},
      {"|", "Bo,b", "b", "14", Complaint{"Name must not include any of |/\\:,", "Invalid Name", field::CallName}},
      {"|", "Bo/b", "b", "14", Complaint{"Name must not include any of |/\\:,", "Invalid Name", field::CallName}},
      {"|", "Bob", "P", "14", Complaint{"Letter must be lowercase alphabetic (but not 'p')", "Invalid Letter", field::CallLetter}},
      {"|", "Bob", "pp", "14", Complaint{"Letter must be lowercase alphabetic (but not 'p')", "Invalid Letter", field::CallLetter}},
      {"|", "Bob", "p", "14", Complaint{"Letter must be lowercase alphabetic (but not 'p')", "Invalid Letter", field::CallLetter}},
      {"|", "Bob", "", "14", Complaint{"Letter must be lowercase alphabetic (but not 'p')", "Invalid Letter", field::CallLetter}},
      {"|", "Bob", "b", "  ", Complaint{"Notation must have a value", "Invalid Notation", field::CallNotation}},
      {"|", "Bob", "b", "17", Complaint{"Notation must comprise only bell numbers, full stops and hyphens", "Invalid Notation", field::CallNotation}},
      {"|", "Bob", "b", "1x", Complaint{"Notation must comprise only bell numbers, full stops and hyphens", "Invalid Notation", field::CallNotation}},
      {"|", "Bob", "b", "-16.", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckCall(c.marker, c.name, c.letter, c.notation, 6), c.verdict) << c.name << c.notation;
}

struct Fixture {
  Library library;
  Fixture() {
    std::istringstream in("[3]\n\n[6]\nPlain Bob=&-16-16-16,2\nKent Treble Bob=&34-1-56-14-16-12-16-12,2\n");
    library.ReadMethods(in);
  }
};

TEST(MethodChecks, EachCheckInOrderWithItsMessageAndField) {
  Fixture f;
  const Method* plainBob = f.library.Methods(6)[0].get();
  const std::vector<MethodCall> bobAndSingle = {{'|', "Bob", 'b', "14"}, {'|', "Single", 's', "1234"}};
  struct Case {
    const char* what;
    MethodForm form;
    const Method* editing;
    Verdict verdict;
  };
  const std::string chars = "Use these characters only:123456&.-:|/\\";
  const Case cases[] = {
      {"new", {"Little Bob", "|12|&-16-14", bobAndSingle}, nullptr, std::nullopt},
      {"no notation", {"X", "", {}}, nullptr, Complaint{"Notation must have a value", "Invalid Notation", field::Notation}},
      {"a seventh bell", {"X", "&-17", {}}, nullptr, Complaint{chars, "Invalid Notation", field::Notation}},
      {"x is not a cross", {"X", "&x16", {}}, nullptr, Complaint{chars, "Invalid Notation", field::Notation}},
      {"a blank", {"X", "&-16 -16", {}}, nullptr, Complaint{chars, "Invalid Notation", field::Notation}},
      {"marker missing", {"X", "|12|&-16", {{'/', "Bob", 'b', "14"}}}, nullptr,
       Complaint{"Call marker not found in the method's notation", "Invalid Call", field::Calls}},
      {"same letter at a marker", {"X", "|12|&-16", {{'|', "Bob", 'b', "14"}, {'|', "Big", 'b', "16"}}}, nullptr,
       Complaint{"Duplicate name or letter for same marker", "Invalid Call", field::Calls}},
      {"same name at a marker", {"X", "|12|&-16", {{'|', "Bob", 'b', "14"}, {'|', "Bob", 'b', "16"}}}, nullptr,
       Complaint{"Duplicate name or letter for same marker", "Invalid Call", field::Calls}},
      {"name with two letters", {"X", "|12|/12/&-16", {{'|', "Bob", 'b', "14"}, {'/', "Bob", 'c', "16"}}}, nullptr,
       Complaint{"Name or letter mismatch with another call", "Invalid Call", field::Calls}},
      {"letter with two names", {"X", "|12|/12/&-16", {{'|', "Bob", 'b', "14"}, {'/', "Big", 'b', "16"}}}, nullptr,
       Complaint{"Name or letter mismatch with another call", "Invalid Call", field::Calls}},
      {"one call at two markers", {"X", "|12|/12/&-16", {{'|', "Bob", 'b', "14"}, {'/', "Bob", 'b', "16"}}}, nullptr,
       std::nullopt},
      {"title taken", {"Plain Bob", "&-16-16-16", {}}, nullptr,
       Complaint{"A method with this name already exists", "Invalid Name", field::Name}},
      {"renamed onto another", {"Kent Treble Bob", "&-16-16-16", {}}, plainBob,
       Complaint{"A method with this name already exists", "Invalid Name", field::Name}},
      {"edited, name kept", {"Plain Bob", "&-16-16-14", {}}, plainBob, std::nullopt},
      {"a name the file would cut", {"A=B", "&-16", {}}, nullptr,
       Complaint{"Name must not begin with [ or include =", "Invalid Name", field::Name}},
      {"a name the file would read as a section", {"[4]", "&-16", {}}, nullptr,
       Complaint{"Name must not begin with [ or include =", "Invalid Name", field::Name}},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckMethod(c.form, 6, f.library, c.editing), c.verdict) << c.what;
}

// The reader takes lines shorter than its 300-byte buffer, so the longest
// line the editor accepts is 299 characters: name, "=" and the line.
TEST(MethodChecks, TheLongestLineTheFileCanReadBack) {
  Fixture f;
  const std::string tooLong = "Total length of name, notation and calls must not exceed 299 characters";
  for (const int length : {298, 299, 300, 301}) {
    const std::string name = "L" + std::to_string(length);  // 4 + "=" + notation
    const MethodForm form{name, std::string(static_cast<std::size_t>(length - 5), '-'), {}};
    const Verdict verdict = CheckMethod(form, 6, f.library, nullptr);
    if (length <= 299) {
      EXPECT_EQ(verdict, std::nullopt) << length;
      Method* added = f.library.AddMethod({6, name, form.notation});
      EXPECT_NE(added, nullptr) << length;  // the library holds what the editor accepts
    } else {
      EXPECT_EQ(verdict, (Complaint{tooLong, "Line length exceeded", field::Notation})) << length;
    }
  }
  // The calls count too.
  const MethodForm withCalls{"Long", "|12|" + std::string(280, '-'), {{'|', "Extreme", 'e', "123456"}}};
  EXPECT_EQ(AssembleLine(withCalls.notation, withCalls.calls).size(), 302u);
  EXPECT_EQ(CheckMethod(withCalls, 6, f.library, nullptr)->caption, "Line length exceeded");
}

TEST(MethodLine, AssembledAndReadBack) {
  struct Case {
    std::vector<MethodCall> calls;
    const char* line;
  };
  const Case cases[] = {
      {{}, "|12|&-16-16"},
      {{{'|', "Bob", 'b', "14"}, {'|', "Single", 's', "1234"}}, "|12|&-16-16,|14|1234"},
      {{{'|', "Single", 's', "1234"}, {'|', "Bob", 'b', "14"}}, "|12|&-16-16,|14|1234"},
      // A Single without a Bob follows an empty segment, so it is read back as the Single.
      {{{'|', "Single", 's', "1234"}}, "|12|&-16-16,||1234"},
      {{{'|', "Extreme", 'e', "14"}, {'|', "Bob", 'b', "16"}}, "|12|&-16-16,|16|Extreme:e:14"},
      {{{'/', "Bob", 'b', "14"}, {'|', "Bob", 'b', "16"}}, "|12|&-16-16,/14|16"},
      // Bob with another letter is a named call.
      {{{'|', "Bob", 'x', "14"}}, "|12|&-16-16,|Bob:x:14"},
  };
  for (const Case& c : cases) {
    const std::string line = AssembleLine("|12|&-16-16", c.calls);
    EXPECT_EQ(line, c.line);
    const MethodForm back = FormOf(Method{6, "X", line});
    EXPECT_EQ(back.notation, "|12|&-16-16");
    // Read back as the same calls (the Bob and the Single first at a marker).
    for (const MethodCall& call : c.calls)
      EXPECT_NE(std::find(back.calls.begin(), back.calls.end(), call), back.calls.end()) << line << " " << call.name;
    EXPECT_EQ(back.calls.size(), c.calls.size()) << line;
  }
}

TEST(MicroSiril, LeadHeadCodesAndLeadEnds) {
  struct Case {
    int stage;
    const char *text, *field;
  };
  const Case cases[] = {
      // Lead-head codes of the first group end the lead with 12, of the second with 1N.
      {6, "b &-16-16-16", "|2|&-16-16-16"},
      {8, "a &-3-4-2-3-4-5", "|2|&-3-4-2-3-4-5"},
      {8, "q &-3-4-25-36-4-5", "|2|&-3-4-25-36-4-5"},
      {6, "g &34-1-56-14-16-12-16-12", "|1|&34-1-56-14-16-12-16-12"},
      {8, "m &-5-4.5-5.36.4-4.5-4.5-6", "|1|&-5-4.5-5.36.4-4.5-4.5-6"},
      {8, "s &-5-4.5-5.36.4-4.5-4.5-6", "|1|&-5-4.5-5.36.4-4.5-4.5-6"},
      // A letter of neither group gives no lead end.
      {6, "z&-16", "&-16"},
      {6, "n &-16", "&-16"},
      // A lead end given before "z".
      {6, "16 z &-16-16-16", "|16|&-16-16-16"},
      // Without "&" the lead end goes after the changes.
      {5, "b 3.1.5.1.5.1.5.1.5.1", "3.1.5.1.5.1.5.1.5.1|2|"},
      {5, "125 z 3.1.5.1.5", "3.1.5.1.5|125|"},
      {8, "18 z &-3-4-2-3-4-5", "|18|&-3-4-2-3-4-5"},
      // A lead end with other than bells is not a lead end.
      {5, "5.1.5.1.5 z 125", "5.1.5.1.5z125"},
      // Nothing but the blanks and "+" go otherwise.
      {6, "+ &-16-16", "&-16-16"},
      {6, "-16-16", "-16-16"},
      {6, "16 b &-16", "16b&-16"},
      {6, "B &-16", "B&-16"},
      {6, "16", "16"},
  };
  for (const Case& c : cases) EXPECT_EQ(ConvertFromMicroSiril(c.text, c.stage), c.field) << c.text;
}

TEST(SequenceChecks, EachCheckInOrderWithItsMessageAndField) {
  Library library;
  std::istringstream in("[3]\n\n[6]\nQueens=3.5.2.4\n\n[8]\nTittums=3.5\n");
  library.ReadCallChangeSequences(in);
  const CallChangeSequence* queens = library.Sequences(6)[0].get();
  namespace sf = sequence_field;
  static const std::string LongNotation(300, '3');
  struct Case {
    const char *name, *notation;
    const CallChangeSequence* editing;
    Verdict verdict;
  };
  const Case cases[] = {
      {"Whittingtons", "3.5.4", nullptr, std::nullopt},
      {"Queens", "3.5", queens, std::nullopt},
      {"Tittums", "3.5", nullptr, std::nullopt},  // another stage's name
      {"X", "", nullptr, Complaint{"Notation must have a value", "Invalid Notation", sf::Notation}},
      {"X", "3. 5", nullptr, Complaint{"Use these characters only:123456.", "Invalid Notation", sf::Notation}},
      {"X", "3.\n5", nullptr, Complaint{"Use these characters only:123456.", "Invalid Notation", sf::Notation}},
      {"X", "3.7", nullptr, Complaint{"Use these characters only:123456.", "Invalid Notation", sf::Notation}},
      {"Queens", "3.5", nullptr, Complaint{"A ccseq with this name already exists", "Invalid Name", sf::Name}},
      {"A=B", "3.5", nullptr, Complaint{"Name must not begin with [ or include =", "Invalid Name", sf::Name}},
      {"X", LongNotation.c_str(), nullptr,
       Complaint{"Total length of name and notation must not exceed 299 characters", "Line length exceeded", sf::Notation}},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckSequence(c.name, c.notation, 6, library, c.editing), c.verdict) << c.name;
}

// A renamed method keeps its place and address; the compositions that name
// it are written with its new title; a method taken out and put back is
// found again.
TEST(LibraryEdits, RenameTakeAndPutBack) {
  Library library;
  std::istringstream methods("[3]\n\n[6]\nPlain Bob=&-16-16-16,2,|14|1234\nKent=&34-1-56-14-16-12-16-12,2\n");
  library.ReadMethods(methods);
  std::istringstream compositions(
      "[Standard Headings]\n\n[Compositions]\nName=Touch\nBells=6\nMethod=Plain Bob Minor\nLine=-p-p\n\n");
  library.ReadCompositions(compositions);
  std::bitset<MaxStage + 1> six;
  six.set(6);
  Method* plainBob = library.Methods(6)[0].get();
  library.ChangeMethod(*plainBob, {6, "Plain Bobbed", plainBob->line});
  EXPECT_EQ(library.Methods(6)[0].get(), plainBob);
  EXPECT_EQ(library.FindMethod("Plain Bobbed Minor", six), plainBob);
  EXPECT_EQ(library.FindMethod("Plain Bob Minor", six), nullptr);
  EXPECT_NE(library.CompositionsText().find("Method=Plain Bobbed Minor\n"), std::string::npos);
  EXPECT_TRUE(MethodInUse(library, *plainBob));
  EXPECT_FALSE(MethodInUse(library, *library.Methods(6)[1]));

  auto [kent, place] = library.TakeMethod(library.Methods(6)[1].get());
  ASSERT_NE(kent, nullptr);
  EXPECT_EQ(place, 1u);
  EXPECT_EQ(library.FindMethod("Kent Minor", six), nullptr);
  const Method* held = kent.get();
  library.PutMethodBack(std::move(kent), place);
  EXPECT_EQ(library.Methods(6)[1].get(), held);
  EXPECT_EQ(library.FindMethod("Kent Minor", six), held);
}

}  // namespace
}  // namespace clangor
