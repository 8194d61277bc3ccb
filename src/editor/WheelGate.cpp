#include "editor/WheelGate.h"

#include <map>

namespace rondelix {

std::optional<WheelGate> wheelGate(int count) {
    static const std::map<int, WheelGate> gates{
        {10,
         {"That's a lot of wheels",
          "You have 10 wheels, the most that get a number-key jump (1\u20139, then 0). Past here, new "
          "wheels only switch via Tab or scroll, and the radial speed starts to dilute. Add an 11th?",
          "Add Wheel"}},
        {20,
         {"Twenty wheels. Respect.",
          "We didn't really plan for 20. No number keys out here, and the menu's getting crowded. Add "
          "another?",
          "More wheels!"}},
        {30,
         {"Thirty. Okay then.", "This is less 'radial menu' and more 'filing cabinet' now. You sure?",
          "I'm sure"}},
        {37,
         {"37: the 'random' number",
          "Funny: 37 is the number people pick most when asked for a 'random' one. You chose it on "
          "purpose, you beautiful weirdo. Add the 38th?",
          "Predictably, yes"}},
        {42,
         {"42.",
          "Famously the answer to life, the universe, and everything, apparently also how many wheels "
          "you want. Add the 43rd?",
          "Don't panic"}},
        {50,
         {"Fifty. Half a hundred.",
          "A genuine commitment. Sure you wouldn't rather have a few GOOD wheels? Add another?",
          "Quantity it is"}},
        {67, {"Sixty\u2026 seven.", "6-7. You know what you did. Add a 68th?", "6-7"}},
        {69, {"Nice.", "69 wheels. Nice. Add a 70th and ruin it?", "Worth it"}},
        {75,
         {"Seventy-five. We're concerned.",
          "This stopped being convenient around wheel 12. We're not mad, just deeply concerned. "
          "Continue?",
          "Continue anyway"}},
    };
    const auto found = gates.find(count);
    if (found == gates.end()) return std::nullopt;
    return found->second;
}

const std::array<WheelGate, 3>& centuryConfirmations() {
    static const std::array<WheelGate, 3> steps{{
        {"99 wheels.", "You're one away from the century. Are you absolutely sure?", "I'm sure"},
        {"Really, though?", "Like, REALLY sure? This is basically the point of no return.", "Yes, really"},
        {"Final answer?", "One more click and you join the 100 Wheel Club. There are no other members.",
         "Make it 100"},
    }};
    return steps;
}

const std::array<WheelGate, 5>& farewellAlerts() {
    static const std::array<WheelGate, 5> alerts{{
        {"Error 0xWHEEL", "Wheel buffer overflow at index 255. A single byte can only count so high.", "OK"},
        {"WheelManager not responding", "It saw how many wheels you made and quietly gave up.", "Sure"},
        {"kernel_panic_averted", "We caught it this time. Barely.", "Fine"},
        {"Cleanup required", "Reticulating wheels\u2026 preparing to remove the clutter.", "Whatever"},
        {"Goodbye",
         "255 is the limit. We're going to close, tidy up your unnamed wheels, and never speak of this "
         "again.",
         "Goodbye"},
    }};
    return alerts;
}

} // namespace rondelix
