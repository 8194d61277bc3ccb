#include "platform/linux/process/LocalSocketSingleInstance.h"

#include "platform/linux/process/InstanceSocket.h"
#include "platform/linux/process/TerminationSignals.h"

#include <QObject>
#include <QSocketNotifier>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <system_error>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {

namespace {

// How long a start waits for a taken lock to be answered or let go.
constexpr auto answerWait = std::chrono::seconds(2);
constexpr int retryStepMs = 10;
// A request is one short word; a peer that sends more is not one of ours.
constexpr std::size_t requestLimit = 64;

std::string systemError(const std::string& what) {
    return what + ": " + std::generic_category().message(errno);
}

// Reads one connection's request as it arrives and hangs up when it is
// complete, ends, or grows past what a request can be.
void readRequest(int fd, QObject* owner, const std::function<void()>& onReopenRequest) {
    auto* reader = new QSocketNotifier(fd, QSocketNotifier::Read, owner);
    QObject::connect(reader, &QObject::destroyed, [fd] { ::close(fd); });
    QObject::connect(reader, &QSocketNotifier::activated, reader,
                     [reader, fd, onReopenRequest, request = std::string()]() mutable {
                         char chunk[requestLimit];
                         const ssize_t got = ::read(fd, chunk, sizeof chunk);
                         if (got < 0 && (errno == EAGAIN || errno == EINTR)) return;
                         if (got > 0) request.append(chunk, static_cast<std::size_t>(got));
                         const bool asked = request.find(InstanceSocket::reopenMessage) != std::string::npos;
                         if (!asked && got > 0 && request.size() < requestLimit) return;
                         reader->setEnabled(false);
                         // Once the program is told to quit, nothing it could bring forward
                         // stays: the start is told so, and takes the place instead.
                         if (asked && terminationSignalReceived()) {
                             [[maybe_unused]] const auto sent =
                                 ::send(fd, InstanceSocket::quittingMessage.data(),
                                        InstanceSocket::quittingMessage.size(), MSG_NOSIGNAL);
                             ::shutdown(fd, SHUT_RDWR);
                             reader->deleteLater();
                             return;
                         }
                         // Hanging up is the answer the asking start waits for: at once,
                         // not when the reader is deleted after whatever the request opens.
                         ::shutdown(fd, SHUT_RDWR);
                         reader->deleteLater();
                         if (asked && onReopenRequest) onReopenRequest();
                     });
}

} // namespace

LocalSocketSingleInstance::LocalSocketSingleInstance() {
    auto socket = InstanceSocket::inRuntimeFolder();
    socket_ = std::move(socket.path);
    failure_ = std::move(socket.failure);
}

LocalSocketSingleInstance::LocalSocketSingleInstance(std::filesystem::path socket)
    : socket_(std::move(socket)) {}

LocalSocketSingleInstance::~LocalSocketSingleInstance() {
    release();
}

void LocalSocketSingleInstance::release() {
    serving_.reset();
    // The socket goes before the lock, so that it never takes a successor's socket along.
    if (listener_ >= 0) {
        ::unlink(socket_->c_str());
        ::close(listener_);
        listener_ = -1;
    }
    if (lock_ >= 0) ::close(lock_);
    lock_ = -1;
}

SingleInstance::Claim LocalSocketSingleInstance::claim() {
    if (!socket_) return Claim::unavailable;
    const std::string lockPath = socket_->string() + ".lock";
    lock_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lock_ < 0) {
        failure_ = systemError(lockPath);
        return Claim::unavailable;
    }
    // The lock is taken and nobody answers while an instance that has just
    // taken it does not listen yet, or while one that has just ended is still
    // letting go of it (a child that inherited the lock for a moment holds it
    // until its exec): both pass, so both are waited out for a while.
    const auto deadline = std::chrono::steady_clock::now() + answerWait;
    for (;;) {
        if (::flock(lock_, LOCK_EX | LOCK_NB) == 0) return becomeTheInstance();
        InstanceSocket::Reply reply;
        if (errno == EWOULDBLOCK)
            reply = InstanceSocket::askToReopen(*socket_);
        else
            reply.failure = systemError(lockPath);
        if (reply.answer != InstanceSocket::Answer::nobodyListening ||
            std::chrono::steady_clock::now() >= deadline) {
            ::close(lock_);
            lock_ = -1;
            failure_ = std::move(reply.failure);
            switch (reply.answer) {
            case InstanceSocket::Answer::reopened:
                return Claim::handedOver;
            case InstanceSocket::Answer::notResponding:
                unresponsiveProcess_ = reply.process;
                return Claim::notResponding;
            case InstanceSocket::Answer::nobodyListening:
            case InstanceSocket::Answer::failed:
                break;
            }
            if (failure_.empty()) failure_ = "the running instance did not answer";
            return Claim::unavailable;
        }
        ::poll(nullptr, 0, retryStepMs);
    }
}

SingleInstance::Claim LocalSocketSingleInstance::becomeTheInstance() {
    sockaddr_un address{};
    if (!InstanceSocket::addressOf(*socket_, address)) {
        failure_ = socket_->string() + ": path too long for a socket";
        return Claim::unavailable;
    }
    // Whatever socket is left there belongs to an instance that ended without
    // cleaning up, or to someone who has no say here: the lock is ours.
    ::unlink(socket_->c_str());
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(socket_->c_str(), 0600) != 0 || ::listen(listener_, 8) != 0) {
        failure_ = systemError(socket_->string());
        if (listener_ >= 0) ::close(listener_);
        listener_ = -1;
        return Claim::unavailable;
    }
    failure_.clear();
    return Claim::claimed;
}

void LocalSocketSingleInstance::serve(std::function<void()> onReopenRequest) {
    if (listener_ < 0 || serving_) return;
    serving_ = std::make_unique<QObject>();
    auto* listening = new QSocketNotifier(listener_, QSocketNotifier::Read, serving_.get());
    QObject::connect(
        listening, &QSocketNotifier::activated, serving_.get(),
        [this, onReopenRequest = std::move(onReopenRequest)] {
            for (int fd; (fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0;) {
                if (InstanceSocket::peerOfThisUser(fd))
                    readRequest(fd, serving_.get(), onReopenRequest);
                else
                    ::close(fd);
            }
        });
}

} // namespace rondelix::platform::linux_desktop
