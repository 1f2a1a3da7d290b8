// Child windows hand every key press to the main window, so the keyboard map
// works whichever window the user clicked last.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace OvLibrary {

class KeyForwarder final : public QObject {
 public:
  explicit KeyForwarder(QWidget* mainWindow) : QObject(mainWindow), target_(mainWindow) {}
  // Forwards the keys of `child` and of every widget inside it.
  void Watch(QWidget* child);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> target_;
};

}  // namespace OvLibrary
