#include "platform/linux/process/InstanceSocket.h"

#include "platform/linux/process/PrivateRuntimeFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <system_error>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {

namespace {

constexpr const char* socketName = "rondelix-instance";

// A connection is queued on a listening socket whether or not anyone will
// ever accept it: a process that inherited the socket for a moment (a child
// between its fork and its exec) keeps it listening after the instance
// itself has ended. So the request counts as taken only once the instance
// has read it and hung up; when the holder ends unread, the kernel resets
// the connection.
// A connection the instance does not take within the wait is no hand-over:
// a stopped or hung instance would never bring anything forward.
InstanceSocket::Answer awaitHangUp(int fd, const std::filesystem::path& path, std::string& failure,
                                   std::chrono::milliseconds wait) {
    pollfd answer{fd, POLLIN, 0};
    int ready;
    do
        ready = ::poll(&answer, 1, static_cast<int>(wait.count()));
    while (ready < 0 && errno == EINTR);
    if (ready == 0) return InstanceSocket::Answer::notResponding;
    char said[InstanceSocket::quittingMessage.size()];
    const ssize_t got = ready > 0 ? ::recv(fd, said, sizeof said, MSG_DONTWAIT) : -1;
    if (got == 0) return InstanceSocket::Answer::reopened;
    if (got < 0 && (errno == ECONNRESET || errno == EPIPE)) return InstanceSocket::Answer::nobodyListening;
    if (got > 0 &&
        InstanceSocket::quittingMessage.starts_with(std::string_view(said, static_cast<std::size_t>(got))))
        return InstanceSocket::Answer::nobodyListening;
    failure = path.string() + ": " +
              (got > 0 ? std::string("answered with something else than a hang-up")
                       : std::generic_category().message(errno));
    return InstanceSocket::Answer::failed;
}

// Connects without blocking; 0 once connected, else the error. A listener
// that takes nothing fills its queue, where a blocking connect would wait
// for ever: a full queue is tried again until the wait is over.
int connectWithin(int fd, const sockaddr_un& address, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return 0;
        if (errno != EAGAIN && errno != EINTR) return errno;
        if (std::chrono::steady_clock::now() >= deadline) return EAGAIN;
        ::poll(nullptr, 0, 10);
    }
}

} // namespace

InstanceSocket InstanceSocket::inRuntimeFolder() {
    auto folder = PrivateRuntimeFolder::find(std::getenv("XDG_RUNTIME_DIR"));
    if (!folder.path) return {std::nullopt, std::move(folder.failure)};
    return {*folder.path / socketName, {}};
}

InstanceSocket::Reply InstanceSocket::askToReopen(const std::filesystem::path& path,
                                                  std::chrono::milliseconds answerWait) {
    Reply reply;
    const auto failed = [&](const std::string& why) {
        reply.answer = Answer::failed;
        reply.failure = path.string() + ": " + why;
        return reply;
    };
    sockaddr_un address{};
    if (!addressOf(path, address)) return failed("path too long for a socket");
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return failed(std::generic_category().message(errno));
    if (const int error = connectWithin(fd, address, answerWait); error != 0) {
        ::close(fd);
        if (error == ENOENT || error == ECONNREFUSED) {
            reply.answer = Answer::nobodyListening;
            return reply;
        }
        // A full queue: requests wait there that nobody takes.
        if (error == EAGAIN) {
            reply.answer = Answer::notResponding;
            return reply;
        }
        return failed(std::generic_category().message(error));
    }
    const auto peer = peerOfThisUser(fd);
    if (!peer) {
        ::close(fd);
        return failed("answered by another user");
    }
    reply.process = *peer;
    if (::send(fd, reopenMessage.data(), reopenMessage.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(reopenMessage.size())) {
        if (errno == EPIPE || errno == ECONNRESET)
            reply.answer = Answer::nobodyListening; // its holder has just ended
        else
            reply = failed(std::generic_category().message(errno));
    } else {
        reply.answer = awaitHangUp(fd, path, reply.failure, answerWait);
    }
    ::close(fd);
    return reply;
}

std::optional<int> InstanceSocket::peerOfThisUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || size != sizeof peer ||
        peer.uid != ::getuid())
        return std::nullopt;
    return peer.pid;
}

bool InstanceSocket::addressOf(const std::filesystem::path& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.native().size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.native().size());
    return true;
}

} // namespace rondelix::platform::linux_desktop
