#include "engine/KeyEventTap.h"

namespace rondelix {

using platform::EventType;
using platform::TapVerdict;

KeyEventTap::KeyEventTap(platform::EventTaps& taps) : taps_(taps) {}

bool KeyEventTap::install(platform::TapMode options, platform::EventMask mask, Handler handler) {
    uninstall();
    handler_ = std::make_shared<Handler>(std::move(handler));
    // The tap dies with this object, and no callback runs after the tap is
    // gone, so the callback may hold this object plainly.
    tap_ =
        taps_.createTap(options, mask, [this](const platform::InputEvent& event) { return deliver(event); });
    return tap_ != nullptr;
}

void KeyEventTap::uninstall() {
    tap_.reset();
}

TapVerdict KeyEventTap::deliver(const platform::InputEvent& event) {
    switch (event.type) {
    case EventType::tapDisabledByTimeout:
        // Our handler was too slow once; keep listening rather than going deaf.
        if (tap_) tap_->setEnabled(true);
        return TapVerdict::pass;
    case EventType::tapDisabledByUserInput:
        // Left off on purpose: the engine's watchdog notices and rebuilds.
        return TapVerdict::pass;
    default:
        break;
    }
    const std::shared_ptr<Handler> handler = handler_;
    if (!handler || !*handler) return TapVerdict::swallow;
    return (*handler)(event.type, event);
}

} // namespace rondelix
