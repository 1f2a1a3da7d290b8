// Methods imported from a collection file (tests/library/collections): each
// becomes a line the generator rings to the method's published lead head,
// bad files and bad methods are refused with their reasons, and importing
// twice adds nothing and leaves the library as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "library/library.h"
#include "library/method_collection.h"
#include "library/method_import.h"
#include "ringing/memory_settings.h"
#include "tests/library/temp_folder.h"
#include "tests/ringing/ringing_harness.h"

namespace clangor {
namespace {

std::filesystem::path SampleCollection() {
  const char* root = std::getenv("CLANGOR_SOURCE_DIR");
  return std::filesystem::path(root ? root : ".") / "tests/library/collections/sample_collection.xml";
}

struct LeadHead {
  int leadLength;
  const char* leadHead;  // the row after the first lead of the plain course
};

// Published lead heads of the sample collection's methods.
const std::map<std::string, LeadHead>& PublishedLeadHeads() {
  static const std::map<std::string, LeadHead> heads = {
      {"Original Singles", {2, "231"}},
      {"Plain Bob Minimus", {8, "1342"}},
      {"Plain Bob Doubles", {10, "13524"}},
      {"Grandsire Doubles", {10, "12534"}},
      {"Stedman Doubles", {12, "53412"}},
      {"Plain Bob Minor", {12, "135264"}},
      {"Little Bob Minor", {8, "164523"}},
      {"St Clement's College Bob Minor", {12, "142635"}},
      {"Double Court Bob Minor", {12, "156342"}},
      {"Kent Treble Bob Minor", {24, "142635"}},
      {"Cambridge Surprise Minor", {24, "156342"}},
      {"Primrose Surprise Minor", {24, "135264"}},
      {"London Surprise Minor", {24, "142635"}},
      {"Norwich Surprise Minor", {24, "142635"}},
      {"Plain Bob Triples", {14, "1352746"}},
      {"Grandsire Triples", {14, "1253746"}},
      {"Grandsire Written Out Triples", {14, "1253746"}},
      {"Stedman Triples", {12, "6347251"}},
      {"Plain Bob Major", {16, "13527486"}},
      {"Plain Bob Written Out Major", {16, "13527486"}},
      {"Little Bob Major", {8, "16482735"}},
      {"Double Norwich Court Bob Major", {16, "18674523"}},
      {"Kent Treble Bob Major", {32, "14263857"}},
      {"Cambridge Surprise Major", {32, "15738264"}},
      {"Yorkshire Surprise Major", {32, "15738264"}},
      {"Bristol Surprise Major", {32, "14263857"}},
      {"Plain Bob Caters", {18, "135274968"}},
      {"Grandsire Caters", {18, "125374968"}},
      {"Stedman Caters", {12, "634829175"}},
      {"Plain Bob Royal", {20, "1352749608"}},
      {"Cambridge Surprise Royal", {40, "1573920486"}},
      {"Yorkshire Surprise Royal", {40, "1573920486"}},
      {"Bristol Surprise Royal", {40, "1352749608"}},
      {"Stedman Cinques", {12, "6348201E597"}},
      {"Grandsire Cinques", {22, "12537496E80"}},
      {"Plain Bob Maximus", {24, "13527496E8T0"}},
      {"Cambridge Surprise Maximus", {48, "157392E4T608"}},
      {"Yorkshire Surprise Maximus", {48, "157392E4T608"}},
      {"Bristol Surprise Maximus", {48, "1795E3T20486"}},
      {"Plain Bob Thirteen", {26, "13527496E8A0T"}},
      {"Plain Bob Fourteen", {28, "13527496E8A0BT"}},
      {"Stedman Fifteen", {12, "6348201T5B7C9AE"}},
      {"Plain Bob Sixteen", {32, "13527496E8A0CTDB"}},
      {"Little Bob Sixteen", {8, "1648203T5B7D9CEA"}},
  };
  return heads;
}

using testing::Touch;

// Rings the method from rounds with one call letter per lead ("" for the
// plain course) until it comes round or has rung `maxRows` rows.
Touch Ring(const Method& method, const std::string& calls = "", long maxRows = 20000) {
  return testing::RingLine(method.line, method.stage, calls, maxRows);
}

std::vector<ImportCandidate> SampleCandidates(bool withCalls) {
  const MethodCollection collection = ReadMethodCollectionFile(SampleCollection());
  EXPECT_EQ(collection.error, "");
  return PrepareImport(collection.methods, withCalls);
}

TEST(MethodImport, EverySampleMethodRingsToItsPublishedLeadHead) {
  for (const bool withCalls : {false, true}) {
    const std::vector<ImportCandidate> candidates = SampleCandidates(withCalls);
    EXPECT_EQ(candidates.size(), PublishedLeadHeads().size());
    for (const ImportCandidate& candidate : candidates) {
      SCOPED_TRACE(candidate.title + " = " + candidate.method.line);
      ASSERT_EQ(candidate.refusal, "");
      const auto published = PublishedLeadHeads().find(candidate.title);
      ASSERT_NE(published, PublishedLeadHeads().end()) << "not in the table";
      const Touch course = Ring(candidate.method);
      ASSERT_EQ(course.end, TouchEnd::CameRound);
      ASSERT_GE(course.rows.size(), static_cast<std::size_t>(published->second.leadLength));
      EXPECT_EQ(course.rows[static_cast<std::size_t>(published->second.leadLength) - 1], published->second.leadHead);
      EXPECT_EQ(course.rows.size() % static_cast<std::size_t>(published->second.leadLength), 0u);
    }
  }
}

TEST(MethodImport, LinesUseTheSymmetricFormAndTheStandardCallsOfTheLeadEndGroup) {
  const std::map<std::string, std::string> expected = {
      {"Plain Bob Minor", "|12|&-16-16-16,|14|1234"},
      {"Plain Bob Doubles", "|125|&5.1.5.1.5,|145|123"},
      {"Plain Bob Triples", "|127|&7.1.7.1.7.1.7,|147|12347"},
      {"Kent Treble Bob Minor", "|16|&34-34.16-12-16-12-16,|14|1456"},
      {"Cambridge Surprise Major", "|12|&-38-14-1258-36-14-58-16-78,|14|1234"},
      {"Bristol Surprise Major", "|18|&-58-14.58-58.36.14-14.58-14-18,|14|1234"},
      {"Plain Bob Written Out Major", "|12|&-18-18-18-18,|14|1234"},
      {"Grandsire Triples", "3.1.7.1.7.1.7.1.7.1.7.1|7.1|,|3.1|3.123"},
      {"Grandsire Written Out Triples", "3.1.7.1.7.1.7.1.7.1.7.1|7.1|,|3.1|3.123"},
      {"Stedman Triples", "3.1|7|3.1.3.1.3|7|1.3.1,|5|567"},
      {"Stedman Doubles", "3.1|5|3.1.3.1.3|5|1.3.1,|Single:s:345"},
      {"Original Singles", "|1|&3"},
  };
  std::map<std::string, std::string> lines;
  for (const ImportCandidate& candidate : SampleCandidates(true)) lines[candidate.title] = candidate.method.line;
  for (const auto& [title, line] : expected) EXPECT_EQ(lines[title], line) << title;
  // Without calls the line keeps its marks and has no calls area.
  for (const ImportCandidate& candidate : SampleCandidates(false))
    EXPECT_EQ(candidate.method.line.find(','), std::string::npos) << candidate.title;
}

TEST(MethodImport, ImportedCallsChangeTheLeadTheyAreMadeIn) {
  for (const ImportCandidate& candidate : SampleCandidates(true)) {
    const auto comma = candidate.method.line.find(',');
    if (comma == std::string::npos) continue;
    SCOPED_TRACE(candidate.title + " = " + candidate.method.line);
    const std::size_t lead = static_cast<std::size_t>(PublishedLeadHeads().at(candidate.title).leadLength);
    const Touch plain = Ring(candidate.method);
    const bool hasBob = candidate.method.line.find("Single:s:") == std::string::npos;
    for (const char* calls : {hasBob ? "b" : "s", "s"}) {
      const Touch called = Ring(candidate.method, calls, static_cast<long>(lead));
      ASSERT_GE(called.rows.size(), lead);
      EXPECT_NE(called.rows[lead - 1], plain.rows[lead - 1]) << "call " << calls;
    }
  }
}

// A collection of one method set with one method.
std::string OneMethod(const std::string& stage, const std::string& title, const std::string& notation) {
  return "<collection><methodSet><properties><stage>" + stage + "</stage></properties><method><title>" + title +
         "</title><notation>" + notation + "</notation></method></methodSet></collection>";
}

TEST(MethodImport, BadFilesAreRefusedWithTheirReasons) {
  struct Case {
    const char* what;
    std::string text;
    const char* error;
  };
  const Case cases[] = {
      {"plain text", "[6]\nPlain Bob=-16-16-16\n", "not XML"},
      {"cut short", "<collection><methodSet>", "not XML"},
      {"empty", "", "not XML"},
      {"another kind of XML", "<towers><tower/></towers>", "not a method collection"},
  };
  for (const Case& c : cases) {
    const MethodCollection collection = ReadMethodCollection(c.text);
    EXPECT_NE(collection.error.find(c.error), std::string::npos) << c.what << ": " << collection.error;
    EXPECT_TRUE(collection.methods.empty()) << c.what;
  }
  EXPECT_EQ(ReadMethodCollectionFile("/nonexistent/collection.xml").error, "cannot be read");
}

TEST(MethodImport, EntitiesOfADocumentTypeAreNeverExpanded) {
  const MethodCollection collection = ReadMethodCollection(
      "<!DOCTYPE collection [<!ENTITY pb \"x16x16x16,12\"><!ENTITY file SYSTEM \"file:///etc/hostname\">]>"
      "<collection><methodSet><properties><stage>6</stage></properties>"
      "<method><title>Plain Bob Minor&file;</title><notation>&pb;</notation></method></methodSet></collection>");
  ASSERT_EQ(collection.error, "");
  ASSERT_EQ(collection.methods.size(), 1u);
  EXPECT_EQ(collection.methods[0].title, "Plain Bob Minor&file;");
  EXPECT_EQ(collection.methods[0].notation, "&pb;");
  EXPECT_NE(PrepareImport(collection.methods, false)[0].refusal, "");
}

TEST(MethodImport, BadMethodsAreRefusedWithTheirReasons) {
  struct Case {
    std::string stage, title, notation;
    const char* reason;
  };
  const Case cases[] = {
      {"6", "Odd Minor", "x1q", "the character \"q\" is not place notation"},
      {"6", "Gap Minor", "x13x14,12", "\"13\" leaves one bell alone between places 1 and 3"},
      {"6", "High Minor", "x17,12", "place 7 is beyond 6 bells"},
      {"5", "Cross Doubles", "x1,125", "a cross on an odd number of bells"},
      {"6", "Commas Minor", "x16,12,12", "more than one \",\""},
      {"6", "Half Minor", ",12", "a side of the \",\" without changes"},
      {"6", "Blank Minor", "", "the method has no notation"},
      {"2", "Two", "12", "stage \"2\" is not 3 to 18"},
      {"19", "Nineteen", "x", "stage \"19\" is not 3 to 18"},
      {"six", "Worded Minor", "x16", "stage \"six\" is not 3 to 18"},
      {"", "Stageless", "x16", "the method has no stage"},
      {"6", "", "x16", "the method has no title"},
      {"6", "A=B Minor", "x16", "cannot be kept in the library"},
      {"6", "[Bracket Minor", "x16", "cannot be kept in the library"},
      {"6", std::string(290, 'L') + " Minor", "x16x16x16,12", "its library line would be 305 characters"},
  };
  for (const Case& c : cases) {
    const MethodCollection collection = ReadMethodCollection(OneMethod(c.stage, c.title, c.notation));
    ASSERT_EQ(collection.error, "");
    ASSERT_EQ(collection.methods.size(), 1u);
    const std::vector<ImportCandidate> candidates = PrepareImport(collection.methods, false);
    EXPECT_NE(candidates[0].refusal.find(c.reason), std::string::npos)
        << c.title << " " << c.notation << ": " << candidates[0].refusal;
  }
}

TEST(MethodImport, ALineOfTheLongestLengthTheLibraryReadsIsKept) {
  // "name=line" of 299 characters is read back; 300 is not.
  const std::string line = "|12|&-16-16-16";
  for (const std::size_t total : {299u, 300u}) {
    const std::string name(total - 1 - line.size(), 'N');
    const auto candidates =
        PrepareImport(ReadMethodCollection(OneMethod("6", name + " Minor", "x16x16x16,12")).methods, false);
    EXPECT_EQ(candidates[0].refusal.empty(), total == 299u) << total << ": " << candidates[0].refusal;
  }
}

class LibraryImport : public ::testing::Test {
 protected:
  const std::string methods_ =
      "My own methods\n[3]\n\n[4]\n\n[5]\n\n[6]\nPlain Bob=-16-16-16.12\nMy Own=|12|&-16-36-36,|14|1234\n\n"
      "[7]\n\n[8]\n\n[9]\n\n[10]\n\n[11]\n\n[12]\n\n[13]\n\n[14]\n\n[15]\n\n[16]\n\n[17]\n\n[18]\n\n";
  const std::string compositions_ =
      "[Standard Headings]\n6=W:6 H:5\n\n[Compositions]\nName=Short Touch\nBells=6\nMethod=Plain Bob Minor\nLine=--\n\n";

  void SetUp() override {
    testing::WriteText(folder() / MethodsFile, methods_);
    testing::WriteText(folder() / CompositionsFile, compositions_);
  }
  std::filesystem::path folder() const { return data_.path() / LibraryFolder; }

  // Loads the library, imports the sample, saves as the import does.
  ImportReport Import() {
    Library library;
    MemorySettings settings;
    library.LoadLibrary(data_.path(), &settings);
    ImportReport report;
    EXPECT_TRUE(ImportIntoLibrary(library, SampleCandidates(true), &report));
    return report;
  }

  testing::TempFolder data_;
};

TEST_F(LibraryImport, AddsEveryNewTitleKeepsWhatWasThereAndAddsNothingTheSecondTime) {
  const ImportReport first = Import();
  EXPECT_EQ(first.added, static_cast<int>(PublishedLeadHeads().size()) - 1);
  EXPECT_EQ(first.skipped, 1) << "Plain Bob Minor was there";
  EXPECT_TRUE(first.refused.empty());
  const std::string afterFirst = testing::ReadText(folder() / MethodsFile);
  // The methods that were there are kept, in their order, with their lines.
  EXPECT_NE(afterFirst.find("My own methods\n[3]\n"), std::string::npos);
  EXPECT_NE(afterFirst.find("[6]\nPlain Bob=-16-16-16.12\nMy Own=|12|&-16-36-36,|14|1234\n"), std::string::npos);
  EXPECT_NE(afterFirst.find("Cambridge Surprise=|12|&-38-14-1258-36-14-58-16-78,|14|1234\n"), std::string::npos);
  EXPECT_EQ(testing::ReadText(folder() / CompositionsFile), compositions_);

  const ImportReport second = Import();
  EXPECT_EQ(second.added, 0);
  EXPECT_EQ(second.skipped, static_cast<int>(PublishedLeadHeads().size()));
  EXPECT_EQ(testing::ReadText(folder() / MethodsFile), afterFirst);

  // The written library reads back with every imported method.
  Library library;
  MemorySettings settings;
  library.LoadLibrary(data_.path(), &settings);
  std::bitset<MaxStage + 1> stages;
  stages.set();
  for (const auto& [title, head] : PublishedLeadHeads()) EXPECT_NE(library.FindMethod(title, stages), nullptr) << title;
}

TEST(MethodImport, ALibraryThatCannotBeWrittenKeepsNoneOfTheImport) {
  testing::TempFolder data;
  // A folder where the methods file would go: the file cannot be replaced.
  std::filesystem::create_directories(data.path() / LibraryFolder / MethodsFile);
  Library library;
  MemorySettings settings;
  library.LoadLibrary(data.path(), &settings);
  ImportReport report;
  EXPECT_FALSE(ImportIntoLibrary(library, SampleCandidates(false), &report));
  for (int stage = MinStage; stage <= MaxStage; ++stage) EXPECT_TRUE(library.Methods(stage).empty()) << stage;
  EXPECT_TRUE(std::filesystem::is_directory(data.path() / LibraryFolder / MethodsFile));
}

TEST(MethodImport, FilterChoosesByStageAndByTextInAnyCase) {
  const std::vector<ImportCandidate> candidates = SampleCandidates(false);
  auto count = [&](int stage, const std::string& match) {
    const ImportFilter filter{stage, match};
    int chosen = 0;
    for (const auto& candidate : candidates) chosen += filter.Chooses(candidate) ? 1 : 0;
    return chosen;
  };
  EXPECT_EQ(count(0, ""), static_cast<int>(candidates.size()));
  EXPECT_EQ(count(8, ""), 8);
  EXPECT_EQ(count(0, "stedman"), 5);
  EXPECT_EQ(count(12, "SURPRISE"), 3);
  EXPECT_EQ(count(5, "cambridge"), 0);
}

}  // namespace
}  // namespace clangor
