#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

struct sockaddr_un;

namespace rondelix::platform::linux_desktop {

// The Unix socket on which the one running instance takes requests from later
// starts, and the asking end of it; LocalSocketSingleInstance is the answering
// end. Plain POSIX and nothing more, so that a start can ask before it loads
// any library the program needs to run.
struct InstanceSocket {
    static constexpr std::string_view reopenMessage = "reopen\n";
    // What an instance that is quitting answers instead of hanging up: it
    // will bring nothing forward, and its place is about to be free.
    static constexpr std::string_view quittingMessage = "quitting\n";

    std::optional<std::filesystem::path> path;
    std::string failure; // why there is no path

    // The socket in the user's private runtime folder.
    static InstanceSocket inRuntimeFolder();

    enum class Answer {
        reopened,        // the instance there read the request and hung up
        notResponding,   // it listens but did not take the request within the wait (stopped, or hung)
        nobodyListening, // no socket, one that nobody serves (yet), whose holder ended without reading,
                         // or one that is quitting
        failed,          // anything else, said in `failure`
    };
    struct Reply {
        Answer answer = Answer::failed;
        int process = 0;     // the listening process, when the kernel named it
        std::string failure; // why, when failed
    };
    // One attempt at asking the instance listening on `path` to come forward;
    // waits up to `answerWait` for it to take the request. A socket that
    // another user answers is never told anything.
    static Reply askToReopen(const std::filesystem::path& path,
                             std::chrono::milliseconds answerWait = std::chrono::seconds(5));

    // The process at the other end of a connected socket when the kernel
    // says it runs as this user; nothing the peer sends can fake it.
    static std::optional<int> peerOfThisUser(int fd);
    // False when the path is too long for a socket's address.
    static bool addressOf(const std::filesystem::path& path, sockaddr_un& address);
};

} // namespace rondelix::platform::linux_desktop
