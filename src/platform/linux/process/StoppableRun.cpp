#include "platform/linux/process/StoppableRun.h"

namespace rondelix::platform::linux_desktop {

StoppableRun::StoppableRun(Work work, std::function<void()> onStop, std::function<void()> ended)
    : onStop_(std::move(onStop)) {
    thread_ = std::thread([this, work = std::move(work), ended = std::move(ended)] {
        work([this] { return !stopped_.load(); });
        ended();
    });
}

StoppableRun::~StoppableRun() {
    stop();
    thread_.join();
}

void StoppableRun::stop() {
    if (!stopped_.exchange(true)) onStop_();
}

} // namespace rondelix::platform::linux_desktop
