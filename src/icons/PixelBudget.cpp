#include "icons/PixelBudget.h"

#include <mutex>

namespace rondelix {

struct PixelBudget::State {
    std::mutex lock;
    std::uint64_t free = 0;
};

PixelBudget::PixelBudget(std::uint64_t capacity) : state_(std::make_shared<State>()) {
    state_->free = capacity;
}

PixelBudget::Hold PixelBudget::reserve(std::uint64_t pixels) {
    {
        std::lock_guard guard(state_->lock);
        if (pixels > state_->free) return nullptr;
        state_->free -= pixels;
    }
    return Hold(static_cast<const void*>(state_.get()), [state = state_, pixels](const void*) {
        std::lock_guard guard(state->lock);
        state->free += pixels;
    });
}

} // namespace rondelix
