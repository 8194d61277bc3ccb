#include "model/PcKeyNames.h"

#include <array>
#include <utility>

namespace rondelix {

namespace {

constexpr std::array<std::pair<int, std::string_view>, 13> names{{
    {PcKeyCode::printScreen, "Print Screen"},
    {PcKeyCode::scrollLock, "Scroll Lock"},
    {PcKeyCode::pause, "Pause"},
    {110, "Menu"},
    {71, "Num Lock"},
    {72, "Volume Up"},
    {73, "Volume Down"},
    {74, "Mute"},
    {95, "Keypad ,"},
    {93, "Yen"},
    {94, "Ro"},
    {102, "Muhenkan"},
    {104, "Henkan"},
}};

} // namespace

std::optional<std::string_view> pcKeyName(int keyCode) {
    for (const auto& [code, name] : names)
        if (code == keyCode) return name;
    return std::nullopt;
}

} // namespace rondelix
