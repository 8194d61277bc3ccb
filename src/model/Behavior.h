#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rondelix {

// The behaviour and appearance settings of a summoned wheel.
struct Behavior {
    enum class Position { cursor, screenCenter, textCaret };
    enum class HeldArrowMode { untilReleased, delay };

    double wheelSize = 320.0;
    Position position = Position::cursor;
    bool emptySliceOpensEditor = true;
    bool stickyAim = true;
    bool closeFadeEnabled = false;
    int closeFadeMs = 150;
    double opacity = 0.9;
    bool soundEnabled = true;
    double soundVolume = 1.0;
    std::string aimSoundName = "Tink";
    std::string fireSoundName = "Pop";
    bool hapticsEnabled = true;
    bool liquidGlassEnabled = false;
    std::string accentHex = "#0A84FF";
    double accentStrength = 1.0;
    bool reopenLastWheel = true;
    bool tabCyclesWheels = true;
    bool numpadDirectSlice = false;
    bool shiftTapCyclesBackward = false;
    double scrollSensitivity = 1.0;
    bool invertScroll = false;
    bool detectApp = true;
    HeldArrowMode heldArrowMode = HeldArrowMode::untilReleased;
    int heldArrowDelayMs = 300;
    bool releaseGraceEnabled = false;
    int releaseGraceMs = 300;

    friend bool operator==(const Behavior&, const Behavior&) = default;
};

std::string_view toString(Behavior::Position position);
std::string_view toString(Behavior::HeldArrowMode mode);
std::optional<Behavior::Position> positionFromString(std::string_view text);
std::optional<Behavior::HeldArrowMode> heldArrowModeFromString(std::string_view text);

} // namespace rondelix
