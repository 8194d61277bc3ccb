#include "model/Behavior.h"

namespace rondelix {

std::string_view toString(Behavior::Position position) {
    switch (position) {
    case Behavior::Position::screenCenter:
        return "screenCenter";
    case Behavior::Position::textCaret:
        return "textCaret";
    case Behavior::Position::cursor:
        break;
    }
    return "cursor";
}

std::string_view toString(Behavior::HeldArrowMode mode) {
    return mode == Behavior::HeldArrowMode::delay ? "delay" : "untilReleased";
}

std::optional<Behavior::Position> positionFromString(std::string_view text) {
    if (text == "cursor") return Behavior::Position::cursor;
    if (text == "screenCenter") return Behavior::Position::screenCenter;
    if (text == "textCaret") return Behavior::Position::textCaret;
    return std::nullopt;
}

std::optional<Behavior::HeldArrowMode> heldArrowModeFromString(std::string_view text) {
    if (text == "untilReleased") return Behavior::HeldArrowMode::untilReleased;
    if (text == "delay") return Behavior::HeldArrowMode::delay;
    return std::nullopt;
}

} // namespace rondelix
