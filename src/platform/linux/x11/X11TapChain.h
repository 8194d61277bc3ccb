#pragma once

#include "platform/EventTaps.h"

#include <functional>
#include <string>
#include <vector>

namespace rondelix::platform::linux_desktop {

// The taps that exist, in creation order, and delivery through them newest
// first, as taps inserted at the head see events first. Main thread only.
class X11TapChain {
  public:
    // Told, with the error's text, when a callback throws.
    using Failure = std::function<void(TapMode mode, const std::string& what)>;

    int add(TapMode mode, EventMask mask, EventTaps::Callback callback);
    void remove(int id);
    void setEnabled(int id, bool enabled);
    bool isEnabled(int id) const;

    // The union of the masks of the enabled taps of a mode; 0 when none.
    EventMask enabledMask(TapMode mode) const;

    // Runs the event through the enabled taps of the mode that want its
    // type. An intercepting tap that swallows stops the event there; one
    // whose callback throws lets it go on, after `onFailure` is told.
    TapVerdict deliver(TapMode mode, const InputEvent& event);
    void setOnFailure(Failure onFailure) { onFailure_ = std::move(onFailure); }

    // Switches every enabled tap of the mode off; each hears the notice.
    void disableAll(TapMode mode, EventType notice);

  private:
    struct Entry {
        int id;
        TapMode mode;
        EventMask mask;
        EventTaps::Callback callback;
        bool enabled;
    };

    Entry* find(int id);
    const Entry* find(int id) const;

    std::vector<Entry> entries_;
    int nextId_ = 1;
    Failure onFailure_;
};

} // namespace rondelix::platform::linux_desktop
