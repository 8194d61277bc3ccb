#include "platform/linux/x11/X11PointerMark.h"
#include "platform/linux/x11/X11ServerClock.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

using platform::linux_desktop::X11PointerMark;
using platform::linux_desktop::X11ServerClock;

// The server's clock, here 1000 s behind the program's; events read after
// the delays given.
TEST(X11ServerClockTest, StampsMapOntoTheSteadyClockThroughTheQuickestDelivery) {
    X11ServerClock clock;
    EXPECT_FALSE(clock.serverTime(5.0).has_value()) << "nothing heard yet";
    EXPECT_DOUBLE_EQ(clock.heard(1'000'000, 2000.020), 2000.020)
        << "the first event is all there is to go by";
    EXPECT_NEAR(clock.heard(1'000'100, 2000.101), 2000.101, 1e-9) << "a quicker one sets the offset";
    EXPECT_NEAR(clock.heard(1'000'200, 2000.500), 2000.201, 0.001) << "a slow one keeps it";
    EXPECT_EQ(clock.serverTime(2000.301), 1'000'300u);

    // A server clock that runs slower: the offset follows it, a millisecond
    // a second at most, and a stamp is never later than its reading.
    EXPECT_NEAR(clock.heard(1'010'200, 2010.221), 2010.211, 0.001);

    // Across the wrap of the server's 32-bit count.
    X11ServerClock wrapping;
    wrapping.heard(0xFFFFFF00u, 10.0);
    EXPECT_NEAR(wrapping.heard(0x00000100u, 10.512), 10.512, 0.001);
    EXPECT_NEAR(wrapping.heard(0xFFFFFFF0u, 10.600), 10.240, 0.001) << "a late event from before the wrap";
    EXPECT_EQ(wrapping.serverTime(10.520), 0x00000108u);
}

TEST(X11PointerMarkTest, TellsWhereThePointerWasUntilItFirstMovedAfterAKeyWentDown) {
    X11PointerMark mark;
    EXPECT_EQ(mark.at(100), std::nullopt) << "no key down yet";
    mark.keyPressed(1000, 40, 50);
    const std::pair where{40, 50};
    EXPECT_EQ(mark.at(999), std::nullopt) << "before the key went down";
    EXPECT_EQ(mark.at(1000), where);
    EXPECT_EQ(mark.at(5000), where) << "not moved since";
    mark.moved(1120);
    mark.moved(1130);
    EXPECT_EQ(mark.at(1100), where) << "moved after";
    EXPECT_EQ(mark.at(1120), std::nullopt) << "moved by then";
    mark.keyPressed(0xFFFFFFF0u, 7, 8);
    mark.moved(0x10);
    EXPECT_EQ(mark.at(0x08), (std::pair{7, 8})) << "across the wrap of the server's clock";
}

} // namespace
} // namespace rondelix
