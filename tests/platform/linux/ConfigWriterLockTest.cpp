#include "platform/linux/process/ConfigWriterLock.h"

#include "support/PermissionsBind.h"
#include "support/StoreRig.h"

#include <csignal>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {
namespace {

using Taken = ConfigWriterLock::Taken;

// Another process that takes the lock and keeps it until it ends, at the
// latest with the test; a `quitting` one is saving at its quit.
struct HeldElsewhere {
    HeldElsewhere(const std::filesystem::path& folder, bool quitting) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        process = ::fork();
        if (process == 0) {
            ConfigWriterLock lock(folder);
            const char taken = lock.take(0, 0, {}) == Taken::taken;
            if (quitting) lock.noteQuitting();
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
// while a quitting holder saves, says so once, and takes it the moment the
// holder ends; one that outlasts the wait is named.
TEST(ConfigWriterLock, AStartWaitsWhileAQuittingHolderLivesAndNamesOneThatOutlastsTheWait) {
    testing::TempHome home;
    const auto folder = home.path / ".config/rondelix";
    HeldElsewhere holder(folder, true);
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
    EXPECT_EQ(another.take(0, 0, {}), Taken::runningElsewhere);
    EXPECT_EQ(another.holder(), ::getpid());
}

// A holder that runs on, as in another session, will not let go: a start
// learns which process it is at once instead of waiting for it.
TEST(ConfigWriterLock, AHolderThatRunsOnIsNamedAtOnce) {
    testing::TempHome home;
    const auto folder = home.path / ".config/rondelix";
    HeldElsewhere holder(folder, false);
    ASSERT_TRUE(holder.held);
    ConfigWriterLock start(folder);
    int notices = 0;
    EXPECT_EQ(start.take(0, 60, [&] { ++notices; }), Taken::runningElsewhere);
    EXPECT_EQ(start.holder(), holder.process);
    EXPECT_EQ(notices, 0);
    EXPECT_FALSE(start.held());
}

// flock needs no write access: a lock file the user may only read (as a
// restore that drops write bits leaves it) still keeps a second writer out.
TEST(ConfigWriterLock, ALockFileTheUserMayOnlyReadStillKeepsOneWriter) {
    testing::TempHome home;
    const auto folder = home.path / ".config/rondelix";
    ConfigWriterLock(folder).take(0, 0, {});
    ::chmod((folder / "config.json.lock").c_str(), 0400);
    EXPECT_TRUE(testing::passesWhilePermissionsBind([&] {
        ConfigWriterLock first(folder);
        EXPECT_EQ(first.take(0, 0, {}), Taken::taken) << first.failure();
        // Nothing tells whether the holder runs on or quits: the start waits, naming nobody.
        ConfigWriterLock second(folder);
        EXPECT_EQ(second.take(0, 0.1, {}), Taken::stillHeld) << second.failure();
        EXPECT_EQ(second.holder(), 0);
    }));
    EXPECT_EQ(testing::readText(folder / "config.json.lock"), std::to_string(::getpid()) + " running\n");

    // In a folder that refuses the user, a lock file still missing cannot be made.
    std::filesystem::remove(folder / "config.json.lock");
    ::chmod(folder.c_str(), 0500);
    EXPECT_TRUE(testing::passesWhilePermissionsBind([&] {
        ConfigWriterLock lock(folder);
        EXPECT_EQ(lock.take(0, 0, {}), Taken::unavailable);
        EXPECT_EQ(lock.failure(), (folder / "config.json.lock").string() + ": Permission denied");
    }));
    ::chmod(folder.c_str(), 0700);
}

// A program a slice starts while the lock is held, which may run on for
// hours, takes no share of it: the next start after a quit does not wait for it.
TEST(ConfigWriterLock, AProgramStartedMeanwhileHoldsNoShareOfIt) {
    testing::TempHome home;
    const auto folder = home.path / ".config/rondelix";
    ConfigWriterLock(folder).take(0, 0, {});
    for (const bool readOnly : {false, true}) {
        ::chmod((folder / "config.json.lock").c_str(), readOnly ? 0400 : 0600);
        const auto aStartAfterTheHoldersQuitTakesIt = [&] {
            pid_t started = -1;
            {
                ConfigWriterLock holder(folder);
                ASSERT_EQ(holder.take(0, 0, {}), Taken::taken) << holder.failure();
                char sleep[] = "sleep", seconds[] = "60";
                char* argv[] = {sleep, seconds, nullptr};
                ASSERT_EQ(::posix_spawnp(&started, "sleep", nullptr, nullptr, argv, environ), 0);
            }
            ConfigWriterLock next(folder);
            EXPECT_EQ(next.take(0, 0, {}), Taken::taken) << (readOnly ? "read-only lock file" : "lock file");
            ::kill(started, SIGKILL);
            ::waitpid(started, nullptr, 0);
        };
        EXPECT_TRUE(testing::passesWhilePermissionsBind(aStartAfterTheHoldersQuitTakesIt));
    }
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
