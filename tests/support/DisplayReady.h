#pragma once

#include <chrono>
#include <cstdlib>
#include <thread>
#include <xcb/xcb.h>

namespace rondelix::testing {

// Waits until the X server the test script started takes connections. Tests
// that need it run one after another, and between two of them it may have no
// client: it then starts afresh, and turns away whoever connects meanwhile.
inline bool displayReady(std::chrono::seconds patience = std::chrono::seconds(15)) {
    if (!std::getenv("DISPLAY")) return false;
    const auto until = std::chrono::steady_clock::now() + patience;
    for (;;) {
        xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
        const bool connected = xcb_connection_has_error(connection) == 0;
        xcb_disconnect(connection);
        if (connected) return true;
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace rondelix::testing
