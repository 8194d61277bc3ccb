#include "engine/ModifierKeys.h"

#include "platform/ModifierFlags.h"

#include <gtest/gtest.h>

using namespace rondelix;

TEST(ModifierKeys, HeldSetFollowsFlagsAndKeepsAGroupWithoutSides) {
    KeyCodeSet held;
    modifiers::updateHeld(held, ModifierFlag::option | ModifierFlag::leftOption | ModifierFlag::shift |
                                    ModifierFlag::rightShift);
    EXPECT_EQ(held, (KeyCodeSet{ModifierKeyCode::leftOption, ModifierKeyCode::rightShift}));
    // The option group is still down but no side is named: left as it was.
    modifiers::updateHeld(held, ModifierFlag::option | ModifierFlag::command | ModifierFlag::rightCommand);
    EXPECT_EQ(held, (KeyCodeSet{ModifierKeyCode::leftOption, ModifierKeyCode::rightCommand}));
    modifiers::updateHeld(held, ModifierFlag::function);
    EXPECT_EQ(held, (KeyCodeSet{ModifierKeyCode::function}));
    modifiers::updateHeld(held, 0);
    EXPECT_TRUE(held.empty());
    EXPECT_FALSE(isHeldModifier(ModifierKeyCode::capsLock));
    EXPECT_EQ(modifierGroupFlag(ModifierKeyCode::rightControl), ModifierFlag::control);
}
