#pragma once

#include <cstdint>
#include <memory>

namespace rondelix {

// The pixels that decoding pictures may take at once, shared by every thread
// that decodes. A reservation that finds too few free waits for them, in the
// order asked, so that a large one is not passed for ever by smaller ones
// asked after it. A hold keeps its pixels taken until its last copy is let
// go, which may be after the budget itself is gone.
class PixelBudget {
  public:
    using Hold = std::shared_ptr<const void>;

    explicit PixelBudget(std::uint64_t capacity);

    // A hold on that many pixels, once they are free and the reservations
    // asked before this one have theirs; none at once when they are more than
    // the whole budget, and none once the budget is closed, also while
    // waiting.
    Hold reserve(std::uint64_t pixels);
    // Every reservation waiting gets none now, and so does every later one;
    // holds already given keep their pixels until they are let go.
    void close();

  private:
    struct State;
    std::shared_ptr<State> state_;
};

} // namespace rondelix
