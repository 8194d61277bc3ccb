#include "platform/linux/process/PosixProcesses.h"

#include "files/UserHome.h"
#include "platform/CappedBuffer.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace rondelix::platform::linux_desktop {

// Outlives the object when children are still running at teardown: their
// threads then have nowhere to post and drop the result.
struct PosixProcesses::Shared {
    std::mutex lock;
    MainQueue* queue;
};

namespace {

using Clock = std::chrono::steady_clock;

struct Pipe {
    int read = -1;
    int write = -1;
    bool open() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) return false;
        read = fds[0];
        write = fds[1];
        return true;
    }
};

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

int statusOf(int waitStatus) {
    if (WIFEXITED(waitStatus)) return WEXITSTATUS(waitStatus);
    if (WIFSIGNALED(waitStatus)) return WTERMSIG(waitStatus);
    return -1;
}

// Everything one child's thread needs, handed over whole.
struct Child {
    pid_t pid = -1;
    int pidfd = -1;
    int input = -1;  // our end of the child's standard input
    int output = -1; // our end of its standard output
    int errors = -1; // our end of its standard error
    std::string pendingInput;
    std::optional<Clock::time_point> deadline;
    std::unique_ptr<CappedBuffer> errorBuffer;
};

// Reads what is there now; false once the writer has gone.
bool drain(int fd, const std::function<void(std::string_view)>& sink) {
    char chunk[16384];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n > 0) {
            sink(std::string_view(chunk, static_cast<std::size_t>(n)));
            continue;
        }
        if (n == 0) return false;
        if (errno == EINTR) continue;
        return errno == EAGAIN || errno == EWOULDBLOCK;
    }
}

void setNonBlocking(int fd) {
    if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

ProcessResult superviseChild(Child child) {
    // A child that stops reading its input must not kill us with SIGPIPE.
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);

    setNonBlocking(child.input);
    setNonBlocking(child.output);
    setNonBlocking(child.errors);

    ProcessResult result;
    result.launched = true;
    std::size_t inputWritten = 0;
    auto keepOutput = [&](std::string_view bytes) { result.standardOutput.append(bytes); };
    auto keepErrors = [&](std::string_view bytes) { child.errorBuffer->append(bytes); };
    if (child.input >= 0 && child.pendingInput.empty()) closeFd(child.input);

    bool exited = false;
    int waitStatus = 0;
    while (!exited) {
        pollfd fds[4];
        nfds_t count = 0;
        auto watch = [&](int fd, short events) {
            if (fd >= 0) fds[count++] = {fd, events, 0};
        };
        watch(child.pidfd, POLLIN);
        watch(child.output, POLLIN);
        watch(child.errors, POLLIN);
        watch(child.input, POLLOUT);

        // Without a process descriptor (an old kernel) the exit is noticed by
        // asking every 50 ms.
        int timeout = child.pidfd >= 0 ? -1 : 50;
        if (child.deadline) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(*child.deadline - Clock::now()).count();
            timeout = timeout < 0 ? static_cast<int>(std::max<long long>(0, left))
                                  : std::min(timeout, static_cast<int>(std::max<long long>(0, left)));
        }
        if (::poll(fds, count, timeout) < 0 && errno != EINTR) {
            // Nothing left to watch with; wait for the exit alone.
            exited = ::waitpid(child.pid, &waitStatus, 0) == child.pid || errno == ECHILD;
            continue;
        }

        if (child.output >= 0 && !drain(child.output, keepOutput)) closeFd(child.output);
        if (child.errors >= 0 && !drain(child.errors, keepErrors)) closeFd(child.errors);
        if (child.input >= 0) {
            const ssize_t n = ::write(child.input, child.pendingInput.data() + inputWritten,
                                      child.pendingInput.size() - inputWritten);
            if (n > 0) inputWritten += static_cast<std::size_t>(n);
            if ((n < 0 && errno != EAGAIN && errno != EINTR) || inputWritten == child.pendingInput.size())
                closeFd(child.input);
        }

        if (child.deadline && Clock::now() >= *child.deadline && !result.timedOut) {
            // The group first, so that whatever the child started ends too.
            ::kill(-child.pid, SIGKILL);
            ::kill(child.pid, SIGKILL);
            result.timedOut = true;
            child.deadline.reset();
        }
        const pid_t reaped = ::waitpid(child.pid, &waitStatus, WNOHANG);
        exited = reaped == child.pid || (reaped < 0 && errno == ECHILD);
    }

    // Output already in the pipes belongs to the child; whatever a process it
    // left behind writes later does not.
    if (child.output >= 0) drain(child.output, keepOutput);
    if (child.errors >= 0) drain(child.errors, keepErrors);
    closeFd(child.output);
    closeFd(child.errors);
    closeFd(child.input);
    closeFd(child.pidfd);
    timespec none{0, 0};
    while (sigtimedwait(&pipeSignal, nullptr, &none) > 0) {
    }

    result.status = statusOf(waitStatus);
    result.standardError = child.errorBuffer->contents();
    return result;
}

// The signals a child should start with at their defaults, whatever this
// program chose for itself; and the child's own process group, or its own
// session (which holds a group of its own too).
void resetSignals(posix_spawnattr_t& attributes, bool ownSession) {
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGPIPE, SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGCHLD, SIGTSTP, SIGTTIN, SIGTTOU, SIGUSR1,
                       SIGUSR2, SIGALRM})
        sigaddset(&defaults, signal);
    sigset_t nothing;
    sigemptyset(&nothing);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &nothing);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK |
                                              (ownSession ? POSIX_SPAWN_SETSID : POSIX_SPAWN_SETPGROUP));
}

} // namespace

PosixProcesses::PosixProcesses(MainQueue& queue) : shared_(std::make_shared<Shared>()) {
    shared_->queue = &queue;
}

PosixProcesses::~PosixProcesses() {
    std::lock_guard guard(shared_->lock);
    shared_->queue = nullptr;
}

void PosixProcesses::run(ProcessRequest request, std::function<void(const ProcessResult&)> completion) {
    auto deliver = [shared = shared_, completion = std::move(completion)](ProcessResult result) {
        std::lock_guard guard(shared->lock);
        if (shared->queue)
            shared->queue->post([completion, result = std::move(result)] { completion(result); });
    };

    Pipe input, output, errors;
    const bool pipesOpen = (!request.standardInput || input.open()) &&
                           (!request.captureStandardOutput || output.open()) &&
                           (request.standardErrorCap == 0 || errors.open());
    const int pipeError = pipesOpen ? 0 : errno;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (request.standardInput)
        posix_spawn_file_actions_adddup2(&actions, input.read, 0);
    else
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (request.captureStandardOutput)
        posix_spawn_file_actions_adddup2(&actions, output.write, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (request.standardErrorCap > 0)
        posix_spawn_file_actions_adddup2(&actions, errors.write, 2);
    else
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const std::string folder =
        request.workingDirectory.empty() ? userHomeFolder().string() : request.workingDirectory;
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    resetSignals(attributes, request.ownSession);

    std::vector<char*> argv;
    argv.push_back(request.program.data());
    for (auto& argument : request.arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int error =
        pipesOpen ? ::posix_spawnp(&pid, request.program.c_str(), &actions, &attributes, argv.data(), environ)
                  : pipeError;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    closeFd(input.read);
    closeFd(output.write);
    closeFd(errors.write);

    if (error != 0) {
        closeFd(input.write);
        closeFd(output.read);
        closeFd(errors.read);
        ProcessResult failed;
        failed.launchError = std::strerror(error);
        deliver(std::move(failed));
        return;
    }

    Child child;
    child.pid = pid;
    child.pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    child.input = input.write;
    child.output = output.read;
    child.errors = errors.read;
    child.pendingInput = request.standardInput.value_or(std::string{});
    child.errorBuffer = std::make_unique<CappedBuffer>(request.standardErrorCap);
    if (request.timeLimit && !request.ownSession)
        child.deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                            std::chrono::duration<double>(std::max(0.0, *request.timeLimit)));
    std::thread([child = std::move(child), deliver = std::move(deliver)]() mutable {
        deliver(superviseChild(std::move(child)));
    }).detach();
}

} // namespace rondelix::platform::linux_desktop
