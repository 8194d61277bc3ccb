#include "model/WheelState.h"

#include <gtest/gtest.h>
#include <vector>

using rondelix::WheelState;
using Property = WheelState::Property;

namespace {
struct Recorder {
    explicit Recorder(WheelState& state) {
        state.changed.connect([this](Property p) { heard.push_back(p); });
    }
    std::vector<Property> heard;
};
} // namespace

TEST(WheelState, StartsHiddenOnTheDefaultWheelWithNothingAimed) {
    WheelState state;
    EXPECT_FALSE(state.isVisible());
    EXPECT_EQ(state.activeWheelId(), "default");
    EXPECT_FALSE(state.aimedPosition());
    EXPECT_FALSE(state.pressedNumberKey());
}

TEST(WheelState, NotifiesOnlyRealChanges) {
    WheelState state;
    Recorder recorder(state);
    state.setAimedPosition(3);
    state.setAimedPosition(3);
    state.setAimedPosition(std::nullopt);
    state.setAimedPosition(std::nullopt);
    state.setActiveWheelId("default");
    EXPECT_EQ(recorder.heard, (std::vector<Property>{Property::aimedPosition, Property::aimedPosition}));
}

TEST(WheelState, ResetKeepsTheActiveWheelAndIsSilentWhenAlreadyClear) {
    WheelState state;
    Recorder recorder(state);
    state.reset();
    EXPECT_TRUE(recorder.heard.empty());

    state.setActiveWheelId("apps");
    state.setVisible(true);
    state.setAimedPosition(0);
    recorder.heard.clear();
    state.reset();
    EXPECT_EQ(state.activeWheelId(), "apps");
    EXPECT_EQ(recorder.heard, (std::vector<Property>{Property::isVisible, Property::aimedPosition}));
}
