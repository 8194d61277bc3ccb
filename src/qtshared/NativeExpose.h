#pragma once

#include <QByteArray>
#include <xcb/xproto.h>

namespace rondelix {

// Whether a native event Qt hands a window is an X Expose event, from the
// server or sent by another client (the high bit marks those).
inline bool isNativeExpose(const QByteArray& eventType, const void* message) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    return (event->response_type & 0x7f) == XCB_EXPOSE;
}

} // namespace rondelix
