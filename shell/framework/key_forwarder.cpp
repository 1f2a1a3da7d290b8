#include "shell/framework/key_forwarder.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace OvLibrary {

void KeyForwarder::Watch(QWidget* child) {
  child->installEventFilter(this);
  for (QWidget* inner : child->findChildren<QWidget*>()) inner->installEventFilter(this);
}

bool KeyForwarder::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && target_ && watched != target_) {
    const auto* key = static_cast<QKeyEvent*>(event);
    QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                   static_cast<quint16>(key->count()));
    QCoreApplication::sendEvent(target_, &copy);
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace OvLibrary
