#include "platform/linux/LocalSocketSingleInstance.h"

#include "platform/linux/PrivateRuntimeFolder.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {

namespace {

const QByteArray reopenMessage = "reopen\n";
constexpr int connectTimeoutMs = 500;
constexpr const char* socketName = "rondelix-instance";

// True when the process at the other end of a connected socket runs as this
// user. The kernel vouches for the answer; nothing the peer sends can fake it.
bool peerIsThisUser(const QLocalSocket& socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    const auto fd = static_cast<int>(socket.socketDescriptor());
    return fd >= 0 && ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof peer &&
           peer.uid == ::getuid();
}

} // namespace

LocalSocketSingleInstance::LocalSocketSingleInstance() {
    const auto folder = PrivateRuntimeFolder::find(std::getenv("XDG_RUNTIME_DIR"));
    if (folder.path)
        socket_ = *folder.path / socketName;
    else
        failure_ = folder.failure;
}

LocalSocketSingleInstance::LocalSocketSingleInstance(std::filesystem::path socket)
    : socket_(std::move(socket)) {}

LocalSocketSingleInstance::~LocalSocketSingleInstance() = default;

bool LocalSocketSingleInstance::askRunningToReopen() {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(socket_->string()));
    if (!socket.waitForConnected(connectTimeoutMs)) return false;
    if (!peerIsThisUser(socket)) {
        socket.abort();
        return false;
    }
    socket.write(reopenMessage);
    socket.waitForBytesWritten(connectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

SingleInstance::Claim LocalSocketSingleInstance::claim(std::function<void()> onReopenRequest) {
    if (!socket_) return Claim::unavailable;
    if (askRunningToReopen()) return Claim::handedOver;

    // Nobody of ours answers: whatever socket is left belongs to an instance
    // that ended without cleaning up, or to someone who has no say here.
    const QString name = QString::fromStdString(socket_->string());
    QLocalServer::removeServer(name);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) {
        failure_ = server_->errorString().toStdString();
        server_.reset();
        return Claim::unavailable;
    }
    QObject::connect(
        server_.get(), &QLocalServer::newConnection, server_.get(),
        [server = server_.get(), onReopenRequest = std::move(onReopenRequest)] {
            while (QLocalSocket* socket = server->nextPendingConnection()) {
                QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                if (!peerIsThisUser(*socket)) {
                    socket->abort();
                    socket->deleteLater();
                    continue;
                }
                QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, onReopenRequest] {
                    if (socket->readAll().contains("reopen") && onReopenRequest) onReopenRequest();
                });
            }
        });
    return Claim::claimed;
}

} // namespace rondelix::platform::linux_desktop
