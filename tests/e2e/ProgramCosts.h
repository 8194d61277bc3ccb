// What a running program costs in processor time, its drawers' included, and
// how long it takes to quit.

#pragma once

#include "EndToEndRig.h"

#include <sstream>
#include <unistd.h>
#include <vector>

namespace rondelix::e2e {

inline std::vector<double> statFields(pid_t pid) {
    const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    std::istringstream rest(stat.substr(stat.rfind(')') + 2));
    std::vector<double> fields;
    std::string field;
    while (rest >> field)
        fields.push_back(std::atof(field.c_str()));
    return fields;
}

// Processor seconds the process has spent itself, its children not counted;
// with `ended` those of its children that have ended and been reaped too.
inline double processorSeconds(pid_t pid, bool ended = false) {
    const auto fields = statFields(pid);
    if (fields.size() < 15) return 0;
    const double ticks = fields[11] + fields[12] + (ended ? fields[13] + fields[14] : 0);
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// The children the process runs now, its drawers among them.
inline std::vector<pid_t> childrenOf(pid_t pid) {
    std::vector<pid_t> found;
    for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
        std::istringstream children(readFile(task.path() / "children"));
        for (pid_t child = 0; children >> child;)
            found.push_back(child);
    }
    return found;
}

// The process's own seconds with those of the children it runs now added.
inline double processorSecondsWithChildren(pid_t pid) {
    double seconds = processorSeconds(pid);
    for (const pid_t child : childrenOf(pid))
        seconds += processorSeconds(child);
    return seconds;
}

// Asks the program to quit, does what is to be done meanwhile, and answers
// how long the program took to end, cleanly. The wait has a limit of its
// own, so that a quit held up fails the test rather than holding it.
inline double secondsToQuit(Program& program, const std::function<void()>& meanwhile = {}) {
    const auto quit = Clock::now();
    program.process.terminate();
    if (meanwhile) meanwhile();
    const auto status = program.exit(10'000);
    const double seconds = std::chrono::duration<double>(Clock::now() - quit).count();
    std::printf("[ measured ] quit took %.2f s\n", seconds);
    EXPECT_EQ(status, 0) << program.log();
    return seconds;
}

} // namespace rondelix::e2e
