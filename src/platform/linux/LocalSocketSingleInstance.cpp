#include "platform/linux/LocalSocketSingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {

namespace {

const QByteArray reopenMessage = "reopen\n";
constexpr int connectTimeoutMs = 500;

} // namespace

LocalSocketSingleInstance::LocalSocketSingleInstance(QString name) : name_(std::move(name)) {}

LocalSocketSingleInstance::~LocalSocketSingleInstance() = default;

QString LocalSocketSingleInstance::defaultName() {
    return QStringLiteral("rondelix-%1").arg(::getuid());
}

bool LocalSocketSingleInstance::askRunningToReopen() {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(connectTimeoutMs)) return false;
    socket.write(reopenMessage);
    socket.waitForBytesWritten(connectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

SingleInstance::Claim LocalSocketSingleInstance::claim(std::function<void()> onReopenRequest) {
    if (askRunningToReopen()) return Claim::handedOver;

    // Nobody answers: whatever socket file is left belongs to an instance
    // that ended without cleaning up.
    QLocalServer::removeServer(name_);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        failure_ = server_->errorString().toStdString();
        server_.reset();
        return Claim::unavailable;
    }
    QObject::connect(
        server_.get(), &QLocalServer::newConnection, server_.get(),
        [server = server_.get(), onReopenRequest = std::move(onReopenRequest)] {
            while (QLocalSocket* socket = server->nextPendingConnection()) {
                QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, onReopenRequest] {
                    if (socket->readAll().contains("reopen") && onReopenRequest) onReopenRequest();
                });
            }
        });
    return Claim::claimed;
}

} // namespace rondelix::platform::linux_desktop
