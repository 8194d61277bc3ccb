#pragma once

#include "platform/MainQueue.h"
#include "platform/Processes.h"

#include <memory>

namespace rondelix::platform::linux_desktop {

// Children started with posix_spawn (the fork-and-exec that is safe in a
// threaded program), each in a process group of its own so that a time limit
// ends whatever it started too, or in a session of its own where nothing
// ends it. One background thread per child feeds its
// input, drains its output pipes and reaps it; the result is posted to the
// main queue.
class PosixProcesses final : public Processes {
  public:
    explicit PosixProcesses(MainQueue& queue);
    ~PosixProcesses() override;

    void run(ProcessRequest request, std::function<void(const ProcessResult&)> completion) override;

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

} // namespace rondelix::platform::linux_desktop
