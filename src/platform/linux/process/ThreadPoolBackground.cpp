#include "platform/linux/process/ThreadPoolBackground.h"

namespace rondelix::platform::linux_desktop {

ThreadPoolBackground::ThreadPoolBackground(int threads) {
    pool_.setMaxThreadCount(threads);
}

ThreadPoolBackground::~ThreadPoolBackground() {
    pool_.waitForDone();
}

void ThreadPoolBackground::run(std::function<void()> work) {
    pool_.start(std::move(work));
}

} // namespace rondelix::platform::linux_desktop
