// The menus for each state of the tower and the ringing, built without a
// display from the product's default library: which items each holds, which
// are enabled and checked, and the commands built from data.
#include <gtest/gtest.h>

#include <fstream>

#include "library/library.h"
#include "resources/string_table.h"
#include "shell/command_ids.h"
#include "shell/menu_model.h"

namespace clangor {
namespace {

namespace cmd = command;

std::vector<std::string> Texts(const MenuItem& menu) {
  std::vector<std::string> texts;
  for (const MenuItem& item : menu.items) texts.push_back(item.separator() ? "-" : PlainMenuText(item.text));
  return texts;
}

using Texts_ = std::vector<std::string>;

class MenuModelTest : public ::testing::Test {
 protected:
  MenuModelTest() {
    const std::string data = std::string(CLANGOR_SOURCE_DATA) + "/compendium/";
    std::ifstream methods(data + "methods.txt"), compositions(data + "compositions.txt"),
        sequences(data + "call_change_sequences.txt");
    library.ReadMethods(methods);
    library.ReadCompositions(compositions);
    library.ReadCallChangeSequences(sequences);
    state.towerLoaded = true;
    state.library = &library;
    state.bellCount = 8;
    state.towers = {"Eight Bells", "Ten Bells", "Twelve Bells"};
    state.currentTower = "Twelve Bells";
    state.rings = {"Back 6", "All 8"};
    state.otherRings = {"Front 6"};
  }
  void InPlay(int bells) {
    state.bellsInPlay = bells;
    state.inPlay.assign(8, false);
    for (int b = 0; b < bells; ++b) state.inPlay[static_cast<std::size_t>(b)] = true;
  }
  void RingingMethod(bool composition) {
    InPlay(8);
    state.ringing = state.methodInProgress = true;
    state.compositionInProgress = composition;
    state.calls = {"Bob", "Single"};
    state.callInForce = 0;
  }

  Library library;
  CommandState state;
};

TEST_F(MenuModelTest, StoodWithoutBellsOffersOnlyTheBellsAndTheToggles) {
  MenuModel model(state);
  const MenuItem menu = model.RingingMenu();
  EXPECT_EQ(Texts(menu), (Texts_{"Back 6", "All 8", "Other", "None", "-", "Tower", "-", "Half-muffled",
                                 "Whole-pull Changes", "Silence", "Ropesight"}));
  EXPECT_FALSE(menu.Child("None")->enabled);  // nothing to lower
  EXPECT_EQ(menu.Find(cmd::Start), nullptr);
  EXPECT_EQ(menu.Find(cmd::Pause), nullptr);
}

TEST_F(MenuModelTest, StoodWithBellsOffersStartAndTheTouchesForTheBellsInPlay) {
  InPlay(6);
  state.halfMuffled = true;
  state.silenced = true;
  MenuModel model(state);
  const MenuItem menu = model.RingingMenu();
  EXPECT_EQ(Texts(menu), (Texts_{"Back 6", "All 8", "Other", "None", "-", "Tower", "-", "Start", "Go", "Go Again",
                                 "Compositions (Plain Bob Minor)", "-", "Call Changes", "-", "Half-muffled",
                                 "Whole-pull Changes", "Silence", "Ropesight"}));
  EXPECT_TRUE(menu.Child("Half-muffled")->checked);
  EXPECT_FALSE(menu.Child("Whole-pull Changes")->checked);
  EXPECT_TRUE(menu.Child("Silence")->checked);
  EXPECT_FALSE(menu.Child("Go Again")->enabled);  // nothing rung yet
  // Go holds the stages up to the bells in play, each with its methods.
  const MenuItem* go = menu.Child("Go");
  EXPECT_EQ(Texts(*go), (Texts_{"Singles", "Minimus", "Doubles", "Minor", "-", "Method List..."}));
  const MenuItem* minor = go->Child("Minor");
  ASSERT_NE(minor->Child("Cambridge Surprise"), nullptr);
  const int cambridge = minor->Child("Cambridge Surprise")->id;
  ASSERT_NE(model.MethodFor(cambridge), nullptr);
  EXPECT_EQ(model.MethodFor(cambridge)->Title(), "Cambridge Surprise Minor");
  EXPECT_EQ(minor->Child("Cambridge Surprise")->help, "Start ringing this method");
  // The compositions for the first Minor method, ringable with it.
  const MenuItem* compositions = menu.Child("Compositions (Plain Bob Minor)");
  ASSERT_GT(compositions->items.size(), 1u);
  EXPECT_EQ(compositions->items.back().id, cmd::CompositionList);
  const Composition* first = model.CompositionFor(compositions->items.front().id);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->AppliesTo(*model.CompositionMethod()));
  EXPECT_EQ(model.CompositionFor(cmd::CompositionBase + static_cast<int>(compositions->items.size())), nullptr);
  // The call-change sequences of six bells.
  const MenuItem* changes = menu.Child("Call Changes");
  ASSERT_GT(changes->items.size(), 1u);
  EXPECT_EQ(model.SequenceFor(changes->items.front().id)->stage, 6);
}

TEST_F(MenuModelTest, RingingAMethodOffersItsCallsWithTheOneInForceChecked) {
  RingingMethod(false);
  MenuModel model(state);
  const MenuItem menu = model.RingingMenu();
  EXPECT_EQ(Texts(menu), (Texts_{"Bob", "Single", "-", "Go", "Go Again", "Compositions (Plain Bob Major)", "-",
                                 "Call Changes", "Rounds", "Stand", "Stop Now!", "-", "Half-muffled",
                                 "Whole-pull Changes", "Silence", "Pause", "Fire the bells", "Ropesight"}));
  EXPECT_EQ(menu.Child("Bob")->id, cmd::CallBase + 1);
  EXPECT_TRUE(menu.Child("Bob")->checked);
  EXPECT_TRUE(menu.Child("Bob")->enabled);
  EXPECT_FALSE(menu.Child("Single")->checked);
  EXPECT_FALSE(menu.Child("Fire the bells")->enabled);  // firing not allowed now
}

TEST_F(MenuModelTest, RingingACompositionDisablesTheCalls) {
  RingingMethod(true);
  state.paused = true;
  state.canFire = true;
  MenuModel model(state);
  const MenuItem menu = model.RingingMenu();
  EXPECT_FALSE(menu.Child("Bob")->enabled);
  EXPECT_FALSE(menu.Child("Single")->enabled);
  EXPECT_TRUE(menu.Child("Pause")->checked);
  EXPECT_TRUE(menu.Child("Fire the bells")->enabled);
}

TEST_F(MenuModelTest, StandingRequestedDropsStandAndTheTouches) {
  InPlay(8);
  state.ringing = true;
  state.standRequested = true;
  MenuModel model(state);
  EXPECT_EQ(Texts(model.RingingMenu()), (Texts_{"Stand", "Stop Now!", "-", "Half-muffled", "Whole-pull Changes",
                                                "Silence", "Pause", "Fire the bells", "Ropesight"}));
  EXPECT_FALSE(model.RingingMenu().Child("Stand")->enabled);
  // Standing during a method: Stand is left out.
  RingingMethod(false);
  state.standRequested = true;
  EXPECT_EQ(model.RingingMenu().Child("Stand"), nullptr);
}

TEST_F(MenuModelTest, RingingCallChangesOffersTheTouchesOnlyWhenEveryBellCanChange) {
  InPlay(8);
  state.ringing = true;
  MenuModel model(state);
  EXPECT_EQ(Texts(model.RingingMenu()),
            (Texts_{"Go", "Go Again", "Compositions (Plain Bob Major)", "-", "Call Changes", "Stand", "Stop Now!",
                    "-", "Half-muffled", "Whole-pull Changes", "Silence", "Pause", "Fire the bells", "Ropesight"}));
  state.everyBellCanChange = false;
  EXPECT_EQ(model.RingingMenu().Child("Go"), nullptr);
  state.everyBellCanChange = true;
  state.firing = true;
  EXPECT_EQ(model.RingingMenu().Child("Go"), nullptr);
}

TEST_F(MenuModelTest, LoadingLeavesTheRingingMenuEmpty) {
  state.loading = true;
  MenuModel model(state);
  EXPECT_TRUE(model.RingingMenu().items.empty());
  EXPECT_TRUE(model.ContextMenu(1).items.empty());
}

TEST_F(MenuModelTest, TheFileMenuListsTheTowersLastFirstWithTheCurrentChecked) {
  MenuModel model(state);
  const MenuItem file = model.FileMenu();
  EXPECT_EQ(Texts(file), (Texts_{"Twelve Bells", "Ten Bells", "Eight Bells", "-", "Volume, Speed and Pitch...",
                                 "Preferences...", "Restore Methods and Compositions...", "Copy Rows to Clipboard",
                                 "Exit"}));
  EXPECT_EQ(file.items[0].id, cmd::TowerBase + 2);
  EXPECT_TRUE(file.items[0].checked);
  EXPECT_FALSE(file.items[1].checked);
  state.towerLoaded = false;
  EXPECT_EQ(Texts(model.FileMenu()).front(), "Volume, Speed and Pitch...");
}

TEST_F(MenuModelTest, TheViewMenuChecksWhatIsShown) {
  state.rows = true;
  state.toolBar = false;
  MenuModel model(state);
  const MenuItem view = model.ViewMenu();
  EXPECT_EQ(Texts(view), (Texts_{"Menu Bar", "Tool Bar", "Status Bar", "Ropes", "Moving Numbers", "Rows",
                                 "Manual Control", "-", "Full Screen"}));
  EXPECT_TRUE(view.Child("Rows")->checked);
  EXPECT_FALSE(view.Child("Tool Bar")->checked);
  EXPECT_TRUE(view.Child("Menu Bar")->checked);
  EXPECT_EQ(view.items[7].id, -1);  // separators number from 1 for each menu
}

TEST_F(MenuModelTest, TheRopesightPopupOffersTheBellsInPlayAndTheFlashDelays) {
  InPlay(6);
  state.ownBell = 2;
  state.flashDelay = 4;
  state.flashes = true;
  MenuModel model(state);
  const MenuItem ropesight = model.RopesightPopup();
  EXPECT_EQ(ropesight.items.size(), 6u + 1 + 8);
  EXPECT_EQ(ropesight.items.back().id, cmd::StrikingReport);  // the own bell's striking, last
  EXPECT_TRUE(ropesight.items[2].checked);
  EXPECT_EQ(ropesight.items[2].id, cmd::OwnRopeBase + 2);
  EXPECT_TRUE(ropesight.Child("Flashes")->checked);
  EXPECT_TRUE(ropesight.Find(cmd::FlashDelayBase + 4)->checked);
  EXPECT_FALSE(ropesight.Find(cmd::FlashDelayBase + 3)->checked);
  // My Rope only for a right-clicked bell in play.
  state.rememberedBell = 7;
  EXPECT_EQ(model.RingingMenu().Find(cmd::MyRope), nullptr);
  state.rememberedBell = 1;
  EXPECT_NE(model.RingingMenu().Find(cmd::MyRope), nullptr);
}

TEST_F(MenuModelTest, TheContextMenusApplyOnlyWithEnoughBells) {
  InPlay(6);
  MenuModel model(state);
  const MenuItem right = model.ContextMenu(0);
  EXPECT_EQ(Texts(right).back(), "Exit");
  EXPECT_NE(right.Find(cmd::Help), nullptr);
  EXPECT_EQ(Texts(model.ContextMenu(1)).front(), "Back 6");
  EXPECT_EQ(Texts(model.ContextMenu(2)).front(), "Go");
  EXPECT_FALSE(model.ContextMenu(6).items.empty());
  EXPECT_TRUE(model.ContextMenu(8).items.empty());  // fewer than eight in play
  EXPECT_FALSE(model.ContextMenu(cmd::SequenceBase).items.empty());
  InPlay(2);
  EXPECT_TRUE(model.ContextMenu(2).items.empty());
  EXPECT_TRUE(model.ContextMenu(cmd::SequenceBase).items.empty());
}

TEST(StringTableTest, HelpAndTipsSitAboveTheirCommands) {
  EXPECT_EQ(LoadString(1304), "&Start");
  EXPECT_EQ(LoadString(2304), "Start the bells ringing");
  EXPECT_EQ(LoadString(3304), "Start");
  EXPECT_EQ(LoadString(3101), "Volume, Speed and Pitch");
  EXPECT_EQ(LoadString(3103), "Exit");
  EXPECT_EQ(LoadString(3106), "");
  EXPECT_EQ(LoadString(2998), "Start ringing this method");
  EXPECT_EQ(LoadString(2999), "Call this composition for the selected method");
  EXPECT_EQ(LoadString(2389), "Use this set of standard headings instead of the default");
  EXPECT_EQ(LoadString(4999), "");
}

}  // namespace
}  // namespace clangor
