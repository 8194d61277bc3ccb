#include "model/KeyComboText.h"
#include "model/SummonKey.h"
#include "platform/ModifierFlags.h"
#include "platform/sim/SimKeyboardLayout.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace rondelix {
namespace {

struct CodeText {
    int code;
    const char* text;
};

class SummonKeyNameTest : public ::testing::Test {
  protected:
    std::string name(int code) const { return SummonKey::name(code, layout); }
    platform::sim::SimKeyboardLayout layout;
};

TEST_F(SummonKeyNameTest, NamesEveryTableRowBeforeAskingTheLayout) {
    // clang-format off
    const std::vector<CodeText> rows{
        // Modifiers as a PC keyboard prints them, spare function keys and the first mouse buttons.
        {58, "Left Alt"}, {61, "Right Alt"}, {55, "Left Super"}, {54, "Right Super"},
        {59, "Left Ctrl"}, {62, "Right Ctrl"}, {56, "Left Shift"}, {60, "Right Shift"},
        {63, "Fn"}, {105, "F13"}, {106, "F16"}, {64, "F17"}, {79, "F18"}, {80, "F19"}, {90, "F20"},
        {1000, "Middle Click"}, {1001, "Mouse 4"}, {1002, "Mouse 5"},
        // Keys without a character.
        {122, "F1"}, {120, "F2"}, {99, "F3"}, {118, "F4"}, {96, "F5"}, {97, "F6"}, {98, "F7"}, {100, "F8"},
        {101, "F9"}, {109, "F10"}, {103, "F11"}, {111, "F12"}, {107, "F14"}, {113, "F15"}, {49, "Space"},
        {48, "Tab"}, {36, "Enter"}, {76, "Keypad Enter"}, {53, "Esc"}, {51, "Backspace"}, {117, "Delete"},
        {114, "Insert"}, {115, "Home"}, {119, "End"}, {116, "Page Up"}, {121, "Page Down"},
        {123, "Left Arrow"}, {124, "Right Arrow"}, {125, "Down Arrow"}, {126, "Up Arrow"},
        {81, "Keypad ="}, {75, "Keypad /"}, {67, "Keypad *"}, {78, "Keypad -"},
        {69, "Keypad +"}, {65, "Keypad ."}, {82, "Keypad 0"}, {83, "Keypad 1"}, {84, "Keypad 2"},
        {85, "Keypad 3"}, {86, "Keypad 4"}, {87, "Keypad 5"}, {88, "Keypad 6"}, {89, "Keypad 7"},
        {91, "Keypad 8"}, {92, "Keypad 9"}};
    // clang-format on
    for (const auto& row : rows) {
        // A layout that claims every key must not override the tables.
        layout.setTypedText(row.code, "x");
        EXPECT_EQ(name(row.code), row.text) << row.code;
    }
    EXPECT_EQ(SummonKey::specialKeyNames().size(), 46u);
}

// A binding and a keystroke call the keys of a PC keyboard by the same names,
// whatever the layout types on them, and F13 to F15 by theirs.
TEST_F(SummonKeyNameTest, PcKeysReadAlikeInBindingsAndKeystrokes) {
    // clang-format off
    const std::vector<CodeText> rows{
        {108, "Print Screen"}, {112, "Scroll Lock"}, {66, "Pause"}, {105, "F13"}, {107, "F14"}, {113, "F15"},
        {110, "Menu"}, {71, "Num Lock"},
        {72, "Volume Up"}, {73, "Volume Down"}, {74, "Mute"}, {95, "Keypad ,"}, {93, "Yen"}, {94, "Ro"},
        {102, "Muhenkan"}, {104, "Henkan"}};
    // clang-format on
    for (const auto& row : rows) {
        layout.setTypedText(row.code, "x");
        EXPECT_EQ(name(row.code), row.text) << row.code;
        EXPECT_EQ(KeyComboText::keyLabel(row.code), row.text) << row.code;
    }
    EXPECT_EQ(SummonKey::comboName({59, 110}, layout), "Left Ctrl + Menu");
}

TEST_F(SummonKeyNameTest, NamesOtherMouseButtonsByTheirNumber) {
    EXPECT_EQ(name(1003), "Mouse 6");
    EXPECT_EQ(name(1029), "Mouse 32");
    EXPECT_EQ(name(1030), "Key 1030");
    EXPECT_EQ(name(999), "Key 999");
}

TEST_F(SummonKeyNameTest, NamesCharacterKeysByTheCurrentLayoutInUpperCase) {
    EXPECT_EQ(name(0), "A");
    EXPECT_EQ(name(24), "=");
    EXPECT_EQ(name(1), "S");
    layout.setTypedText(0, "q");
    EXPECT_EQ(name(0), "Q");
    layout.setTypedText(27, "\xC3\x9F"); // ß
    EXPECT_EQ(name(27), "SS");
    layout.setTypedText(41, "\xC3\xB6"); // ö
    EXPECT_EQ(name(41), "\xC3\x96");
    layout.setTypedText(39, " \xC3\xA4\n"); // blanks around ä
    EXPECT_EQ(name(39), "\xC3\x84");
}

TEST_F(SummonKeyNameTest, FallsBackToTheCodeWhenTheLayoutGivesNothingReadable) {
    EXPECT_EQ(name(200), "Key 200");
    EXPECT_EQ(name(-1), "Key -1");
    EXPECT_EQ(name(52), "Key 52");
    layout.setTypedText(10, " ");
    EXPECT_EQ(name(10), "Key 10");
    layout.setTypedText(10, "\x10"); // what a function key types
    EXPECT_EQ(name(10), "Key 10");
    layout.setTypedText(10, "\xE2\x80\xAE"); // right-to-left override
    EXPECT_EQ(name(10), "Key 10");
    layout.setTypedText(10, "\xFF");
    EXPECT_EQ(name(10), "\xEF\xBF\xBD"); // shown as the replacement character, never raw bytes
    layout.setTypedText(200, "z");
    EXPECT_EQ(name(200), "Key 200"); // past 127 the layout is not asked
}

TEST_F(SummonKeyNameTest, JoinsComboNamesInStoredOrder) {
    EXPECT_EQ(SummonKey::comboName({59, 1}, layout), "Left Ctrl + S");
    EXPECT_EQ(SummonKey::comboName({1, 59}, layout), "S + Left Ctrl");
    EXPECT_EQ(SummonKey::comboName({1000}, layout), "Middle Click");
    EXPECT_EQ(SummonKey::comboName({}, layout), "None");
}

TEST(SummonKeyTest, TriggerKeysAreExactlyF1ToF20AndPrintScreenScrollLockAndPause) {
    const std::vector<int> fKeys{122, 120, 99,  118, 96, 97, 98, 100, 101, 109, 103, 111,
                                 105, 107, 113, 106, 64, 79, 80, 90,  108, 112, 66};
    for (int code = -2; code < 1100; ++code) {
        const bool expected = std::find(fKeys.begin(), fKeys.end(), code) != fKeys.end();
        EXPECT_EQ(SummonKey::isTriggerKey(code), expected) << code;
    }
}

TEST(SummonKeyTest, OnlyModifiersAndSpareFunctionKeysAreSafeFromCollisions) {
    // clang-format off
    const std::vector<std::pair<std::vector<int>, bool>> cases{
        {{}, false}, {{58}, false}, {{58, 105}, false}, {{63}, false}, {{54, 55, 56, 59, 60, 61, 62}, false},
        {{106, 64, 79, 80, 90}, false}, {{57}, true}, {{58, 1}, true}, {{1000}, true}, {{107}, true},
        {{113}, true}, {{122}, true}, {{-1}, true}, {{58, 105, 49}, true}, {{108}, true}, {{112}, true},
        {{66}, true}};
    // clang-format on
    for (const auto& [codes, collides] : cases) {
        EXPECT_EQ(SummonKey::comboMayCollide(codes), collides) << ::testing::PrintToString(codes);
    }
}

TEST(SummonKeyTest, MouseButtonsFromTwoUpMapToTheirOwnCodes) {
    EXPECT_EQ(SummonKey::mouseButtonCode(2), 1000);
    EXPECT_EQ(SummonKey::mouseButtonCode(31), 1029);
    EXPECT_EQ(SummonKey::mouseButtonCode(1), std::nullopt);
    EXPECT_EQ(SummonKey::mouseButtonCode(32), std::nullopt);
    EXPECT_EQ(SummonKey::mouseButtonCode(std::numeric_limits<int>::max()), std::nullopt);
}

TEST(SummonKeyTest, CapsLockIsNeverAcceptedForSummoning) {
    EXPECT_FALSE(isHeldModifier(ModifierKeyCode::capsLock));
    for (int code : {57, -1, 128, 999, 1030})
        EXPECT_FALSE(SummonKey::isAcceptedForSummoning(code)) << code;
    for (int code : {0, 56, 58, 127, 1000, 1029})
        EXPECT_TRUE(SummonKey::isAcceptedForSummoning(code)) << code;
}

TEST(KeyComboTextTest, UsTableReadsBothWays) {
    // clang-format off
    const std::vector<std::pair<char, int>> rows{
        {'a', 0},  {'s', 1},  {'d', 2},  {'f', 3},  {'h', 4},  {'g', 5},  {'z', 6},   {'x', 7},
        {'c', 8},  {'v', 9},  {'b', 11}, {'q', 12}, {'w', 13}, {'e', 14}, {'r', 15},  {'y', 16},
        {'t', 17}, {'1', 18}, {'2', 19}, {'3', 20}, {'4', 21}, {'6', 22}, {'5', 23},  {'=', 24},
        {'9', 25}, {'7', 26}, {'-', 27}, {'8', 28}, {'0', 29}, {']', 30}, {'o', 31},  {'u', 32},
        {'[', 33}, {'i', 34}, {'p', 35}, {'l', 37}, {'j', 38}, {'\'', 39}, {'k', 40}, {';', 41},
        {'\\', 42}, {',', 43}, {'/', 44}, {'n', 45}, {'m', 46}, {'.', 47}, {' ', 49}, {'`', 50}};
    // clang-format on
    for (const auto& [character, code] : rows) {
        EXPECT_EQ(KeyComboText::character(code), character) << code;
        EXPECT_EQ(KeyComboText::keyCode(std::string(1, character)), code) << character;
    }
    for (int code : {10, 36, 48, 52, 53, 127, 1000, -1})
        EXPECT_EQ(KeyComboText::character(code), std::nullopt);
}

TEST(KeyComboTextTest, KeyCodeLowerCasesOneCharacterFirst) {
    EXPECT_EQ(KeyComboText::keyCode("S"), 1);
    EXPECT_EQ(KeyComboText::keyCode("C"), 8);
    EXPECT_EQ(KeyComboText::keyCode("\xE2\x84\xAA"), 40);        // the Kelvin sign lower-cases to k
    EXPECT_EQ(KeyComboText::keyCode("\xC3\xA9"), std::nullopt);  // é
    EXPECT_EQ(KeyComboText::keyCode("e\xCC\x81"), std::nullopt); // e and a combining acute
    EXPECT_EQ(KeyComboText::keyCode(""), std::nullopt);
    EXPECT_EQ(KeyComboText::keyCode("ab"), std::nullopt);
    EXPECT_EQ(KeyComboText::keyCode("\n"), std::nullopt);
    EXPECT_EQ(KeyComboText::keyCode("\xC3"), std::nullopt);
}

TEST(KeyComboTextTest, LabelsEveryKeyAsAPcKeyboardPrintsIt) {
    // clang-format off
    const std::vector<CodeText> rows{
        {49, "Space"}, {0, "A"}, {1, "S"}, {24, "="}, {39, "'"}, {50, "`"}, {36, "Enter"}, {76, "Keypad Enter"},
        {48, "Tab"}, {51, "Backspace"}, {117, "Delete"}, {53, "Esc"}, {114, "Insert"}, {123, "Left"},
        {124, "Right"}, {125, "Down"}, {126, "Up"}, {115, "Home"}, {119, "End"}, {116, "Page Up"},
        {121, "Page Down"}, {122, "F1"}, {120, "F2"}, {99, "F3"}, {118, "F4"}, {96, "F5"}, {97, "F6"},
        {98, "F7"}, {100, "F8"}, {101, "F9"}, {109, "F10"}, {103, "F11"}, {111, "F12"}, {105, "F13"},
        {107, "F14"}, {113, "F15"}, {108, "Print Screen"}, {112, "Scroll Lock"}, {66, "Pause"}, {106, "F16"},
        {64, "F17"}, {79, "F18"}, {80, "F19"}, {90, "F20"},
        {69, "Keypad +"}, {110, "Menu"}, {82, "Keypad 0"}, {10, "<"},
        {1000, "key1000"}, {-1, "key-1"}, {58, "key58"}};
    // clang-format on
    for (const auto& row : rows)
        EXPECT_EQ(KeyComboText::keyLabel(row.code), row.text) << row.code;
}

TEST(KeyComboTextTest, CombinationsReadSuperCtrlAltShiftThenTheKeyAsSent) {
    const std::vector<std::pair<KeyCombo, const char*>> cases{
        {{.keyCode = 8, .primary = true}, "Ctrl+C"},
        {{.keyCode = 6, .primary = true, .shift = true}, "Ctrl+Shift+Z"},
        {{.keyCode = 123, .alt = true, .control = true}, "Ctrl+Alt+Left"},
        // Command and Control both travel as Control: one "Ctrl".
        {{.keyCode = 36, .primary = true, .shift = true, .alt = true, .control = true},
         "Ctrl+Alt+Shift+Enter"},
        {{.keyCode = 0, .alt = true}, "Alt+A"},
        {{.keyCode = 49}, "Space"},
        // Super is held as itself, never sent as Ctrl.
        {{.keyCode = 38, .super = true}, "Super+J"},
        {{.keyCode = 53, .alt = true, .super = true}, "Super+Alt+Esc"},
    };
    for (const auto& [combo, text] : cases)
        EXPECT_EQ(KeyComboText::displayString(combo), text);
}

TEST(KeyComboTextTest, LabelIgnoresTheLayoutWhileTheSummonNameFollowsIt) {
    platform::sim::SimKeyboardLayout layout;
    layout.setTypedText(12, "a"); // the Q position on a French layout
    EXPECT_EQ(SummonKey::name(12, layout), "A");
    EXPECT_EQ(KeyComboText::keyLabel(12), "Q");
}

} // namespace
} // namespace rondelix
