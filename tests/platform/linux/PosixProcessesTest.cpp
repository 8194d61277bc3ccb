#include "platform/linux/process/PosixProcesses.h"

#include "BlockingMainQueue.h"

#include <csignal>
#include <cstdlib>

namespace rondelix::platform::linux_desktop {
namespace {

class PosixProcessesTest : public ::testing::Test {
  protected:
    BlockingMainQueue queue;
    PosixProcesses processes{queue};

    ProcessResult run(ProcessRequest request) {
        std::optional<ProcessResult> result;
        processes.run(std::move(request), [&](const ProcessResult& r) { result = r; });
        EXPECT_TRUE(queue.runNext()) << "the child never reported";
        return result.value_or(ProcessResult{});
    }
    static ProcessRequest shell(const std::string& script, std::size_t errorCap = 4096) {
        ProcessRequest request;
        request.program = "/bin/sh";
        request.arguments = {"-c", script};
        request.standardErrorCap = errorCap;
        return request;
    }
};

TEST_F(PosixProcessesTest, ReportsTheExitStatusAndErrorOutput) {
    const auto result = run(shell("printf oops >&2; exit 3"));
    EXPECT_TRUE(result.launched);
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.standardError, "oops");
    EXPECT_FALSE(result.timedOut);
}

TEST_F(PosixProcessesTest, FeedsStandardInputAndCapturesStandardOutput) {
    ProcessRequest request;
    request.program = "cat";
    request.standardInput = std::string(200000, 'i');
    request.captureStandardOutput = true;
    const auto result = run(request);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.standardOutput, *request.standardInput);
}

TEST_F(PosixProcessesTest, StartsInTheHomeFolderUnlessToldOtherwise) {
    auto request = shell("pwd");
    request.captureStandardOutput = true;
    EXPECT_EQ(run(request).standardOutput, std::string(std::getenv("HOME")) + "\n");
    request.workingDirectory = "/";
    EXPECT_EQ(run(request).standardOutput, "/\n");
}

TEST_F(PosixProcessesTest, AMissingProgramFailsToLaunch) {
    ProcessRequest request;
    request.program = "/nonexistent/rondelix-tool";
    const auto result = run(request);
    EXPECT_FALSE(result.launched);
    EXPECT_EQ(result.launchError, "No such file or directory");
}

TEST_F(PosixProcessesTest, AFloodOfErrorOutputIsDrainedAndKeptWithinTheCap) {
    // 64 MB: the child must never stall on a full pipe, and we keep 4 KB.
    const auto result = run(shell("head -c 67108864 /dev/zero | tr '\\0' x >&2"));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.standardError, std::string(4096, 'x'));
}

TEST_F(PosixProcessesTest, TheCapNeverSplitsACharacter) {
    const auto result =
        run(shell("head -c 4095 /dev/zero | tr '\\0' a >&2; printf '\\303\\251' >&2; exit 1"));
    EXPECT_EQ(result.standardError, std::string(4095, 'a'));
}

TEST_F(PosixProcessesTest, AChildPastItsTimeLimitIsEnded) {
    auto request = shell("sleep 30");
    request.timeLimit = 0.2;
    const auto result = run(request);
    EXPECT_TRUE(result.timedOut);
    EXPECT_EQ(result.status, SIGKILL);
}

TEST_F(PosixProcessesTest, AProcessLeftBehindDoesNotHoldTheResult) {
    // The background sleep keeps the error pipe open; the exit of the child
    // itself is what counts.
    auto request = shell("sleep 30 >&2 & echo $!; exit 4");
    request.captureStandardOutput = true;
    const auto result = run(request);
    EXPECT_EQ(result.status, 4);
    ::kill(std::stoi(result.standardOutput), SIGKILL);
}

} // namespace
} // namespace rondelix::platform::linux_desktop
