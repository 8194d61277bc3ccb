#include "platform/linux/x11/X11KeyTable.h"

namespace rondelix::platform::linux_desktop::X11KeyTable {

namespace {

// Some system key codes have two PC positions (Help and Insert, the Japanese
// keys). The first row wins when a key code is posted or its key is looked up
// on the layout, so the keys a PC keyboard has, which are also the names the
// program shows, come before their twins.
constexpr X11KeyRow table[] = {
    // Function keys.
    {59, 122, 0xffbe, 0}, // F1
    {60, 120, 0xffbf, 0},
    {61, 99, 0xffc0, 0},
    {62, 118, 0xffc1, 0},
    {63, 96, 0xffc2, 0},
    {64, 97, 0xffc3, 0},
    {65, 98, 0xffc4, 0},
    {66, 100, 0xffc5, 0},
    {67, 101, 0xffc6, 0},
    {68, 109, 0xffc7, 0}, // F10
    {87, 103, 0xffc8, 0}, // F11
    {88, 111, 0xffc9, 0}, // F12
    // F13 to F20, and the PC keys beside the function keys. Print Screen,
    // Scroll Lock and Pause take codes the system leaves unused rather than
    // F13 to F15's: desktops act on Print Screen, while F13 is a spare key, and
    // a keystroke recorded from one must not send the other.
    {183, 105, 0xffca, 0}, // F13
    {184, 107, 0xffcb, 0},
    {185, 113, 0xffcc, 0},
    {186, 106, 0xffcd, 0},
    {187, 64, 0xffce, 0},
    {188, 79, 0xffcf, 0},
    {189, 80, 0xffd0, 0},
    {190, 90, 0xffd1, 0}, // F20
    {99, 108, 0xff61, 0}, // Print Screen
    {70, 112, 0xff14, 0}, // Scroll Lock
    {119, 66, 0xff13, 0}, // Pause
    // Navigation and editing.
    {110, 114, 0xff63, 0}, // Insert plays Help
    {102, 115, 0xff50, 0}, // Home
    {104, 116, 0xff55, 0}, // Page Up
    {111, 117, 0xffff, 0}, // Delete forward
    {107, 119, 0xff57, 0}, // End
    {109, 121, 0xff56, 0}, // Page Down
    {105, 123, 0xff51, 0}, // Left
    {106, 124, 0xff53, 0}, // Right
    {108, 125, 0xff54, 0}, // Down
    {103, 126, 0xff52, 0}, // Up
    {138, 114, 0xff6a, 0}, // Help
    // Main block.
    {1, 53, 0xff1b, 0}, // Esc
    {2, 18, '1', 0},
    {3, 19, '2', 0},
    {4, 20, '3', 0},
    {5, 21, '4', 0},
    {6, 23, '5', 0},
    {7, 22, '6', 0},
    {8, 26, '7', 0},
    {9, 28, '8', 0},
    {10, 25, '9', 0},
    {11, 29, '0', 0},
    {12, 27, '-', 0},
    {13, 24, '=', 0},
    {14, 51, 0xff08, 0},      // Backspace
    {15, 48, 0xff09, 0xfe20}, // Tab
    {16, 12, 'q', 0},
    {17, 13, 'w', 0},
    {18, 14, 'e', 0},
    {19, 15, 'r', 0},
    {20, 17, 't', 0},
    {21, 16, 'y', 0},
    {22, 32, 'u', 0},
    {23, 34, 'i', 0},
    {24, 31, 'o', 0},
    {25, 35, 'p', 0},
    {26, 33, '[', 0},
    {27, 30, ']', 0},
    {28, 36, 0xff0d, 0}, // Return
    {30, 0, 'a', 0},
    {31, 1, 's', 0},
    {32, 2, 'd', 0},
    {33, 3, 'f', 0},
    {34, 5, 'g', 0},
    {35, 4, 'h', 0},
    {36, 38, 'j', 0},
    {37, 40, 'k', 0},
    {38, 37, 'l', 0},
    {39, 41, ';', 0},
    {40, 39, '\'', 0},
    {41, 50, '`', 0},
    {43, 42, '\\', 0},
    {44, 6, 'z', 0},
    {45, 7, 'x', 0},
    {46, 8, 'c', 0},
    {47, 9, 'v', 0},
    {48, 11, 'b', 0},
    {49, 45, 'n', 0},
    {50, 46, 'm', 0},
    {51, 43, ',', 0},
    {52, 47, '.', 0},
    {53, 44, '/', 0},
    {57, 49, ' ', 0},
    {86, 10, '<', 0},      // the extra ISO key beside left Shift
    {127, 110, 0xff67, 0}, // Menu plays the context-menu key
    // Modifiers: Alt is Option and Super is Command, as the system maps a
    // PC keyboard; right Alt may carry AltGr.
    {29, 59, 0xffe3, 0},       // left Control
    {42, 56, 0xffe1, 0},       // left Shift
    {56, 58, 0xffe9, 0xffe7},  // left Alt
    {125, 55, 0xffeb, 0},      // left Super
    {58, 57, 0xffe5, 0},       // Caps Lock
    {97, 62, 0xffe4, 0},       // right Control
    {54, 60, 0xffe2, 0},       // right Shift
    {100, 61, 0xffea, 0xfe03}, // right Alt
    {126, 54, 0xffec, 0},      // right Super
    // Keypad; the second keysym is what the key types with Num Lock off.
    {69, 71, 0xff7f, 0}, // Num Lock plays Clear
    {82, 82, 0xffb0, 0xff9e},
    {79, 83, 0xffb1, 0xff9c},
    {80, 84, 0xffb2, 0xff99},
    {81, 85, 0xffb3, 0xff9b},
    {75, 86, 0xffb4, 0xff96},
    {76, 87, 0xffb5, 0xff9d},
    {77, 88, 0xffb6, 0xff98},
    {71, 89, 0xffb7, 0xff95},
    {72, 91, 0xffb8, 0xff97},
    {73, 92, 0xffb9, 0xff9a},
    {83, 65, 0xffae, 0xff9f}, // decimal point
    {55, 67, 0xffaa, 0},      // *
    {78, 69, 0xffab, 0},      // +
    {98, 75, 0xffaf, 0},      // /
    {96, 76, 0xff8d, 0},      // Enter
    {74, 78, 0xffad, 0},      // -
    {117, 81, 0xffbd, 0},     // =
    {121, 95, 0xffac, 0},     // keypad comma
    // Volume keys the system has key codes for.
    {115, 72, 0x1008ff13, 0},
    {114, 73, 0x1008ff11, 0},
    {113, 74, 0x1008ff12, 0},
    // Japanese keys.
    {124, 93, 0xa5, 0},   // Yen
    {89, 94, 0, 0},       // Ro
    {94, 102, 0xff22, 0}, // Muhenkan plays Eisu
    {92, 104, 0xff23, 0}, // Henkan plays Kana
    // Where the system's own JIS keyboard reports on Linux: its Kana and Eisu
    // keys come as Hangul and Hanja, its keypad comma as the Japanese one. A
    // Korean keyboard's Hangul and Hanja keys send the very same two language
    // keys, which nothing on Linux tells apart from the JIS pair; codes of
    // their own would take Kana and Eisu from the JIS keyboard's bindings.
    {122, 104, 0xff31, 0},
    {123, 102, 0xff34, 0},
    {95, 95, 0, 0},
};

} // namespace

std::span<const X11KeyRow> rows() {
    return table;
}

std::optional<std::uint16_t> keyCodeForEvdev(int evdevCode) {
    for (const auto& row : table)
        if (row.evdevCode == evdevCode) return row.keyCode;
    return std::nullopt;
}

std::optional<std::uint16_t> keyCodeForKeysym(std::uint32_t keysym) {
    if (keysym == 0) return std::nullopt;
    // Letters arrive upper-case on some layouts' first level.
    if (keysym >= 'A' && keysym <= 'Z') keysym += 'a' - 'A';
    for (const auto& row : table)
        if (row.keysym == keysym || row.altKeysym == keysym) return row.keyCode;
    return std::nullopt;
}

const X11KeyRow* rowForKeyCode(std::uint16_t keyCode) {
    for (const auto& row : table)
        if (row.keyCode == keyCode) return &row;
    return nullptr;
}

} // namespace rondelix::platform::linux_desktop::X11KeyTable
