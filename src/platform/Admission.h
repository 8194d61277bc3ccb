#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace rondelix::platform {

// What a piece of work asks once its turn at a shared worker has come (a
// drawer granted to a picture or a drawing), just before it starts and never
// while it waits for the worker: the admission may wait in its turn for what
// the work will use, such as the pixels counted for it, and gives a hold on
// that, which the work keeps until it has really ended; or none, and the work
// does not start. So nothing taken waits on a worker. A default one admits at
// once, holding nothing.
class Admission {
  public:
    using Hold = std::shared_ptr<const void>;

    Admission() = default;
    explicit Admission(std::function<Hold()> hold) : hold_(std::move(hold)) {}

    // The hold for the work about to start; none when it is not to start.
    std::optional<Hold> ask() const {
        if (!hold_) return Hold{};
        auto hold = hold_();
        if (!hold) return std::nullopt;
        return hold;
    }

  private:
    std::function<Hold()> hold_;
};

} // namespace rondelix::platform
