#pragma once

#include <chrono>
#include <cstdlib>
#include <thread>
#include <xcb/xcb.h>

namespace rondelix::testing {

// A connection to the X server the test script started, held while the test
// program makes its own. Tests that need the server run one after another,
// and between two of them it may have no client: it then starts afresh, and
// turns away whoever connects meanwhile. So the connection is asked for
// again until the server takes it, and held, since its end would leave the
// server without a client again.
class DisplayReady {
  public:
    explicit DisplayReady(std::chrono::seconds patience = std::chrono::seconds(15)) {
        if (!std::getenv("DISPLAY")) return;
        const auto until = std::chrono::steady_clock::now() + patience;
        for (;;) {
            connection_ = xcb_connect(nullptr, nullptr);
            if (xcb_connection_has_error(connection_) == 0) return;
            xcb_disconnect(connection_);
            connection_ = nullptr;
            if (std::chrono::steady_clock::now() >= until) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ~DisplayReady() {
        if (connection_) xcb_disconnect(connection_);
    }
    DisplayReady(const DisplayReady&) = delete;
    DisplayReady& operator=(const DisplayReady&) = delete;

    explicit operator bool() const { return connection_ != nullptr; }

  private:
    xcb_connection_t* connection_ = nullptr;
};

} // namespace rondelix::testing
