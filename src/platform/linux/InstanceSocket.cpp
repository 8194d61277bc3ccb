#include "platform/linux/InstanceSocket.h"

#include "platform/linux/PrivateRuntimeFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <system_error>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {

namespace {

constexpr const char* socketName = "rondelix-instance";

} // namespace

InstanceSocket InstanceSocket::inRuntimeFolder() {
    auto folder = PrivateRuntimeFolder::find(std::getenv("XDG_RUNTIME_DIR"));
    if (!folder.path) return {std::nullopt, std::move(folder.failure)};
    return {*folder.path / socketName, {}};
}

InstanceSocket::Answer InstanceSocket::askToReopen(const std::filesystem::path& path, std::string& failure) {
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
    Answer answer = Answer::reopened;
    if (!peerIsThisUser(fd)) {
        failure = path.string() + ": answered by another user";
        answer = Answer::failed;
    } else if (::send(fd, reopenMessage.data(), reopenMessage.size(), MSG_NOSIGNAL) !=
               static_cast<ssize_t>(reopenMessage.size())) {
        failure = path.string() + ": " + std::generic_category().message(errno);
        answer = Answer::failed;
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
