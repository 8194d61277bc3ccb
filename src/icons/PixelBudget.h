#pragma once

#include <cstdint>
#include <memory>

namespace rondelix {

// The pixels that decoding pictures may take at once, shared by every thread
// that decodes. A hold keeps its pixels taken until its last copy is let go,
// which may be after the budget itself is gone.
class PixelBudget {
  public:
    using Hold = std::shared_ptr<const void>;

    explicit PixelBudget(std::uint64_t capacity);

    // A hold on that many pixels; none when fewer are free now.
    Hold reserve(std::uint64_t pixels);

  private:
    struct State;
    std::shared_ptr<State> state_;
};

} // namespace rondelix
