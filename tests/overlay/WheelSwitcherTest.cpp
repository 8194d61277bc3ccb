#include "overlay/WheelSwitcher.h"

#include <cmath>
#include <gtest/gtest.h>

using rondelix::switcherDotLimit;
using rondelix::wheelSwitcher;
using Style = rondelix::WheelSwitcher::Style;

namespace {
std::vector<std::string> wheels(int count) {
    std::vector<std::string> ids;
    for (int i = 0; i < count; ++i)
        ids.push_back("w" + std::to_string(i));
    return ids;
}
} // namespace

TEST(WheelSwitcher, DotLimitFollowsTheWheelSide) {
    EXPECT_EQ(switcherDotLimit(100), 3);
    EXPECT_EQ(switcherDotLimit(200), 6);
    EXPECT_EQ(switcherDotLimit(240), 7);
    EXPECT_EQ(switcherDotLimit(320), 10);
    EXPECT_EQ(switcherDotLimit(360), 10);
    EXPECT_EQ(switcherDotLimit(0), 3);
    EXPECT_EQ(switcherDotLimit(-500), 3);
    EXPECT_EQ(switcherDotLimit(NAN), 3);
}

TEST(WheelSwitcher, OneOrNoWheelShowsNoSwitcher) {
    EXPECT_EQ(wheelSwitcher(wheels(1), "w0", 320).style, Style::hidden);
    EXPECT_EQ(wheelSwitcher({}, "w0", 320).style, Style::hidden);
}

TEST(WheelSwitcher, DotsWhileTheyFitElseTheCount) {
    const auto ten = wheelSwitcher(wheels(10), "w2", 320);
    ASSERT_EQ(ten.style, Style::dots);
    EXPECT_EQ(ten.countText, "3 / 10") << "kept for a hub too small for the dots";
    EXPECT_EQ(ten.dots,
              std::vector<bool>({false, false, true, false, false, false, false, false, false, false}));
    const auto eleven = wheelSwitcher(wheels(11), "w0", 320);
    EXPECT_EQ(eleven.style, Style::count);
    EXPECT_EQ(eleven.countText, "1 / 11");
    EXPECT_EQ(wheelSwitcher(wheels(7), "w0", 240).style, Style::dots);
    EXPECT_EQ(wheelSwitcher(wheels(8), "w0", 240).style, Style::count);
    EXPECT_EQ(wheelSwitcher(wheels(14), "w2", 320).countText, "3 / 14");
}

TEST(WheelSwitcher, AnUnknownActiveWheelGreysEveryDotOrCountsAsTheFirst) {
    EXPECT_EQ(wheelSwitcher(wheels(3), "gone", 320).dots, std::vector<bool>(3, false));
    EXPECT_EQ(wheelSwitcher(wheels(30), "gone", 320).countText, "1 / 30");
}
