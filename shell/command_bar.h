// The tool bar: four bands (rings, touch, ringing, options) whose button
// pictures come from the strips in the data folder's "Program Stuff", the
// drop-down buttons whose menus the main window fills, and the buttons'
// enabling, checks and visibility refreshed from the command state.
#pragma once

#include <QToolBar>

#include <functional>
#include <map>
#include <string>

#include "shell/menu_model.h"

class QMainWindow;
class QMenu;
class QToolButton;

namespace clangor {

class CommandBar final : public QObject {
  Q_OBJECT
 public:
  using Command = std::function<void(int id)>;
  using FillMenu = std::function<void(QMenu* menu, int buttonId)>;

  // Adds the four bands to `window`; the pictures are read from
  // `programStuff` (the folder of "rings_bar_standard.bmp" and the rest).
  CommandBar(QMainWindow* window, const std::string& programStuff, Command command, FillMenu fill);

  void Refresh(const CommandState& state);
  void ShowBands(bool shown);
  void SetSelectBellsPressed(bool pressed);

  // The button of a command, or none (for the tests and the screenshots).
  QToolButton* Button(int id) const;
  QToolBar* band(int index) const { return bands_[index]; }

 private:
  QToolBar* AddBand(QMainWindow* window, const char* name);
  QToolButton* AddButton(QToolBar* band, int id, const std::string& strip, int picture, bool checkable,
                         bool dropDown);
  QToolButton* AddTextButton(QToolBar* band, int id, const QString& text);

  std::string stuff_;
  Command command_;
  FillMenu fill_;
  QToolBar* bands_[4] = {};
  std::map<int, QToolButton*> buttons_;
  std::map<int, QAction*> actions_;  // the band's action of each button (for hiding)
};

}  // namespace clangor
