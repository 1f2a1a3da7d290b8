// The default library as a whole: it reads and writes back byte for byte,
// and every composition comes round at exactly its length, true where it is
// an extent, a quarter peal or a peal.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "library/library.h"
#include "tests/library/temp_folder.h"
#include "tests/ringing/composition_ringer.h"

namespace clangor {
namespace {

std::filesystem::path Compendium() {
  const char* source = std::getenv("CLANGOR_SOURCE_DIR");
  return std::filesystem::path(source != nullptr ? source : ".") / "data/compendium";
}

long Extent(int stage) {
  long extent = 1;
  for (int i = 2; i <= stage; ++i) extent *= i;
  return extent;
}

class DefaultLibraryFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {MethodsFile, CompositionsFile, SequencesFile}) {
      if (!std::filesystem::exists(Compendium() / file)) GTEST_SKIP() << file << " is not in this tree yet";
      testing::WriteText(data_.path() / LibraryFolder / file, testing::ReadText(Compendium() / file));
    }
    library_.LoadLibrary(data_.path(), nullptr);
  }

  testing::TempFolder data_;
  Library library_;
};

TEST_F(DefaultLibraryFiles, WritesBackByteForByte) {
  EXPECT_EQ(library_.MethodsText(), testing::ReadText(Compendium() / MethodsFile));
  EXPECT_EQ(library_.CompositionsText(), testing::ReadText(Compendium() / CompositionsFile));
  EXPECT_EQ(library_.CallChangeSequencesText(), testing::ReadText(Compendium() / SequencesFile));
}

TEST_F(DefaultLibraryFiles, EveryCompositionComesRoundAtItsLength) {
  ASSERT_FALSE(library_.compositions().empty());
  for (const auto& composition : library_.compositions()) {
    const std::string label = composition->name + " (" + composition->entries.front().title + ")";
    for (const MethodEntry& entry : composition->entries) {
      EXPECT_NE(entry.method, nullptr) << label << ": no method titled " << entry.title;
    }
    const Method* first = composition->FirstMethod();
    ASSERT_NE(first, nullptr) << label;
    ASSERT_GT(composition->length, 0) << label;
    const testing::RungTouch touch = testing::Ring(*composition, first, first->stage, composition->length + 1);
    EXPECT_TRUE(touch.cameRound) << label;
    EXPECT_EQ(static_cast<int>(touch.rows.size()), composition->length) << label;
    if (composition->length >= 1250 || composition->length == Extent(first->stage)) {
      EXPECT_TRUE(testing::IsTrue(touch.rows)) << label;
    }
  }
}

TEST_F(DefaultLibraryFiles, EveryStandardHeadingIsReadable) {
  for (const auto& [identifier, text] : library_.standardHeadings()) {
    const HeadingMap headings = ParseHeadings(text);
    EXPECT_FALSE(headings.empty()) << identifier;
    for (const auto& [name, position] : headings) {
      EXPECT_GT(ReadCallingPosition(position, MaxBells).position, 0) << identifier << " " << name;
    }
  }
}

}  // namespace
}  // namespace clangor
