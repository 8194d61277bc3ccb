#include "platform/sim/SimProcesses.h"

#include "platform/CappedBuffer.h"

#include <algorithm>
#include <csignal>

namespace rondelix::platform::sim {

void SimProcesses::run(ProcessRequest request, std::function<void(const ProcessResult&)> completion) {
    const std::size_t index = children_.size();
    const bool limited = request.timeLimit && !request.ownSession;
    const double limit = request.timeLimit.value_or(0);
    children_.push_back({std::move(request), std::move(completion)});
    if (!limited) return;
    queue_.after(limit, [this, index] {
        if (children_[index].done) return;
        children_[index].timedOut = true;
        ProcessResult result;
        result.launched = true;
        result.status = SIGKILL;
        result.timedOut = true;
        complete(index, std::move(result));
    });
}

void SimProcesses::finish(std::size_t index, int status, std::string_view standardError,
                          std::string_view standardOutput) {
    const auto& request = children_.at(index).request;
    CappedBuffer errors(request.standardErrorCap);
    errors.append(standardError);
    ProcessResult result;
    result.launched = true;
    result.status = status;
    result.standardError = errors.contents();
    if (request.captureStandardOutput) result.standardOutput = std::string(standardOutput);
    complete(index, std::move(result));
}

void SimProcesses::failLaunch(std::size_t index, std::string error) {
    ProcessResult result;
    result.launchError = std::move(error);
    complete(index, std::move(result));
}

std::size_t SimProcesses::runningCount() const {
    return static_cast<std::size_t>(
        std::count_if(children_.begin(), children_.end(), [](const Child& c) { return !c.done; }));
}

void SimProcesses::complete(std::size_t index, ProcessResult result) {
    auto& child = children_.at(index);
    if (child.done) return;
    child.done = true;
    queue_.post([completion = child.completion, result = std::move(result)] { completion(result); });
}

} // namespace rondelix::platform::sim
