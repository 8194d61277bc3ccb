#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rondelix::platform {

// What to run and what to keep of it. The program is started directly with
// the arguments as given; no shell is involved unless the program is one.
struct ProcessRequest {
    std::string program;
    std::vector<std::string> arguments;
    // Written to the child's standard input, which is then closed; none gives
    // the null device.
    std::optional<std::string> standardInput;
    // Empty means the user's home folder.
    std::string workingDirectory;
    bool captureStandardOutput = false;
    // At most this many bytes of standard error are kept (the first ones); the
    // rest is read and dropped so the child never stalls. Zero keeps nothing.
    std::size_t standardErrorCap = 0;
    // Seconds after the start at which the child (and everything it started)
    // is ended; none lets it run as long as it likes.
    std::optional<double> timeLimit;
    // Starts the child in a session of its own, for a program the user goes
    // on using (a mail program that a helper runs in the foreground): it is
    // never signalled, so no time limit applies, and it outlives the program.
    bool ownSession = false;
};

struct ProcessResult {
    bool launched = false;
    // Why the launch failed, as the system words it.
    std::string launchError;
    // The exit status, or the signal number for a child that was killed.
    int status = 0;
    bool timedOut = false;
    std::string standardOutput;
    // Never longer than the cap and never ending inside a UTF-8 sequence.
    std::string standardError;
};

// Child processes. Completions run on the main queue, never inside run().
class Processes {
  public:
    virtual ~Processes() = default;

    virtual void run(ProcessRequest request, std::function<void(const ProcessResult&)> completion) = 0;
};

} // namespace rondelix::platform
