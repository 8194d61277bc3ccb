#include "ExecutorFixture.h"

namespace rondelix {
namespace {

using Lines = std::vector<std::string>;

TEST_F(ExecutorTest, AScriptRunsAsOneLoginShellCommandWithTheCapOnItsErrorOutput) {
    fire(MacroAction::Script{"echo hi; exit 3"});
    EXPECT_EQ(commandLine(0), (Lines{"/bin/zsh", "-lc", "echo hi; exit 3"}));
    EXPECT_EQ(request(0).standardErrorCap, 4096u);
    EXPECT_FALSE(request(0).standardInput.has_value());
    EXPECT_FALSE(request(0).captureStandardOutput);
    EXPECT_FALSE(request(0).timeLimit.has_value());
}

TEST_F(ExecutorTest, AFailingScriptIsReportedAndLoggedWithItsStatus) {
    fire(MacroAction::Script{"exit 3"});
    processes.finish(0, 3);
    queue.runPending();
    EXPECT_EQ(reported, Lines{"Your script exited with an error."});
    EXPECT_TRUE(log.contains("Rondelix: macro command /bin/zsh exited 3; stderr\u00BB "));
}

TEST_F(ExecutorTest, TheLogShowsThreeHundredCharactersOfErrorOutputOnOneLine) {
    fire(MacroAction::Script{"noisy"});
    std::string errors = "first\nsecond\n";
    errors += std::string(10000 - errors.size(), 'x');
    processes.finish(0, 1, errors);
    queue.runPending();
    const std::string expected = "first second " + std::string(300 - 13, 'x');
    EXPECT_EQ(log.lines().back(), "Rondelix: macro command /bin/zsh exited 1; stderr\u00BB " + expected);
}

TEST_F(ExecutorTest, ErrorOutputCutInsideACharacterStillReachesTheLog) {
    fire(MacroAction::Script{"noisy"});
    // 4095 bytes, then a two-byte character the cap cuts in half.
    processes.finish(0, 1, std::string(4095, 'a') + "\xC3\xA9");
    queue.runPending();
    EXPECT_EQ(log.lines().back(),
              "Rondelix: macro command /bin/zsh exited 1; stderr\u00BB " + std::string(300, 'a'));
}

TEST_F(ExecutorTest, ErrorOutputThatIsNotUtf8LeavesTheExcerptEmpty) {
    // A stray byte, an overlong form, and a bad byte past the 300 characters
    // the excerpt shows: the whole output is judged, not just the excerpt.
    for (const std::string& errors :
         {std::string("bad \xFF byte"), std::string("\xC0\x80"), std::string(400, 'a') + "\xFF"}) {
        fire(MacroAction::Script{"noisy"});
        processes.finish(processes.children().size() - 1, 2, errors);
        queue.runPending();
        EXPECT_EQ(log.lines().back(), "Rondelix: macro command /bin/zsh exited 2; stderr\u00BB ");
    }
    // A replacement character the tool wrote itself is text like any other.
    fire(MacroAction::Script{"noisy"});
    processes.finish(processes.children().size() - 1, 2, "\xEF\xBF\xBD!");
    queue.runPending();
    EXPECT_EQ(log.lines().back(), "Rondelix: macro command /bin/zsh exited 2; stderr\u00BB \xEF\xBF\xBD!");
}

TEST_F(ExecutorTest, AScriptThatCannotStartIsReportedAndLogged) {
    fire(MacroAction::Script{""});
    processes.failLaunch(0, "No such file or directory");
    queue.runPending();
    EXPECT_EQ(reported, Lines{"Your script exited with an error."});
    EXPECT_TRUE(log.contains("Rondelix: macro command /bin/zsh failed to launch: No such file or directory"));
}

TEST_F(ExecutorTest, ScriptsAreNotQueuedAndSuccessIsSilent) {
    fire(MacroAction::Script{"sleep 5"});
    fire(MacroAction::Script{"true"});
    EXPECT_EQ(processes.runningCount(), 2u);
    processes.finish(1, 0);
    processes.finish(0, 0);
    queue.runPending();
    EXPECT_TRUE(reported.empty());
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(sounds.beeps, 0);
}

TEST_F(ExecutorTest, AShortcutRunsTheExecutableOfThatNameFromTheFolder) {
    fire(MacroAction::Shortcut{"Morning Routine"});
    EXPECT_EQ(commandLine(0), Lines{"/home/u/.config/rondelix/shortcuts/Morning Routine"});
    processes.finish(0, 0);
    queue.runPending();
    EXPECT_TRUE(shortcutFailures.empty());
}

TEST_F(ExecutorTest, AFailedShortcutIsToldThenHandedOnForSetUp) {
    fire(MacroAction::Shortcut{"Toggle Bluetooth"});
    processes.finish(0, 1);
    queue.runPending();
    EXPECT_EQ(reported, Lines{"Your automation exited with an error."});
    EXPECT_EQ(shortcutFailures, Lines{"Toggle Bluetooth"});

    // Nobody listening: one beep, not one per callback.
    executor.onActionFailed = nullptr;
    executor.onShortcutFailed = nullptr;
    fire(MacroAction::Shortcut{"Nope"});
    processes.failLaunch(1);
    queue.runPending();
    EXPECT_EQ(sounds.beeps, 1);
}

// Do Not Disturb's and Night Light's automations were first named in another
// system's words: a slice that names either runs whichever is installed, its
// own name first, and one that finds neither is said to have failed under its
// own name.
TEST_F(ExecutorTest, RenamedAutomationsRunUnderEitherOfTheirNames) {
    const std::string folder = "/home/u/.config/rondelix/shortcuts/";
    const std::pair<MacroAction, Lines> cases[] = {
        {MacroAction::Shortcut{"Toggle Do Not Disturb"}, {"Toggle Do Not Disturb", "Toggle Focus"}},
        {MacroAction::Shortcut{"Toggle Focus"}, {"Toggle Focus", "Toggle Do Not Disturb"}},
        {MacroAction::SystemAction{"toggle-dnd"}, {"Toggle Do Not Disturb", "Toggle Focus"}},
        {MacroAction::SystemAction{"night-shift"}, {"Toggle Night Light", "Toggle Night Shift"}},
        {MacroAction::Shortcut{"Toggle Night Shift"}, {"Toggle Night Shift", "Toggle Night Light"}},
        {MacroAction::Shortcut{"Toggle Bluetooth"}, {"Toggle Bluetooth"}},
    };
    for (const auto& [action, tried] : cases) {
        SCOPED_TRACE(tried.front());
        const std::size_t first = processes.children().size();
        shortcutFailures.clear();
        reported.clear();
        fire(action);
        for (std::size_t i = first; i < first + tried.size(); ++i) {
            ASSERT_EQ(processes.children().size(), i + 1);
            EXPECT_EQ(request(i).program, folder + tried[i - first]);
            processes.failLaunch(i);
            queue.runPending();
        }
        EXPECT_EQ(processes.children().size(), first + tried.size());
        EXPECT_EQ(shortcutFailures, Lines{tried.front()});
        EXPECT_EQ(reported, Lines{"That automation isn't installed."});
    }
}

TEST_F(ExecutorTest, AShortcutNameCannotReachOutsideTheFolder) {
    for (const char* name : {"../../../bin/rm", "/bin/sh", "..", "."})
        fire(MacroAction::Shortcut{name});
    EXPECT_TRUE(processes.children().empty());
    EXPECT_EQ(shortcutFailures, (Lines{"../../../bin/rm", "/bin/sh", "..", "."}));
    EXPECT_EQ(reported, Lines(4, "That automation isn't installed."));
}

TEST_F(ExecutorTest, AnEmptyShortcutNameIsReportedWithoutStartingAnything) {
    fire(MacroAction::Shortcut{""});
    EXPECT_EQ(reported, Lines{"No automation chosen for this slice yet."});
    EXPECT_TRUE(processes.children().empty());
}

class QueueTest : public ExecutorTest {};

TEST_F(QueueTest, SystemCommandsRunOneAtATimeInFiringOrder) {
    fireSystem("volume-up");
    fireSystem("toggle-mute");
    fireSystem("volume-down");
    ASSERT_EQ(processes.children().size(), 1u);
    EXPECT_TRUE(executor.systemActionRunning());
    EXPECT_EQ(executor.systemActionQueue().size(), 2u);
    EXPECT_EQ(request(0).timeLimit, 30.0);

    processes.finish(0, 0);
    queue.runPending();
    ASSERT_EQ(processes.children().size(), 2u);
    EXPECT_NE(commandLine(1).back().find("pactl set-sink-mute"), std::string::npos);
    processes.finish(1, 0);
    queue.runPending();
    ASSERT_EQ(processes.children().size(), 3u);
    EXPECT_NE(commandLine(2).back().find("pactl set-sink-volume @DEFAULT_SINK@ -10%"), std::string::npos);
    processes.finish(2, 0);
    queue.runPending();
    EXPECT_FALSE(executor.systemActionRunning());
    EXPECT_TRUE(reported.empty());
}

TEST_F(QueueTest, AFailedCommandIsReportedAndTheNextStillRuns) {
    fireSystem("volume-up");
    fireSystem("volume-down");
    processes.finish(0, 1, "Connection failure");
    queue.runPending();
    EXPECT_EQ(reported, Lines{"That action couldn't run."});
    EXPECT_TRUE(log.contains("Rondelix: macro command /bin/sh exited 1; stderr\u00BB Connection failure"));
    EXPECT_EQ(processes.children().size(), 2u);

    processes.failLaunch(1);
    queue.runPending();
    EXPECT_EQ(reported.size(), 2u);
    EXPECT_FALSE(executor.systemActionRunning());
}

TEST_F(QueueTest, AHangingCommandIsEndedAfterThirtySecondsAndTheQueueMovesOn) {
    fireSystem("sleep-display");
    fireSystem("volume-up");
    queue.advance(29.9);
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(processes.children().size(), 1u);

    queue.advance(0.1);
    EXPECT_TRUE(processes.child(0).timedOut);
    EXPECT_EQ(reported, Lines{"That action couldn't run."});
    EXPECT_TRUE(log.contains("Rondelix: macro command /bin/sh ran past its time limit and was ended"));
    ASSERT_EQ(processes.children().size(), 2u);
    EXPECT_NE(commandLine(1).back().find("pactl set-sink-volume"), std::string::npos);
}

TEST_F(QueueTest, ACompletionAfterTheExecutorIsGoneDoesNothing) {
    auto executor2 = std::make_unique<MacroExecutor>(
        MacroExecutor::Platform{queue, pasteboard, workspace, processes, taps, sounds, log},
        MacroExecutor::Locations{"/bin/bash", "/s", "/h"});
    executor2->fire(MacroAction::SystemAction{"volume-up"});
    executor2.reset();
    processes.finish(0, 1);
    queue.runPending();
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(sounds.beeps, 0);
}

} // namespace
} // namespace rondelix
