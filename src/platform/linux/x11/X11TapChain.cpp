#include "platform/linux/x11/X11TapChain.h"

#include <algorithm>
#include <exception>

namespace rondelix::platform::linux_desktop {

int X11TapChain::add(TapMode mode, EventMask mask, EventTaps::Callback callback) {
    const int id = nextId_++;
    entries_.push_back({id, mode, mask, std::move(callback), true});
    return id;
}

void X11TapChain::remove(int id) {
    std::erase_if(entries_, [id](const Entry& e) { return e.id == id; });
}

X11TapChain::Entry* X11TapChain::find(int id) {
    const auto it =
        std::find_if(entries_.begin(), entries_.end(), [id](const Entry& e) { return e.id == id; });
    return it == entries_.end() ? nullptr : &*it;
}

const X11TapChain::Entry* X11TapChain::find(int id) const {
    return const_cast<X11TapChain*>(this)->find(id);
}

void X11TapChain::setEnabled(int id, bool enabled) {
    if (Entry* e = find(id)) e->enabled = enabled;
}

bool X11TapChain::isEnabled(int id) const {
    const Entry* e = find(id);
    return e && e->enabled;
}

EventMask X11TapChain::enabledMask(TapMode mode) const {
    EventMask mask = 0;
    for (const auto& e : entries_)
        if (e.mode == mode && e.enabled) mask |= e.mask;
    return mask;
}

TapVerdict X11TapChain::deliver(TapMode mode, const InputEvent& event) {
    const EventMask bit = maskOf(event.type);
    // A callback may add or remove taps; walk a snapshot of the ids and look
    // each up again, so a tap removed meanwhile is skipped.
    std::vector<int> ids;
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (it->mode == mode && it->enabled && (it->mask & bit) != 0) ids.push_back(it->id);
    for (const int id : ids) {
        const Entry* e = find(id);
        if (!e || !e->enabled || !e->callback) continue;
        const EventTaps::Callback callback = e->callback;
        TapVerdict verdict = TapVerdict::pass;
        // Callbacks run straight from the event loop, where nothing may be thrown.
        try {
            verdict = callback(event);
        } catch (const std::exception& error) {
            if (onFailure_) onFailure_(mode, error.what());
        } catch (...) {
            if (onFailure_) onFailure_(mode, "unknown error");
        }
        if (mode == TapMode::intercepting && verdict == TapVerdict::swallow) return TapVerdict::swallow;
    }
    return TapVerdict::pass;
}

void X11TapChain::disableAll(TapMode mode, EventType notice) {
    std::vector<int> ids;
    for (auto& e : entries_) {
        if (e.mode != mode || !e.enabled) continue;
        e.enabled = false;
        ids.push_back(e.id);
    }
    InputEvent event;
    event.type = notice;
    for (const int id : ids) {
        const Entry* e = find(id);
        if (!e || !e->callback) continue;
        const EventTaps::Callback callback = e->callback;
        callback(event);
    }
}

} // namespace rondelix::platform::linux_desktop
