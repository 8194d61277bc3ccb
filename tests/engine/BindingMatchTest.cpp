#include "engine/BindingMatch.h"

#include "engine/ModifierKeys.h"

#include <gtest/gtest.h>

using namespace rondelix;

namespace {
SummonBinding binding(std::vector<int> codes, bool enabled = true) {
    SummonBinding b;
    b.id = Uuid::generate();
    b.keyCodes = std::move(codes);
    b.enabled = enabled;
    return b;
}
const auto allHeld = [](const SummonBinding&) { return true; };
} // namespace

TEST(BindingMatch, MoreKeysThenGreaterListThenEarlier) {
    const std::vector<SummonBinding> bindings{binding({58}), binding({59, 49}), binding({63, 49}),
                                              binding({63, 49}), binding({54, 1}, false)};
    EXPECT_EQ(bestMatchingBinding(bindings, allHeld), &bindings[2]);

    const std::vector<SummonBinding> withLonger{binding({58}), binding({58, 56}), binding({99})};
    EXPECT_EQ(bestMatchingBinding(withLonger, allHeld), &withLonger[1]);

    const std::vector<SummonBinding> disabledOnly{binding({58}, false)};
    EXPECT_EQ(bestMatchingBinding(disabledOnly, allHeld), nullptr);
    EXPECT_EQ(bestMatchingBinding(withLonger, [](const SummonBinding& b) { return b.keyCodes.size() == 1; }),
              &withLonger[2]);
}

TEST(ModifierKeys, HeldSetFollowsFlagsAndKeepsAGroupWithoutSides) {
    KeyCodeSet held;
    modifiers::updateHeld(held, modifiers::optionFlag | 0x20 | modifiers::shiftFlag | 0x04);
    EXPECT_EQ(held, (KeyCodeSet{modifiers::leftOption, modifiers::rightShift}));
    // The option group is still down but no side is named: left as it was.
    modifiers::updateHeld(held, modifiers::optionFlag | modifiers::commandFlag | 0x10);
    EXPECT_EQ(held, (KeyCodeSet{modifiers::leftOption, modifiers::rightCommand}));
    modifiers::updateHeld(held, modifiers::functionFlag);
    EXPECT_EQ(held, (KeyCodeSet{modifiers::function}));
    modifiers::updateHeld(held, 0);
    EXPECT_TRUE(held.empty());
    EXPECT_FALSE(modifiers::isModifier(57));
    EXPECT_EQ(modifiers::groupFlag(62), modifiers::controlFlag);
}
