// What the library's dialogs are given by the main window: the library, the
// settings (list limits, column widths, dialog sizes), the stage of the
// ring, whether the library may only be viewed (while the bells ring), and
// what to do when the user asks to ring something, to see help, or has
// removed a record that the main window may still name.
#pragma once

#include <functional>
#include <string>

namespace clangor {

class Library;
class SettingsSource;
struct CallChangeSequence;
struct Composition;
struct Method;

// How an editor is opened: for a new record, to change one, or to look.
enum class EditorMode { New, Edit, View };

struct LibraryDialogContext {
  Library* library = nullptr;
  SettingsSource* settings = nullptr;
  int stage = 0;          // the stage of the ring
  bool viewOnly = false;  // the records may be read, not changed
  std::string tickImage;  // the tick mark of the first items of a list
  std::function<void(const Method&)> ringMethod;
  std::function<void(const CallChangeSequence&)> ringSequence;
  std::function<void(Composition&)> ringComposition;
  std::function<void(const std::string& topic)> help;
  // A record is about to go; the main window forgets it.
  std::function<void(const void* record)> forget;
};

}  // namespace clangor
