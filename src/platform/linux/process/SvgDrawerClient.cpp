#include "platform/linux/process/SvgDrawerClient.h"

#include "platform/linux/process/ProgramExecutables.h"
#include "platform/linux/qt/QtImages.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <limits>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace rondelix::platform::linux_desktop {

namespace {

using Clock = std::chrono::steady_clock;

class Descriptor {
  public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { close(); }
    int get() const { return fd_; }
    void reset(int fd) {
        close();
        fd_ = fd;
    }
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

  private:
    int fd_ = -1;
};

// Our end and the drawer's end of one of its standard streams, ours never
// blocking. A socket rather than a pipe, so that writing to a drawer that is
// gone raises no signal.
bool streamPair(Descriptor& ours, Descriptor& theirs) {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return false;
    ours.reset(fds[0]);
    theirs.reset(fds[1]);
    return ::fcntl(ours.get(), F_SETFL, O_NONBLOCK) == 0;
}

// The drawer with its standard streams, nothing else of ours, default
// signal handling and no signal blocked, told our process id so that it can
// end with us. Its parent-death signal comes when the thread that started it
// ends, and that thread waits for the drawer before it does anything else.
pid_t spawnDrawer(const std::filesystem::path& drawer, const std::vector<std::string>& request, int input,
                  int output) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::vector<std::string> texts{drawer.string()};
    texts.insert(texts.end(), request.begin(), request.end());
    texts.push_back(std::to_string(::getpid()));
    std::vector<char*> arguments;
    for (std::string& text : texts)
        arguments.push_back(text.data());
    arguments.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, texts.front().c_str(), &actions, &attributes, arguments.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return pid;
}

bool isPng(const std::string& bytes) {
    return bytes.starts_with("\x89PNG\r\n\x1A\n");
}

double processorSeconds(const rusage& used) {
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(used.ru_utime) + seconds(used.ru_stime);
}

} // namespace

std::filesystem::path SvgDrawerClient::installedDrawer() {
    const auto beside = ProgramExecutables::beside(drawerName);
    if (!beside) return drawerName;
    std::error_code error;
    if (std::filesystem::exists(*beside, error)) return *beside;
    return beside->parent_path() / RONDELIX_MODULES_FROM_PROGRAM / drawerName;
}

SvgDrawerClient::SvgDrawerClient(double watchdog, std::filesystem::path drawer, std::size_t drawers)
    : watchdog_(watchdog), drawer_(std::move(drawer)), queue_(drawers) {}

SvgDrawerClient::~SvgDrawerClient() {
    shutDown();
}

void SvgDrawerClient::shutDown() {
    {
        std::lock_guard guard(lock_);
        closed_ = true;
        for (const pid_t pid : running_)
            ::kill(pid, SIGKILL);
    }
    queue_.close();
}

std::optional<std::string> SvgDrawerClient::pngAnswer(const std::vector<std::string>& request,
                                                      std::string_view bytes, double seconds,
                                                      const Account& account, const Admission& admission,
                                                      bool* tooCostly) {
    auto png = answer(request, bytes, seconds, account, admission, tooCostly);
    if (!png || !isPng(*png)) return std::nullopt;
    return png;
}

std::optional<std::string> SvgDrawerClient::answer(const std::vector<std::string>& request,
                                                   std::string_view bytes, double seconds,
                                                   const Account& account, const Admission& admission,
                                                   bool* tooCostly) {
    bool timedOut = false;
    if (tooCostly) *tooCostly = false;
    const auto ranOut = [&] {
        if (tooCostly) *tooCostly = true;
        return std::nullopt;
    };
    auto turn = queue_.take(account ? account
                                    : std::make_shared<FairTurns::Account>(
                                          FairTurns::Account{std::numeric_limits<double>::infinity()}));
    if (!turn) {
        // The queue refuses a turn once it is closed, else for a spent budget.
        std::lock_guard guard(lock_);
        if (closed_) return std::nullopt;
        return ranOut();
    }
    const double limit = std::min({seconds, watchdog_, turn->secondsLeft()});
    if (limit <= 0) return ranOut();
    // Asked with the drawer granted: what the admission holds is taken only
    // while a drawer may use it, never while waiting for one. Let go before
    // the turn ends, once the drawer has been reaped.
    const auto admitted = admission.ask();
    if (!admitted) return std::nullopt;
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::duration<double>(limit);
    Descriptor input, drawerInput, output, drawerOutput;
    if (!streamPair(input, drawerInput) || !streamPair(output, drawerOutput)) return std::nullopt;
    pid_t pid = -1;
    {
        std::lock_guard guard(lock_);
        if (closed_) return std::nullopt;
        pid = spawnDrawer(drawer_, request, drawerInput.get(), drawerOutput.get());
        if (pid < 0) return std::nullopt;
        running_.insert(pid);
    }
    drawerInput.close();
    drawerOutput.close();

    // The drawer's output ends when the drawer does: it starts nothing that
    // could keep it open.
    std::string answer;
    std::size_t written = 0;
    bool ended = false;
    while (!ended) {
        {
            std::lock_guard guard(lock_);
            if (closed_) break;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        pollfd watched[2] = {{output.get(), POLLIN, 0}, {input.get(), POLLOUT, 0}};
        const nfds_t count = input.get() >= 0 ? 2 : 1;
        if (::poll(watched, count, static_cast<int>(left)) < 0 && errno != EINTR) break;
        if (count == 2 && watched[1].revents != 0) {
            const ssize_t sent =
                ::send(input.get(), bytes.data() + written, bytes.size() - written, MSG_NOSIGNAL);
            if (sent > 0) written += static_cast<std::size_t>(sent);
            // All of it sent, or a drawer that stopped reading: either way it gets no more.
            if (written == bytes.size() || (sent < 0 && errno != EAGAIN && errno != EINTR)) input.close();
        }
        if (watched[0].revents != 0) {
            char chunk[65536];
            const ssize_t got = ::read(output.get(), chunk, sizeof chunk);
            if (got > 0) answer.append(chunk, static_cast<std::size_t>(got));
            ended = got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR);
            if (answer.size() > largestAnswer) break;
        }
    }

    // Out of the set before it is reaped, so that no later kill can reach a
    // process that took its number.
    {
        std::lock_guard guard(lock_);
        running_.erase(pid);
    }
    if (!ended) ::kill(pid, SIGKILL);
    int status = 0;
    rusage used{};
    while (::wait4(pid, &status, 0, &used) < 0 && errno == EINTR) {
    }
    // The drawer's time, or its processor time where it drew on several
    // threads at once. The turn ends with this call, once the drawer is gone.
    turn->charge(
        std::max(std::chrono::duration<double>(Clock::now() - start).count(), processorSeconds(used)));
    if (timedOut || (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU) ||
        (WIFEXITED(status) && WEXITSTATUS(status) == QtImages::outOfMemoryStatus))
        return ranOut();
    if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return answer;
}

} // namespace rondelix::platform::linux_desktop
