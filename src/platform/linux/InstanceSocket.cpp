#include "platform/linux/InstanceSocket.h"

#include "platform/linux/PrivateRuntimeFolder.h"

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
InstanceSocket::Answer awaitHangUp(int fd, const std::filesystem::path& path, std::string& failure,
                                   std::chrono::milliseconds wait) {
    pollfd answer{fd, POLLIN, 0};
    int ready;
    do
        ready = ::poll(&answer, 1, static_cast<int>(wait.count()));
    while (ready < 0 && errno == EINTR);
    if (ready == 0) return InstanceSocket::Answer::busy;
    char byte;
    const ssize_t got = ready > 0 ? ::recv(fd, &byte, 1, MSG_DONTWAIT) : -1;
    if (got == 0) return InstanceSocket::Answer::reopened;
    if (got < 0 && (errno == ECONNRESET || errno == EPIPE)) return InstanceSocket::Answer::nobodyListening;
    failure = path.string() + ": " +
              (got > 0 ? std::string("answered with something else than a hang-up")
                       : std::generic_category().message(errno));
    return InstanceSocket::Answer::failed;
}

} // namespace

InstanceSocket InstanceSocket::inRuntimeFolder() {
    auto folder = PrivateRuntimeFolder::find(std::getenv("XDG_RUNTIME_DIR"));
    if (!folder.path) return {std::nullopt, std::move(folder.failure)};
    return {*folder.path / socketName, {}};
}

InstanceSocket::Answer InstanceSocket::askToReopen(const std::filesystem::path& path, std::string& failure,
                                                   std::chrono::milliseconds answerWait) {
    sockaddr_un address{};
    if (!addressOf(path, address)) {
        failure = path.string() + ": path too long for a socket";
        return Answer::failed;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        failure = path.string() + ": " + std::generic_category().message(errno);
        return Answer::failed;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == ENOENT || error == ECONNREFUSED) return Answer::nobodyListening;
        failure = path.string() + ": " + std::generic_category().message(error);
        return Answer::failed;
    }
    Answer answer = Answer::failed;
    if (!peerIsThisUser(fd)) {
        failure = path.string() + ": answered by another user";
    } else if (::send(fd, reopenMessage.data(), reopenMessage.size(), MSG_NOSIGNAL) !=
               static_cast<ssize_t>(reopenMessage.size())) {
        if (errno == EPIPE || errno == ECONNRESET)
            answer = Answer::nobodyListening; // its holder has just ended
        else
            failure = path.string() + ": " + std::generic_category().message(errno);
    } else {
        answer = awaitHangUp(fd, path, failure, answerWait);
    }
    ::close(fd);
    return answer;
}

bool InstanceSocket::peerIsThisUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof peer &&
           peer.uid == ::getuid();
}

bool InstanceSocket::addressOf(const std::filesystem::path& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.native().size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.native().size());
    return true;
}

} // namespace rondelix::platform::linux_desktop
