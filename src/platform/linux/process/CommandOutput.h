#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rondelix::platform::linux_desktop {

// Runs a desktop tool (found on PATH) with the given arguments and answers
// what it printed on standard output, or nothing when it could not start,
// failed, or ran past the time limit (it is then ended). For short queries
// whose answer the caller needs at once; standard error is discarded.
std::optional<std::string> commandOutput(const std::vector<std::string>& command, double timeLimitSeconds);

} // namespace rondelix::platform::linux_desktop
