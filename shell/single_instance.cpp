#include "shell/single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace clangor {

namespace {
constexpr char RaiseRequest[] = "raise\n";
}  // namespace

QString SingleInstance::DefaultName() { return QString("Clangor-%1").arg(static_cast<unsigned>(getuid())); }

bool SingleInstance::AskRunningInstance(int waitMs) const {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(waitMs)) return false;
  socket.write(RaiseRequest);
  socket.waitForBytesWritten(waitMs);
  socket.disconnectFromServer();
  return true;
}

bool SingleInstance::Listen(std::function<void()> raise) {
  raise_ = std::move(raise);
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name_)) {
    // A socket left by an instance that ended without closing it.
    QLocalServer::removeServer(name_);
    if (!server_->listen(name_)) return false;
  }
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      if (raise_) raise_();
    }
  });
  return true;
}

}  // namespace clangor
