// A second start while the running program takes no requests: it must not
// claim that anything was brought forward.

#include "e2e/EndToEndRig.h"

#include <csignal>

namespace rondelix::e2e {
namespace {

TEST_F(EndToEnd, AStartWhileTheRunningProgramIsStoppedSaysItIsNotRespondingAndFails) {
    Program first(home.path, "first");
    ASSERT_TRUE(first.waitForLine("Rondelix: ready.")) << first.log();
    const pid_t stopped = first.pid();
    ASSERT_EQ(::kill(stopped, SIGSTOP), 0);

    Program second(home.path, "second");
    const auto status = second.exit();
    ::kill(stopped, SIGCONT);
    EXPECT_EQ(status, 1) << second.log();
    EXPECT_TRUE(second.hasLine("Rondelix is already running (process " + std::to_string(stopped) +
                               ") but is not responding"))
        << second.log();
    EXPECT_FALSE(second.hasLine("its window was brought forward")) << second.log();

    // Once it runs again it still serves later starts.
    Program third(home.path, "third");
    EXPECT_EQ(third.exit(), 0) << third.log();
    EXPECT_TRUE(third.hasLine("Rondelix is already running; its window was brought forward."));
    EXPECT_EQ(first.stop(), 0);
}

} // namespace
} // namespace rondelix::e2e
