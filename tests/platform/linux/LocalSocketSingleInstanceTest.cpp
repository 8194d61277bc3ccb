#include "platform/linux/process/LocalSocketSingleInstance.h"

#include "platform/linux/DesktopApplication.h"
#include "platform/linux/process/PrivateRuntimeFolder.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace rondelix::platform::linux_desktop {
namespace {

namespace fs = std::filesystem;
using Claim = SingleInstance::Claim;

constexpr uid_t otherUser = 65534;

struct TempFolder {
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "rondelix-instance-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
        path = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path path;
};

TEST(PrivateRuntimeFolder, UsesTheDesktopsFolderOnlyWhenPrivateElseMakesAndChecksItsOwn) {
    TempFolder temp;
    const fs::path privateFolder = temp.path / "private", openFolder = temp.path / "open";
    fs::create_directory(privateFolder);
    fs::permissions(privateFolder, fs::perms::owner_all);
    fs::create_directory(openFolder);
    fs::permissions(openFolder, fs::perms::all);
    const fs::path fallback = temp.path / ("rondelix-" + std::to_string(getuid()));
    const struct {
        const char* what;
        std::optional<std::string> runtimeDir;
        std::function<void()> layFallback;
        std::optional<fs::path> expected;
    } cases[] = {
        {"private runtime folder", privateFolder.string(), [] {}, privateFolder},
        {"no runtime folder", std::nullopt, [] {}, fallback},
        {"relative runtime folder", "private", [] {}, fallback},
        {"runtime folder open to others", openFolder.string(), [] {}, fallback},
        {"missing runtime folder", (temp.path / "gone").string(), [] {}, fallback},
        {"own fallback from before", std::nullopt, [&] { fs::create_directory(fallback, privateFolder); },
         fallback},
        {"fallback open to others", std::nullopt, [&] { fs::create_directory(fallback, openFolder); },
         std::nullopt},
        {"fallback is a link", std::nullopt, [&] { fs::create_directory_symlink(privateFolder, fallback); },
         std::nullopt},
        {"fallback is a file", std::nullopt, [&] { close(creat(fallback.c_str(), 0600)); }, std::nullopt},
        {"fallback of another user", std::nullopt,
         [&] {
             fs::create_directory(fallback, privateFolder);
             if (chown(fallback.c_str(), otherUser, otherUser) != 0)
                 fs::permissions(fallback, fs::perms::all);
         },
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(fallback);
        c.layFallback();
        const auto found =
            PrivateRuntimeFolder::find(c.runtimeDir ? c.runtimeDir->c_str() : nullptr, temp.path);
        EXPECT_EQ(found.path, c.expected);
        EXPECT_EQ(found.failure.empty(), c.expected.has_value()) << found.failure;
        if (found.path == fallback) {
            struct stat info {};
            ASSERT_EQ(lstat(fallback.c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0700u);
        }
    }
}

// Runs `body` in a child process as another user; answers its pid, once the
// child has written a byte to the returned pipe end. The child ends when the
// parent closes the other pipe end.
struct OtherUser {
    explicit OtherUser(const std::function<void()>& body) {
        int ready[2], hold[2];
        if (pipe(ready) != 0 || pipe(hold) != 0) throw std::runtime_error("no pipe");
        pid = fork();
        if (pid == 0) {
            close(ready[0]);
            close(hold[1]);
            if (setgid(otherUser) != 0 || setuid(otherUser) != 0) _exit(2);
            body();
            (void)!write(ready[1], "x", 1);
            char byte;
            (void)!read(hold[0], &byte, 1);
            _exit(0);
        }
        close(ready[1]);
        close(hold[0]);
        release = hold[1];
        char byte = 0;
        started = read(ready[0], &byte, 1) == 1;
        close(ready[0]);
    }
    ~OtherUser() {
        close(release);
        int status = 0;
        waitpid(pid, &status, 0);
    }
    pid_t pid = -1;
    int release = -1;
    bool started = false;
};

int unixSocket(const fs::path& path, bool listening) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    const auto* raw = reinterpret_cast<const sockaddr*>(&address);
    const bool ok = listening ? bind(fd, raw, sizeof address) == 0 && listen(fd, 4) == 0
                              : connect(fd, raw, sizeof address) == 0;
    return ok ? fd : -1;
}

class SingleInstanceAcrossUsers : public ::testing::Test {
  protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "acting as another user needs the superuser";
        ASSERT_TRUE(testing::desktopApplication());
        // Open to the other user here; the program's own folder never is.
        fs::permissions(temp.path, fs::perms::all);
    }
    // Runs the event loop until a reopen request arrived, then drains what
    // is already queued.
    void receiveReopen() {
        QEventLoop loop;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        arrived = [&] { loop.quit(); };
        if (reopens == 0) loop.exec();
        for (int pass = 0; pass < 10; ++pass)
            QCoreApplication::processEvents();
    }

    // A later start, which waits for the running one to take its request.
    std::future<Claim> startAgain() {
        return std::async(std::launch::async, [this] { return LocalSocketSingleInstance(socket).claim(); });
    }

    TempFolder temp;
    fs::path socket = temp.path / "rondelix-instance";
    int reopens = 0;
    std::function<void()> arrived = [] {};
    std::function<void()> onReopen = [this] {
        ++reopens;
        arrived();
    };
};

TEST_F(SingleInstanceAcrossUsers, ASocketAnsweredByAnotherUserIsTakenOverNeverObeyed) {
    int foreign = -1;
    OtherUser squatter([&] { foreign = unixSocket(socket, true); });
    ASSERT_TRUE(squatter.started);
    LocalSocketSingleInstance first(socket);
    EXPECT_EQ(first.claim(), Claim::claimed) << first.failure();
    first.serve(onReopen);

    auto second = startAgain();
    receiveReopen();
    EXPECT_EQ(second.get(), Claim::handedOver);
    EXPECT_EQ(reopens, 1);
}

TEST_F(SingleInstanceAcrossUsers, ARequestFromAnotherUserIsIgnored) {
    LocalSocketSingleInstance first(socket);
    ASSERT_EQ(first.claim(), Claim::claimed) << first.failure();
    first.serve(onReopen);
    fs::permissions(socket, fs::perms::all);
    {
        OtherUser intruder([&] {
            const int fd = unixSocket(socket, false);
            if (fd >= 0) (void)!write(fd, "reopen\n", 7);
        });
        ASSERT_TRUE(intruder.started);
    }
    auto second = startAgain();
    receiveReopen();
    EXPECT_EQ(second.get(), Claim::handedOver);
    EXPECT_EQ(reopens, 1);
}

// A start while the first one is still building its window waits for it to
// serve and is answered then; after it ends, the next start claims the place.
TEST(SingleInstance, HandsOverOnceTheFirstServesAndClaimsAfterItEnded) {
    ASSERT_TRUE(testing::desktopApplication());
    TempFolder temp;
    const fs::path socket = temp.path / "rondelix-instance";
    int reopens = 0;
    {
        LocalSocketSingleInstance first(socket);
        ASSERT_EQ(first.claim(), Claim::claimed) << first.failure();
        std::vector<std::future<Claim>> starts;
        for (int start = 0; start < 2; ++start)
            starts.push_back(std::async(std::launch::async,
                                        [&socket] { return LocalSocketSingleInstance(socket).claim(); }));
        first.serve([&reopens] { ++reopens; });
        QEventLoop loop;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (reopens == 2) loop.quit();
        });
        poll.start(5);
        loop.exec();
        EXPECT_EQ(reopens, 2);
        for (auto& start : starts)
            EXPECT_EQ(start.get(), Claim::handedOver);
    }
    EXPECT_FALSE(fs::exists(socket));
    LocalSocketSingleInstance next(socket);
    EXPECT_EQ(next.claim(), Claim::claimed) << next.failure();
}

// A program killed while a child it was starting still held its lock and its
// listening socket leaves both behind for a moment. A start then is never told
// the program runs: it waits until the child lets go, then takes the place.
TEST(SingleInstance, ALockAndSocketLeftByAnEndedProgramAreTakenOverOnceLetGo) {
    TempFolder temp;
    const fs::path socket = temp.path / "rondelix-instance";
    const int lock = open((socket.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(flock(lock, LOCK_EX | LOCK_NB), 0);
    const int listener = unixSocket(socket, true);
    ASSERT_GE(listener, 0);
    auto next = std::async(std::launch::async, [&socket] {
        LocalSocketSingleInstance start(socket);
        const Claim claim = start.claim();
        return std::pair(claim, start.failure());
    });
    // Once the start's request is queued, the holder lets go unread.
    pollfd queued{listener, POLLIN, 0};
    ASSERT_EQ(poll(&queued, 1, 5000), 1);
    close(listener);
    close(lock);
    const auto [claim, failure] = next.get();
    EXPECT_EQ(claim, Claim::claimed) << failure;
}

// A holder that never takes the request (stopped, or hung) is named, never
// reported as brought forward; one that has let go at the start of its quit
// is succeeded at once though it still runs.
TEST(SingleInstance, AHolderTakingNoRequestIsNotRespondingAndOneThatLetGoIsSucceeded) {
    ASSERT_TRUE(testing::desktopApplication());
    TempFolder temp;
    const fs::path socket = temp.path / "rondelix-instance";
    {
        const int lock = open((socket.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        ASSERT_EQ(flock(lock, LOCK_EX | LOCK_NB), 0);
        const int listener = unixSocket(socket, true);
        ASSERT_GE(listener, 0);
        LocalSocketSingleInstance start(socket);
        EXPECT_EQ(start.claim(), Claim::notResponding) << start.failure();
        EXPECT_EQ(start.unresponsiveProcess(), getpid());
        close(listener);
        close(lock);
        fs::remove(socket);
    }
    LocalSocketSingleInstance quitting(socket);
    ASSERT_EQ(quitting.claim(), Claim::claimed) << quitting.failure();
    quitting.serve([] {});
    quitting.release();
    LocalSocketSingleInstance next(socket);
    EXPECT_EQ(next.claim(), Claim::claimed) << next.failure();
}

} // namespace
} // namespace rondelix::platform::linux_desktop
