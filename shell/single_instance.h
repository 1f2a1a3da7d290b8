// One simulator per user: the first start listens on a local socket named
// for the user; a second start connects, asks the first to bring its window
// forward, and ends.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

namespace clangor {

class SingleInstance final : public QObject {
 public:
  // The socket's name for the current user.
  static QString DefaultName();

  explicit SingleInstance(QString name) : name_(std::move(name)) {}
  // True when an instance is running: it has been asked to come forward.
  bool AskRunningInstance(int waitMs = 1000) const;
  // Listens for later starts; `raise` runs for each. False when the name
  // cannot be taken.
  bool Listen(std::function<void()> raise);

 private:
  QString name_;
  QLocalServer* server_ = nullptr;
  std::function<void()> raise_;
};

}  // namespace clangor
