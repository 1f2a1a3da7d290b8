// Every example of the help page on writing compositions is rung, with the
// default library's methods and headings, and comes round at its length.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "library/library.h"
#include "tests/library/temp_folder.h"
#include "tests/ringing/composition_ringer.h"

namespace clangor {
namespace {

std::filesystem::path Source() {
  const char* source = std::getenv("CLANGOR_SOURCE_DIR");
  return std::filesystem::path(source != nullptr ? source : ".");
}

std::string Unescape(std::string text) {
  const std::pair<const char*, const char*> entities[] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}};
  for (const auto& [entity, plain] : entities) {
    for (auto at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1)) {
      text.replace(at, std::string(entity).size(), plain);
    }
  }
  return text;
}

// The library records shown on the page, in order.
std::vector<std::string> Examples(const std::string& page) {
  const std::string open = "<pre class=\"record\">\n";
  std::vector<std::string> examples;
  for (auto at = page.find(open); at != std::string::npos; at = page.find(open, at + 1)) {
    const auto begin = at + open.size();
    const auto end = page.find("</pre>", begin);
    if (end == std::string::npos) break;
    examples.push_back(Unescape(page.substr(begin, end - begin)));
  }
  return examples;
}

TEST(HelpExamples, EveryExampleComesRoundAtItsLength) {
  const auto compendium = Source() / "data/compendium";
  if (!std::filesystem::exists(compendium / MethodsFile)) GTEST_SKIP() << "no default methods in this tree yet";
  testing::TempFolder data;
  for (const char* file : {MethodsFile, CompositionsFile}) {
    testing::WriteText(data.path() / LibraryFolder / file, testing::ReadText(compendium / file));
  }
  Library library;
  library.LoadLibrary(data.path(), nullptr);
  const std::size_t defaults = library.compositions().size();

  const std::vector<std::string> examples = Examples(testing::ReadText(Source() / "data/help/composition_language.html"));
  ASSERT_GE(examples.size(), 10u);
  for (const std::string& example : examples) {
    std::istringstream in("[Standard Headings]\n[Compositions]\n" + example + "\n");
    library.ReadCompositions(in);
  }
  ASSERT_EQ(library.compositions().size(), defaults + examples.size());
  for (std::size_t i = defaults; i < library.compositions().size(); ++i) {
    Composition& composition = *library.compositions()[i];
    const Method* first = composition.FirstMethod();
    ASSERT_NE(first, nullptr) << composition.name;
    const testing::RungTouch touch = testing::Ring(composition, first, first->stage, composition.length + 1);
    EXPECT_TRUE(touch.cameRound) << composition.name;
    EXPECT_EQ(static_cast<int>(touch.rows.size()), composition.length) << composition.name;
  }
}

}  // namespace
}  // namespace clangor
