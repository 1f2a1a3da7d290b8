// The library files: their exact syntax, what is kept, what is skipped,
// the written forms, the order of use and the restoring of the defaults.
#include <gtest/gtest.h>

#include <sstream>

#include "library/library.h"
#include "ringing/memory_settings.h"
#include "tests/library/temp_folder.h"
#include "tests/ringing/composition_ringer.h"

namespace clangor {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

std::string EmptySections() {
  std::string out;
  for (int stage = 3; stage <= 18; ++stage) out += "[" + std::to_string(stage) + "]\n\n";
  return out;
}

std::string ReadBackMethods(const std::string& text, Library& library) {
  std::istringstream in(text);
  library.ReadMethods(in);
  return library.MethodsText();
}

TEST(MethodsFile, FirstSectionMustBeThree) {
  Library library;
  const std::string written = ReadBackMethods("My methods\n  kept as written  \n[4]\nPlain Bob=|12|&-14-14\n", library);
  EXPECT_TRUE(library.Methods(4).empty());
  EXPECT_EQ(written, "My methods\n  kept as written  \n" + EmptySections());
}

TEST(MethodsFile, SectionsLinesAndWrittenForm) {
  Library library;
  const std::string written = ReadBackMethods(
      "[3]\r\n"
      "[2]\nTwo=12\n[19]\nNineteen=-\n"
      "[6]\n"
      "  Plain   Bob = |12|&-16-16-16,|14|1234 \n"
      "No equals sign\n"
      "Empty=\n"
      "\n"
      "Twin=-16-16-16\n"
      "Twin=-36-16\n"
      "[12]junk\n"
      "Stray = a=b\n",
      library);
  ASSERT_EQ(library.Methods(6).size(), 3u);
  EXPECT_EQ(library.Methods(6)[0]->name, "Plain Bob");
  EXPECT_EQ(library.Methods(6)[0]->line, " |12|&-16-16-16,|14|1234 ");  // blanks round the line kept
  EXPECT_EQ(library.Methods(12)[0]->line, " a=b");
  EXPECT_TRUE(library.Methods(3).empty());
  EXPECT_TRUE(library.Methods(2).empty());
  std::string expected = "[3]\n\n[4]\n\n[5]\n\n[6]\nPlain Bob= |12|&-16-16-16,|14|1234 \nTwin=-16-16-16\nTwin=-36-16\n\n";
  for (int stage = 7; stage <= 18; ++stage) {
    expected += "[" + std::to_string(stage) + "]\n";
    if (stage == 12) expected += "Stray= a=b\n";
    expected += "\n";
  }
  EXPECT_EQ(written, expected);
}

TEST(MethodsFile, LongLineEndsTheReading) {
  Library library;
  std::istringstream in("[3]\n[6]\nA=-16\n" + std::string(290, 'x') + "=" + std::string(9, '1') +
                        "\nB=-16\n");
  library.ReadMethods(in);
  ASSERT_EQ(library.Methods(6).size(), 1u);
  EXPECT_EQ(library.Methods(6)[0]->name, "A");
  Library shorter;
  std::istringstream fits("[3]\n[6]\n" + std::string(290, 'x') + "=" + std::string(8, '1') + "\nB=-16\n");
  shorter.ReadMethods(fits);
  EXPECT_EQ(shorter.Methods(6).size(), 2u);
}

TEST(MethodsFile, SequencesShareTheLayout) {
  Library library;
  std::istringstream in("Sequences\n[3]\n[6]\nQueens=2.3\n  Tittums = 24.35 \n");
  library.ReadCallChangeSequences(in);
  ASSERT_EQ(library.Sequences(6).size(), 2u);
  EXPECT_EQ(library.Sequences(6)[1]->name, "Tittums");
  EXPECT_EQ(library.Sequences(6)[1]->notation, " 24.35 ");
  const std::string text = library.CallChangeSequencesText();
  EXPECT_EQ(text.substr(0, 56), "Sequences\n[3]\n\n[4]\n\n[5]\n\n[6]\nQueens=2.3\nTittums= 24.35 \n");
}

TEST(MethodsFile, UsageOrderMovesRungRecordsToTheFront) {
  Library library;
  std::istringstream in("[3]\n[6]\nA=-16\nB=-16\nC=-16\n");
  library.ReadMethods(in);
  const Method* c = library.Methods(6)[2].get();
  library.MethodRung(*c);
  EXPECT_EQ(library.Methods(6)[0].get(), c);  // the same record, not a copy
  EXPECT_EQ(library.Methods(6)[1]->name, "A");
  EXPECT_NE(library.MethodsText().find("[6]\nC=-16\nA=-16\nB=-16\n"), std::string::npos);
  Method stranger{6, "A", "-16"};
  library.MethodRung(stranger);  // not the library's: ignored
  EXPECT_EQ(library.Methods(6)[0].get(), c);
}

const char* const MethodsForCompositions =
    "[3]\n[6]\nPlain Bob=|12|&-16-16-16,|14|1234\nPlain Bob=|12|&-16-16-16,|14|1256\n"
    "Cambridge Surprise=|12|&-36-14-12-36-14-56,|14|1234\n";

TEST(CompositionsFile, RecordsKeysAndWrittenForm) {
  Library library;
  std::istringstream methods(MethodsForCompositions);
  library.ReadMethods(methods);
  std::istringstream in(
      "Compositions\n"
      "[Standard Headings]\n"
      "8 = W:8  H:7\n"
      "6=W:6 H:5\n"
      "Empty=\n"
      "=H:5\n"
      "6=I:3 W:6 H:5\n"
      "[Compositions]\n"
      "Name=First\n"
      "Bells=6, 8 19\n"
      "Length=120\n"
      "Method=Plain Bob Minor\n"
      "Unknown=kept out\n"
      "Line=-- ppp\n"
      "Line=-- ppp\n"
      "Parts=1\n"
      "Observation=1\n"
      "\n"
      "Name=Second\n"
      "HalfLeadSplicing=Yes\n"
      "Method=Plain Bob Minor:P\n"
      "Method=Cambridge Surprise Minor:C,|14|1456\n"
      "Method=Missing Method Minor:M\n"
      "DefaultCallMarkers=|/\n"
      "Headings=W:6 H:5\n"
      "LeadsPerCourse=5\n"
      "Line=C-P-\n"
      "Parts=-1\n"
      "KeepGoing=2\n"
      "Note=Spliced\n"
      "\n"
      "Name=No calling\n"
      "\n"
      "Name=Never read\n"
      "Line=-\n");
  library.ReadCompositions(in);
  ASSERT_EQ(library.compositions().size(), 2u);
  const Composition& first = *library.compositions()[0];
  EXPECT_EQ(first.observation, 0);
  EXPECT_EQ(first.entries[0].method, library.Methods(6)[1].get());  // the later of two equal titles
  EXPECT_EQ(library.standardHeadings().at("6"), "I:3 W:6 H:5");
  EXPECT_EQ(library.CompositionsText(),
            "Compositions\n"
            "[Standard Headings]\n"
            "6=I:3 W:6 H:5\n"
            "8=W:8 H:7\n"
            "\n"
            "[Compositions]\n"
            "Name=First\n"
            "Bells=6,8\n"
            "Length=120\n"
            "Method=Plain Bob Minor\n"
            "Line=-- ppp\n"
            "Line=-- ppp\n"
            "Observation=1\n"
            "\n"
            "Name=Second\n"
            "HalfLeadSplicing=Yes\n"
            "Method=Cambridge Surprise Minor :C,|14|1456\n"
            "Method=Missing Method Minor     :M\n"
            "Method=Plain Bob Minor          :P\n"
            "DefaultCallMarkers=|/\n"
            "Headings=W:6 H:5\n"
            "LeadsPerCourse=5\n"
            "Line=C-P-\n"
            "Parts=-1\n"
            "KeepGoing=2\n"
            "Note=Spliced\n"
            "\n");
}

// The editor finds methods by title as the loading did: a composition built
// again from its own record keeps the method it was read with.
TEST(CompositionsFile, FindingByTitleGivesTheMethodLoadingChose) {
  Library library;
  std::istringstream methods(MethodsForCompositions);
  library.ReadMethods(methods);
  std::istringstream in("[Standard Headings]\n[Compositions]\nBells=6\nMethod=Plain Bob Minor\nLine=-\n");
  library.ReadCompositions(in);
  ASSERT_EQ(library.compositions().size(), 1u);
  const Method* loaded = library.compositions()[0]->entries[0].method;
  ASSERT_EQ(loaded, library.Methods(6)[1].get());
  std::bitset<MaxStage + 1> minor;
  minor.set(6);
  EXPECT_EQ(library.FindMethod("Plain Bob Minor", minor), loaded);
  library.MethodRung(*loaded);  // now first in the list of use
  EXPECT_EQ(library.FindMethod("Plain Bob Minor", minor), loaded);
  CompositionFields fields;
  fields.bells = "6";
  fields.methods = {"Plain Bob Minor"};
  fields.lines = {"-"};
  EXPECT_EQ(BuildComposition(fields, &library, nullptr)->entries[0].method, loaded);
}

TEST(CompositionsFile, TitlesArePaddedAndAutomaticLabelsNeverWritten) {
  Library library;
  std::istringstream in(
      "[Standard Headings]\n[Compositions]\n"
      "Exclude=Eight Ch:240\nExclude=Twelve Chars\nExclude=Eight Ch:X,|14\nLine=-\n");
  library.ReadCompositions(in);
  EXPECT_EQ(library.CompositionsText(),
            "[Standard Headings]\n\n[Compositions]\n"
            "Exclude=Eight Ch     :X,|14\n"
            "Exclude=Eight Ch     :240\n"
            "Exclude=Twelve Chars \n"
            "Line=-\n\n");
}

TEST(CompositionsFile, WrongSectionsStopTheReading) {
  for (const char* text : {"[Headings]\n[Compositions]\nLine=-\n\n", "[Standard Headings]\n[Comps]\nLine=-\n\n"}) {
    Library library;
    std::istringstream in(text);
    library.ReadCompositions(in);
    EXPECT_TRUE(library.compositions().empty()) << text;
  }
}

TEST(LibraryFolder, LoadsSavesAndRestoresTheDefaults) {
  TempFolder data;
  const auto user = data.path() / "Compendium/XII";
  const auto defaults = data.path() / "Defaults/Compendium/XII";
  WriteText(user / "methods.txt", "[3]\n[6]\nMine=-16\n");
  WriteText(defaults / "methods.txt", "[3]\n[6]\nDefault=-16\n");
  WriteText(defaults / "compositions.txt", "[Standard Headings]\n[Compositions]\nBells=6\nMethod=Default Minor\nLine=-\n");
  MemorySettings settings;

  Library normal;
  normal.LoadLibrary(data.path(), &settings);
  EXPECT_EQ(normal.Methods(6)[0]->name, "Mine");
  EXPECT_TRUE(normal.compositions().empty());  // a missing file leaves that part empty

  settings.SetInt(setting::LoadFromDefaults, 1);
  Library restored;
  restored.LoadLibrary(data.path(), &settings);
  EXPECT_EQ(settings.GetInt(setting::LoadFromDefaults), 0);
  EXPECT_EQ(restored.Methods(6)[0]->name, "Default");
  ASSERT_EQ(restored.compositions().size(), 1u);
  EXPECT_EQ(restored.compositions()[0]->entries[0].method, restored.Methods(6)[0].get());
  // Written to the user's folder, so that the defaults replace the library.
  EXPECT_TRUE(restored.SaveMethods());
  EXPECT_TRUE(restored.SaveCompositions());
  EXPECT_TRUE(restored.SaveCallChangeSequences());
  EXPECT_NE(ReadText(user / "methods.txt").find("Default=-16"), std::string::npos);
  EXPECT_EQ(ReadText(defaults / "methods.txt"), "[3]\n[6]\nDefault=-16\n");

  Library after;
  after.LoadLibrary(data.path(), &settings);
  EXPECT_EQ(after.Methods(6)[0]->name, "Default");
  EXPECT_EQ(after.compositions().size(), 1u);
}

TEST(LibraryFolder, UnknownDataFolderReadsAndWritesNothing) {
  Library library;
  MemorySettings settings;
  library.LoadLibrary("", &settings);
  EXPECT_TRUE(library.folder().empty());
  EXPECT_FALSE(library.SaveMethods());
}

TEST(LibraryFolder, WritingReplacesTheFileWhole) {
  TempFolder data;
  const auto folder = data.path() / "Compendium/XII";
  WriteText(folder / "methods.txt", "[3]\n[6]\nOld=-16\n");
  Library library;
  library.LoadLibrary(data.path(), nullptr);
  library.AddMethod({8, "New", "-18"});
  ASSERT_TRUE(library.SaveMethods());
  EXPECT_NE(ReadText(folder / "methods.txt").find("[8]\nNew=-18\n"), std::string::npos);
  // Nothing but the three files is left behind.
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    EXPECT_EQ(entry.path().filename(), "methods.txt");
    ++files;
  }
  EXPECT_EQ(files, 1);
  // When the file cannot be replaced, the old one stays as it was.
  std::filesystem::remove(folder / "methods.txt");
  std::filesystem::create_directories(folder / "methods.txt" / "in the way");
  EXPECT_FALSE(library.SaveMethods());
  EXPECT_TRUE(std::filesystem::is_directory(folder / "methods.txt" / "in the way"));
  EXPECT_FALSE(std::filesystem::exists(folder / "methods.txt.writing"));
}

}  // namespace
}  // namespace clangor

namespace clangor {
namespace {

TEST(LibraryFolder, WhatTheReadingPassedOverIsKeptBesideTheFile) {
  using testing::ReadText;
  using testing::WriteText;
  testing::TempFolder data;
  const auto folder = data.path() / "Compendium/XII";
  const std::string methods = "[3]\n[6]\nA=-16\n" + std::string(400, 'x') + "\nB=-16\n";
  const std::string compositions = "[Standard Headings]\n[Compositions]\nLine=-\n\n\nLine=s\n";
  const std::string sequences = "[3]\n[6]\nQueens=2.3\n";
  WriteText(folder / "methods.txt", methods);
  WriteText(folder / "compositions.txt", compositions);
  WriteText(folder / "call_change_sequences.txt", sequences);
  Library library;
  library.LoadLibrary(data.path(), nullptr);
  EXPECT_EQ(library.Methods(6).size(), 1u);
  EXPECT_EQ(library.compositions().size(), 1u);
  ASSERT_TRUE(library.SaveMethods());
  ASSERT_TRUE(library.SaveCompositions());
  ASSERT_TRUE(library.SaveCallChangeSequences());
  EXPECT_EQ(ReadText(folder / "methods.txt.unread"), methods);
  EXPECT_EQ(ReadText(folder / "compositions.txt.unread"), compositions);
  EXPECT_FALSE(std::filesystem::exists(folder / "call_change_sequences.txt.unread"));  // read to its end
  // Only the first rewrite keeps a copy: the second would keep our own file.
  library.AddMethod({6, "C", "-16"});
  ASSERT_TRUE(library.SaveMethods());
  EXPECT_EQ(ReadText(folder / "methods.txt.unread"), methods);
}

}  // namespace
}  // namespace clangor

namespace clangor {
namespace {

// Hand-edited files: whatever they hold, reading ends, ringing ends, and
// writing keeps every record that was read.
TEST(BadInput, HandEditedCompositionsReadRingAndSave) {
  Library library;
  std::istringstream methods("[3]\r\n[6]\r\nPlain Bob=|12|&-16-16-16,|14|1234\r\n");
  library.ReadMethods(methods);
  std::istringstream in(
      "[Standard Headings]\r\n"
      "6=W:6 H:5 Q\r\n"
      "==\r\n"
      "[Compositions]\r\n"
      "=\r\n"
      "Bells=6\r\nMethod=Plain Bob Minor\r\nLine=((((-\r\nLine=)]}\r\n\r\n"
      "Bells=6\r\nMethod=Plain Bob Minor\r\nLine=A\r\nLine=A = B-\r\nLine=B = A\r\n\r\n"
      "Bells=6\r\nMethod=Plain Bob Minor\r\nLine=(-):A A 999999999999(A)\r\n\r\n"
      "Bells=6\r\nMethod=Plain Bob Minor\r\nLine=W H\r\nLine=====\r\nLine=\xe2\x82\xac - 4294967297\r\n\r\n"
      "Bells=6\r\nMethod=Plain Bob Minor:L\r\nMethod=Plain Bob Minor:L\r\nLine=LLLL\r\nParts=-1\r\nKeepGoing=99999999999\r\n\r\n"
      "Bells=6\r\nMethod=Nowhere Minor:N,|14\r\nLine=N-N-\r\nObservation=40\r\n\r\n");
  library.ReadCompositions(in);
  ASSERT_EQ(library.compositions().size(), 6u);
  const Method* method = library.Methods(6)[0].get();
  for (const auto& composition : library.compositions()) {
    const auto touch = testing::Ring(*composition, method, 6, 5000);
    EXPECT_FALSE(touch.rows.empty()) << composition->lines[0];
  }
  // Both entries with one label are written back, and the missing method too.
  const std::string text = library.CompositionsText();
  EXPECT_NE(text.find("Method=Plain Bob Minor :L\nMethod=Plain Bob Minor :L\n"), std::string::npos);
  EXPECT_NE(text.find("Method=Nowhere Minor:N,|14\n"), std::string::npos);
  std::istringstream again(text);
  Library reread;
  reread.ReadCompositions(again);
  EXPECT_EQ(reread.CompositionsText(), text);
}

}  // namespace
}  // namespace clangor

namespace clangor {
namespace {

// The reader stops at a line of 300 characters or more, so no such line is
// ever made: the library refuses a record that would need one, and writing
// leaves out (and names) a record changed in place to need one.
TEST(LongLines, RecordsThatCannotBeReadBackAreRefused) {
  Library library;
  EXPECT_NE(library.AddMethod({6, "A", std::string(297, '-')}), nullptr);  // "A=" and 297: 299 characters
  EXPECT_EQ(library.AddMethod({6, "B", std::string(298, '-')}), nullptr);
  EXPECT_NE(library.AddSequence({6, "Q", std::string(297, '1')}), nullptr);
  EXPECT_EQ(library.AddSequence({6, "R", std::string(298, '1')}), nullptr);
  CompositionFields fields;
  fields.lines = {std::string(294, '-')};  // "Line=" and 294: 299 characters
  EXPECT_NE(library.AddComposition(BuildComposition(fields, nullptr, nullptr)), nullptr);
  fields.lines.push_back(std::string(295, '-'));
  EXPECT_EQ(library.AddComposition(BuildComposition(fields, nullptr, nullptr)), nullptr);
  fields.lines = {"-"};
  fields.notes = {std::string(300, 'n')};
  EXPECT_EQ(library.AddComposition(BuildComposition(fields, nullptr, nullptr)), nullptr);
  EXPECT_EQ(library.Methods(6).size(), 1u);
  EXPECT_EQ(library.Sequences(6).size(), 1u);
  EXPECT_EQ(library.compositions().size(), 1u);
}

TEST(LongLines, WritingLeavesOutWhatCouldNotBeReadBackAndReadsTheRest) {
  testing::TempFolder data;
  const auto folder = data.path() / LibraryFolder;
  testing::WriteText(folder / MethodsFile, "[3]\n[6]\nA=-16\nB=-16\nC=-16\n");
  testing::WriteText(folder / CompositionsFile,
                     "[Standard Headings]\n[Compositions]\nName=One\nLine=-\n\nName=Two\nLine=-\n\nName=Three\nLine=-\n");
  testing::WriteText(folder / SequencesFile, "[3]\n[6]\nQueens=2.3\nKings=3.2\n");
  Library library;
  library.LoadLibrary(data.path(), nullptr);
  library.Methods(6)[1]->line = std::string(300, '-');  // as an editor might change them
  library.compositions()[1]->notes.push_back(std::string(300, 'n'));
  library.Sequences(6)[0]->notation = std::string(300, '1');

  EXPECT_FALSE(library.SaveMethods());
  EXPECT_EQ(library.leftOut(), std::vector<std::string>{"[6] B"});
  EXPECT_FALSE(library.SaveCompositions());
  EXPECT_EQ(library.leftOut(), std::vector<std::string>{"Two"});
  EXPECT_FALSE(library.SaveCallChangeSequences());
  EXPECT_EQ(library.leftOut(), std::vector<std::string>{"[6] Queens"});

  Library reread;
  reread.LoadLibrary(data.path(), nullptr);
  ASSERT_EQ(reread.Methods(6).size(), 2u);
  EXPECT_EQ(reread.Methods(6)[1]->name, "C");
  ASSERT_EQ(reread.compositions().size(), 2u);
  EXPECT_EQ(reread.compositions()[1]->name, "Three");
  ASSERT_EQ(reread.Sequences(6).size(), 1u);
  EXPECT_EQ(reread.Sequences(6)[0]->name, "Kings");
  EXPECT_TRUE(reread.SaveMethods());
  EXPECT_TRUE(reread.leftOut().empty());
}

TEST(LongLines, TitlesAreNotPaddedIntoALineTooLong) {
  // Read at 299 characters, the entry with the shorter title would reach 300
  // padded: it is written as it was read.
  const std::string calls(299 - std::string("Method=Short Minor:S,").size(), '1');
  std::istringstream in("[Standard Headings]\n[Compositions]\nMethod=Short Minor:S," + calls +
                        "\nMethod=Longer Title Minor:L\nLine=SL\n\nName=After\nLine=-\n");
  Library library;
  library.ReadCompositions(in);
  ASSERT_EQ(library.compositions().size(), 2u);
  std::vector<std::string> leftOut;
  const std::string text = library.CompositionsText(&leftOut);
  EXPECT_TRUE(leftOut.empty());
  EXPECT_NE(text.find("\nMethod=Longer Title Minor :L\nMethod=Short Minor:S," + calls + "\n"), std::string::npos);
  std::istringstream again(text);
  Library reread;
  reread.ReadCompositions(again);
  EXPECT_EQ(reread.compositions().size(), 2u);
}

}  // namespace
}  // namespace clangor
