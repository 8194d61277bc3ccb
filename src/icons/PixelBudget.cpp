#include "icons/PixelBudget.h"

#include <condition_variable>
#include <mutex>

namespace rondelix {

struct PixelBudget::State {
    std::mutex lock;
    std::condition_variable changed;
    std::uint64_t capacity = 0;
    std::uint64_t free = 0;
    // Tickets in the order asked: the next one served, and the next one given.
    std::uint64_t serving = 0;
    std::uint64_t asked = 0;
    bool closed = false;
};

PixelBudget::PixelBudget(std::uint64_t capacity) : state_(std::make_shared<State>()) {
    state_->capacity = capacity;
    state_->free = capacity;
}

PixelBudget::Hold PixelBudget::reserve(std::uint64_t pixels) {
    {
        std::unique_lock guard(state_->lock);
        if (state_->closed || pixels > state_->capacity) return nullptr;
        const std::uint64_t ticket = state_->asked++;
        state_->changed.wait(
            guard, [&] { return state_->closed || (ticket == state_->serving && pixels <= state_->free); });
        // A closed budget serves nobody any more, so the order no longer counts.
        if (state_->closed) return nullptr;
        state_->free -= pixels;
        ++state_->serving;
    }
    // The next in line may fit in what is left.
    state_->changed.notify_all();
    return Hold(static_cast<const void*>(state_.get()), [state = state_, pixels](const void*) {
        {
            std::lock_guard guard(state->lock);
            state->free += pixels;
        }
        state->changed.notify_all();
    });
}

void PixelBudget::close() {
    {
        std::lock_guard guard(state_->lock);
        state_->closed = true;
    }
    state_->changed.notify_all();
}

} // namespace rondelix
