// The kit's own definition format: a good file reads whole, and a broken one
// stops the kit with the file and line rather than making a wrong tower.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "tools/towerkit/tower_definition.h"

namespace clangor::towerkit {
namespace {

namespace fs = std::filesystem;

const std::string Good = R"([Tower]
TenorKey = G
PealMins = 175
Tiers = 2

[Rings]
Both = UU

[Sound Sets]
Near = Near Folder, dry
Far = Far Folder, room

[Bells]
1 = Treble, A, 880, 4, 1.6, 0.6, 40
2 = Tenor, G, 783.99, 6, 1.7, 0.65, 35
)";

fs::path Write(const std::string& text) {
  const fs::path path = fs::temp_directory_path() / ("clangor_towerdef_" + std::to_string(::getpid()) + ".def");
  std::ofstream(path) << text;
  return path;
}

TEST(TowerDefinitionTest, AGoodDefinitionReadsWhole) {
  const fs::path path = Write(Good);
  const TowerDefinition tower = ReadTowerDefinition(path.string(), "Pair");
  fs::remove(path);
  EXPECT_EQ(tower.name, "Pair");
  EXPECT_EQ(tower.tenorKey, "G");
  EXPECT_EQ(tower.pealMins, 175);
  EXPECT_EQ(tower.tiers, 2);
  EXPECT_EQ(tower.handStrike, 15000);  // not given: the usual strike angles
  ASSERT_EQ(tower.soundSets.size(), 2u);
  EXPECT_EQ(tower.soundSets[1].source, "Far Folder");
  EXPECT_EQ(tower.soundSets[1].style, SoundStyle::Room);
  ASSERT_EQ(tower.bells.size(), 2u);
  EXPECT_EQ(tower.bells[1].name, "Tenor");
  EXPECT_DOUBLE_EQ(tower.bells[1].nominal, 783.99);
  EXPECT_EQ(tower.bells[1].maxPull, 35);
}

TEST(TowerDefinitionTest, ABrokenDefinitionNamesItsLine) {
  struct Case {
    const char* what;
    std::string from, to, line;
  };
  const Case cases[] = {
      {"a field missing", "0.65, 35", "0.65", ":15:"},
      {"a number that is not one", "783.99", "78x", ":15:"},
      {"bells out of order", "2 = Tenor", "3 = Tenor", ":15:"},
      {"an unknown key", "Tiers = 2", "Tires = 2", ":4:"},
      {"a sound set without its kind", "Far Folder, room", "Far Folder", ":11:"},
  };
  for (const Case& c : cases) {
    std::string text = Good;
    text.replace(text.find(c.from), c.from.size(), c.to);
    const fs::path path = Write(text);
    try {
      ReadTowerDefinition(path.string(), "Pair");
      ADD_FAILURE() << c.what << " was read";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(c.line), std::string::npos) << c.what << ": " << e.what();
    }
    fs::remove(path);
  }
  EXPECT_THROW(ReadTowerDefinition("/nonexistent/tower.def", "None"), std::runtime_error);
}

}  // namespace
}  // namespace clangor::towerkit
