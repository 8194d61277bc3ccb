#include "platform/linux/process/ConfigWriterLock.h"

#include "support/StoreRig.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {
namespace {

using Taken = ConfigWriterLock::Taken;

// Another process that takes the lock and keeps it until it ends, at the
// latest with the test.
struct HeldElsewhere {
    explicit HeldElsewhere(const std::filesystem::path& folder) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        process = ::fork();
        if (process == 0) {
            ConfigWriterLock lock(folder);
            const char taken = lock.take(0, 0, {}) == Taken::taken;
            if (::write(ready[1], &taken, 1) == 1)
                for (;;)
                    ::pause();
            ::_exit(1);
        }
        ::close(ready[1]);
        char taken = 0;
        held = ::read(ready[0], &taken, 1) == 1 && taken;
        ::close(ready[0]);
    }
    ~HeldElsewhere() { end(); }
    void end() {
        if (process <= 0) return;
        ::kill(process, SIGKILL);
        ::waitpid(process, nullptr, 0);
        process = -1;
    }

    pid_t process = -1;
    bool held = false;
};

// The lock is the configuration's, whichever process holds it: a start waits
// while its holder lives, says so once, and takes it the moment the holder
// ends; one that outlasts the wait is named.
TEST(ConfigWriterLock, AStartWaitsWhileTheHolderLivesAndNamesOneThatOutlastsTheWait) {
    testing::TempHome home;
    const auto folder = home.path / ".config/rondelix";
    HeldElsewhere holder(folder);
    ASSERT_TRUE(holder.held);
    const pid_t holderProcess = holder.process;

    ConfigWriterLock outlasted(folder);
    int notices = 0;
    EXPECT_EQ(outlasted.take(0.05, 0.2, [&] { ++notices; }), Taken::stillHeld);
    EXPECT_EQ(outlasted.holder(), holderProcess);
    EXPECT_EQ(notices, 1);

    // The holder ends while the start waits, however it ends.
    ConfigWriterLock next(folder);
    EXPECT_EQ(next.take(0.05, 10, [&] { holder.end(); }), Taken::taken);
    // While this one holds it, no other writer gets it, in this process either.
    ConfigWriterLock another(folder);
    EXPECT_EQ(another.take(0, 0, {}), Taken::stillHeld);
    EXPECT_EQ(another.holder(), ::getpid());
}

TEST(ConfigWriterLock, AFolderThatCannotHoldItIsSaidToBeUnavailable) {
    testing::TempHome home;
    testing::writeText(home.path / "file", "");
    ConfigWriterLock lock(home.path / "file/rondelix");
    EXPECT_EQ(lock.take(0, 0, {}), Taken::unavailable);
    EXPECT_EQ(lock.failure(), (home.path / "file/rondelix").string() + ": Not a directory");
}

} // namespace
} // namespace rondelix::platform::linux_desktop
