#pragma once

#include "platform/EventTaps.h"

#include <functional>
#include <memory>

namespace rondelix {

// The engine's two event masks.
// Listen: key down, key up, flags changed, other mouse down and up.
inline constexpr platform::EventMask listenMask = 0x06001C00;
// Armed: left mouse down and up, moved, left dragged, key down and up, scroll
// wheel, other mouse down, up and dragged. Modifier changes keep reaching the
// engine through the listen tap, which stays installed while armed.
inline constexpr platform::EventMask armedMask = 0x0E400C66;

// One global event tap with its owner's handler. The handler answers pass or
// swallow; a listen-only tap's answer is ignored by the system.
class KeyEventTap final {
  public:
    using Handler = std::function<platform::TapVerdict(platform::EventType, const platform::InputEvent&)>;

    explicit KeyEventTap(platform::EventTaps& taps);
    KeyEventTap(const KeyEventTap&) = delete;
    KeyEventTap& operator=(const KeyEventTap&) = delete;

    // Removes any previous tap of this object first, then builds and enables
    // a new one. Answers whether the tap is running.
    bool install(platform::TapMode options, platform::EventMask mask, Handler handler);

    // Removes the tap; the handler stays stored.
    void uninstall();

    bool isInstalled() const { return tap_ != nullptr; }
    // Installed and not switched off by the system.
    bool isEnabled() const { return tap_ && tap_->isEnabled(); }

  private:
    platform::TapVerdict deliver(const platform::InputEvent& event);

    platform::EventTaps& taps_;
    std::unique_ptr<platform::EventTap> tap_;
    // Shared so that a handler which reinstalls this tap while it runs does
    // not destroy itself mid-call.
    std::shared_ptr<Handler> handler_;
};

} // namespace rondelix
