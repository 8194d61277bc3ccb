#include "engine/ModifierKeys.h"

#include <gtest/gtest.h>

using namespace rondelix;

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
