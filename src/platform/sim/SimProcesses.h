#pragma once

#include "platform/MainQueue.h"
#include "platform/Processes.h"

#include <memory>
#include <vector>

namespace rondelix::platform::sim {

// Records every child and leaves it running until the test finishes it, fails
// its launch, or the main queue's virtual clock passes its time limit (which
// a child in a session of its own does not have). Each
// outcome reaches the completion through the main queue, as on the desktop.
class SimProcesses final : public Processes {
  public:
    struct Child {
        ProcessRequest request;
        std::function<void(const ProcessResult&)> completion;
        bool done = false;
        bool timedOut = false;
    };

    explicit SimProcesses(MainQueue& queue) : queue_(queue) {}

    void run(ProcessRequest request, std::function<void(const ProcessResult&)> completion) override;

    // Ends child `index` with an exit status and what it wrote; the error
    // output is kept within the request's cap, as the desktop keeps it.
    void finish(std::size_t index, int status, std::string_view standardError = {},
                std::string_view standardOutput = {});
    void failLaunch(std::size_t index, std::string error = "No such file or directory");

    const std::vector<Child>& children() const { return children_; }
    const Child& child(std::size_t index) const { return children_.at(index); }
    // Children started and not yet finished.
    std::size_t runningCount() const;

  private:
    void complete(std::size_t index, ProcessResult result);

    MainQueue& queue_;
    std::vector<Child> children_;
};

} // namespace rondelix::platform::sim
