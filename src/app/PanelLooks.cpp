#include "app/PanelLooks.h"

#include <algorithm>

namespace rondelix {

PanelLooks::PanelLooks(platform::MainQueue& queue, std::function<bool()> look, Repaints repaints)
    : queue_(queue), look_(std::move(look)), repaints_(std::move(repaints)) {}

PanelLooks::~PanelLooks() {
    stopFollowing();
}

void PanelLooks::begin() {
    if (firstLookWaits_) return;
    firstLookWaits_ = true;
    lookWaits_ = true;
    next_ = queue_.after(gatherSeconds, [this] { lookFirst(); });
}

void PanelLooks::lookFirst() {
    firstLookWaits_ = lookWaits_ = false;
    since_ = steadySince_ = lastLook_ = queue_.now();
    changed_ = false;
    // Followed before the look, so that no repaint falls between the two.
    following_ = following_ || (repaints_.follow && repaints_.follow());
    look_();
    if (following_) return;
    next_ = queue_.after(quickSeconds, [this] { lookAgain(); });
}

void PanelLooks::repainted() {
    if (!following_ || lookWaits_) return;
    // No timer ends the following, which would wake the program for a
    // panel that stays as it is: the first repaint after the longest wait
    // does.
    if (queue_.now() - since_ >= atMostSeconds) {
        stopFollowing();
        return;
    }
    // A fade repaints many times a second: looked at once per few of them,
    // and once more after the last.
    const double wait = std::max(0.0, lastLook_ + quickSeconds - queue_.now());
    lookWaits_ = true;
    next_ = queue_.after(wait, [this] { lookAfterRepaint(); });
}

void PanelLooks::lookAfterRepaint() {
    lookWaits_ = false;
    lastLook_ = queue_.now();
    look_();
}

void PanelLooks::stopFollowing() {
    if (!following_) return;
    following_ = false;
    if (repaints_.stop) repaints_.stop();
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
