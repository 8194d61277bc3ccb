#include "engine/ModifierKeys.h"

#include <array>

namespace rondelix::modifiers {

namespace {

struct Side {
    std::uint16_t code;
    std::uint64_t flag;
};

struct Group {
    std::uint64_t flag;
    std::array<Side, 2> sides;
    int sideCount;
};

// In the order the held set is brought up to date.
constexpr std::array<Group, 5> groups{{
    {controlFlag, {{{leftControl, 0x01}, {rightControl, 0x2000}}}, 2},
    {shiftFlag, {{{leftShift, 0x02}, {rightShift, 0x04}}}, 2},
    {commandFlag, {{{leftCommand, 0x08}, {rightCommand, 0x10}}}, 2},
    {optionFlag, {{{leftOption, 0x20}, {rightOption, 0x40}}}, 2},
    {functionFlag, {{{function, functionFlag}, {}}}, 1},
}};

} // namespace

bool isModifier(int code) {
    return groupFlag(code) != 0;
}

std::uint64_t groupFlag(int code) {
    for (const Group& g : groups)
        for (int i = 0; i < g.sideCount; ++i)
            if (g.sides[i].code == code) return g.flag;
    return 0;
}

void updateHeld(KeyCodeSet& held, std::uint64_t flags) {
    // Nearly every key event on the desktop comes with no modifier down and
    // none held: there is nothing to bring up to date then, and the listen
    // handler calls this for every event.
    constexpr std::uint64_t anyGroup = controlFlag | shiftFlag | commandFlag | optionFlag | functionFlag;
    if (held.empty() && (flags & anyGroup) == 0) return;
    for (const Group& g : groups) {
        if ((flags & g.flag) == 0) {
            for (int i = 0; i < g.sideCount; ++i)
                held.erase(g.sides[i].code);
            continue;
        }
        bool anySide = false;
        for (int i = 0; i < g.sideCount; ++i)
            anySide = anySide || (flags & g.sides[i].flag) != 0;
        if (!anySide) continue;
        for (int i = 0; i < g.sideCount; ++i) {
            if (flags & g.sides[i].flag)
                held.insert(g.sides[i].code);
            else
                held.erase(g.sides[i].code);
        }
    }
}

} // namespace rondelix::modifiers
