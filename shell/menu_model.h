// What the main window's menus hold for a state of the tower and the ringing:
// the items, their enabling and checks, and the commands built from data
// (5100-5999), whose objects the window looks up by identifier when one is
// chosen. Plain code: the window turns the items into Qt menus, the tests
// read them directly.
#pragma once

#include <string>
#include <vector>

namespace clangor {

class Library;
struct CallChangeSequence;
struct Composition;
struct Method;

// Everything the menus depend on, read from the engine, the settings and the
// window each time a menu opens.
struct CommandState {
  bool towerLoaded = false;
  bool loading = false;
  bool ringing = false;                // the bells ring (or are asked to)
  bool methodInProgress = false;       // a method or composition rings
  bool compositionInProgress = false;  // a composition rings
  bool standRequested = false;
  bool firing = false;
  bool canFire = false;
  bool paused = false;
  bool silenced = false;
  bool halfMuffled = false;
  bool wholePull = false;
  bool canGoAgain = false;
  bool everyBellCanChange = true;  // every bell can move three places at this speed
  int bellCount = 0;
  int bellsInPlay = 0;
  std::vector<bool> inPlay;     // per bell
  int ownBell = -1;
  int rememberedBell = -1;      // the bell of the last right click
  std::vector<std::string> towers;
  std::string currentTower;
  std::vector<std::string> rings, otherRings;  // menu texts
  std::vector<std::string> calls;              // the current method's calls after the plain lead
  int callInForce = -1;                        // index into calls, -1: none
  // View toggles.
  bool menuBar = true, toolBar = true, statusBar = true, ropes = false, movingNumbers = false, rows = false,
       manualControl = false, fullScreen = false;
  // Ropesight.
  bool flashes = false, cumulative = false, tapOwnBell = false, ownVolumeMax = false, hitBar = false;
  int flashDelay = 3;
  // The library, and the method the compositions pop-up is for (none: the
  // first method of the stage in play).
  const Library* library = nullptr;
  const Method* currentMethod = nullptr;
};

struct MenuItem {
  int id = 0;  // 0 with no items: a separator
  std::string text;
  std::string help;  // shown in status pane 5 while highlighted
  bool enabled = true;
  bool checkable = false;
  bool checked = false;
  bool popup = false;
  std::vector<MenuItem> items;

  bool separator() const { return id <= 0 && !popup; }
  // The item of that identifier anywhere below, or none.
  const MenuItem* Find(int commandId) const;
  // The item of that text (without "&" marks and key names) directly below.
  const MenuItem* Child(const std::string& plainText) const;
};

// The menus for one state. Building a menu records the objects of the
// commands built from data, so that a chosen identifier finds its object
// until the next menu is built.
class MenuModel {
 public:
  // The most methods one stage's pop-up lists (its most recently rung).
  static constexpr int MaxMethodsPerStage = 30;

  explicit MenuModel(const CommandState& state) : state_(state) {}

  MenuItem FileMenu();
  MenuItem ViewMenu();
  MenuItem RingingMenu();
  MenuItem HelpMenu();
  std::vector<MenuItem> MenuBar();

  MenuItem SelectBellsPopup();
  MenuItem TowerPopup();
  MenuItem RopesightPopup();
  // Go, Go Again, the compositions and the call changes, for the bells in play.
  std::vector<MenuItem> RingingPopups();
  MenuItem MethodsPopup(int stage);
  MenuItem SequencesPopup();
  MenuItem CompositionsPopup();
  MenuItem OptionsPopup();  // the tool bar's ringing options
  // The pop-up at the mouse: 0 right click, 1 Select Bells, 2 the ringing
  // pop-ups, 3-18 the methods of that stage, 5100 the call-change
  // sequences. Empty (no items) when it does not apply.
  MenuItem ContextMenu(int index);
  // Forgets the commands built from data and numbers separators from 1
  // again: a new menu loop begins.
  void Restart();

  // The objects of the commands built from data; none when the identifier
  // was not built.
  const CallChangeSequence* SequenceFor(int id) const;
  const Method* MethodFor(int id) const;
  const Composition* CompositionFor(int id) const;
  // The method the compositions pop-up was built for.
  const Method* CompositionMethod() const;

 private:
  MenuItem Command(int id, bool enabled = true) const;
  MenuItem Toggle(int id, bool checked, bool enabled = true) const;
  MenuItem Popup(int id) const;
  MenuItem Separator();
  void AddRingingToggles(MenuItem& menu, bool ringing);
  const Method* MethodForCompositions() const;

  const CommandState& state_;
  int separators_ = 0;
  std::vector<const CallChangeSequence*> sequences_;
  std::vector<const Method*> methods_;
  std::vector<const Composition*> compositions_;
  const Method* compositionMethod_ = nullptr;
};

// The menu text without its "&" marks and key name.
std::string PlainMenuText(const std::string& text);

}  // namespace clangor
