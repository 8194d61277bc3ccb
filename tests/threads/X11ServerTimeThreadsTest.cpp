#include "platform/linux/x11/X11PointerMark.h"
#include "platform/linux/x11/X11ServerClock.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace rondelix::platform::linux_desktop {
namespace {

// The X reader thread hears events and marks the pointer while the main
// thread asks for the server's time and where the pointer was: every answer
// is one the reader gave whole.
TEST(X11ServerTimeThreadsTest, TheMainThreadReadsWhatTheReaderWritesWhole) {
    X11ServerClock clock;
    X11PointerMark mark;
    std::atomic<bool> done = false;
    std::thread reader([&] {
        for (std::uint32_t ms = 1; ms <= 20'000; ++ms) {
            clock.heard(ms, 5.0 + ms / 1000.0);
            mark.keyPressed(ms, static_cast<int>(ms), -static_cast<int>(ms));
            if (ms % 3 == 0) mark.moved(ms);
        }
        done = true;
    });
    while (!done) {
        const auto time = clock.serverTime(10.0);
        EXPECT_TRUE(!time || *time == 5000u);
        const auto where = mark.at(20'000);
        EXPECT_TRUE(!where || where->first == -where->second);
    }
    reader.join();
    EXPECT_EQ(clock.serverTime(10.0), 5000u);
}

} // namespace
} // namespace rondelix::platform::linux_desktop
