#include "platform/linux/process/DetachingBackground.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

namespace rondelix::platform::linux_desktop {

// What the threads share with their owner; the last of them to end frees it.
struct DetachingBackground::State {
    std::mutex lock;
    std::condition_variable workEnded;
    std::deque<std::function<void()>> waiting;
    std::size_t threadsAllowed = 0;
    std::size_t threads = 0;
    std::size_t busy = 0;
    bool closed = false;
};

void DetachingBackground::serve(const std::shared_ptr<State>& state) {
    std::unique_lock lock(state->lock);
    for (;;) {
        if (state->closed || state->waiting.empty()) {
            --state->threads;
            return;
        }
        auto next = std::move(state->waiting.front());
        state->waiting.pop_front();
        ++state->busy;
        lock.unlock();
        next();
        // What the work holds is let go before the owner hears it ended.
        next = nullptr;
        lock.lock();
        --state->busy;
        state->workEnded.notify_all();
    }
}

DetachingBackground::DetachingBackground(std::size_t threads, double quitWait)
    : state_(std::make_shared<State>()), quitWait_(quitWait) {
    state_->threadsAllowed = threads;
}

DetachingBackground::~DetachingBackground() {
    std::deque<std::function<void()>> dropped;
    std::unique_lock guard(state_->lock);
    state_->closed = true;
    dropped.swap(state_->waiting);
    state_->workEnded.wait_for(guard, std::chrono::duration<double>(quitWait_),
                               [this] { return state_->busy == 0; });
}

void DetachingBackground::run(std::function<void()> work) {
    std::lock_guard guard(state_->lock);
    if (state_->closed) return;
    state_->waiting.push_back(std::move(work));
    const auto idle = state_->threads - state_->busy;
    if (state_->waiting.size() <= idle || state_->threads >= state_->threadsAllowed) return;
    try {
        std::thread([state = state_] { serve(state); }).detach();
        ++state_->threads;
    } catch (const std::system_error&) {
        // No thread to spare: the threads already running take the work.
    }
}

} // namespace rondelix::platform::linux_desktop
