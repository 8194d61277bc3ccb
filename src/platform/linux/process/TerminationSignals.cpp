#include "platform/linux/process/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {

namespace {

int signalPipe[2] = {-1, -1};
// Set in the handler, which runs on whichever thread the signal finds, and
// read on the event loop's: only a lock-free atomic is safe in both places.
std::atomic<bool> received = false;
static_assert(std::atomic<bool>::is_always_lock_free);

void writeSignal(int signal) {
    // Nothing more is safe in a signal handler. The socket never blocks: a
    // full one already holds a byte that wakes the loop. The interrupted code
    // may be about to read errno.
    const int savedErrno = errno;
    received = true;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

void onTerminationSignals(std::function<void()> handler) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [handler = std::move(handler)] {
        // Every signal that came meanwhile asks for the same thing.
        char bytes[64];
        while (::read(signalPipe[1], bytes, sizeof bytes) > 0) {
        }
        handler();
    });
    struct sigaction action {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

bool terminationSignalReceived() {
    return received;
}

} // namespace rondelix::platform::linux_desktop
