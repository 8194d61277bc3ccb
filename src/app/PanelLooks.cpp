#include "app/PanelLooks.h"

namespace rondelix {

PanelLooks::PanelLooks(platform::MainQueue& queue, std::function<bool()> look)
    : queue_(queue), look_(std::move(look)) {}

void PanelLooks::begin() {
    since_ = steadySince_ = queue_.now();
    changed_ = false;
    look_();
    next_ = queue_.after(quickSeconds, [this] { lookAgain(); });
}

void PanelLooks::lookAgain() {
    const double now = queue_.now();
    if (look_()) {
        changed_ = true;
        steadySince_ = now;
    }
    const bool steady = now - steadySince_ >= settledAfterSeconds;
    if ((changed_ && steady) || now - since_ >= atMostSeconds) return;
    next_ = queue_.after(steady ? slowSeconds : quickSeconds, [this] { lookAgain(); });
}

} // namespace rondelix
