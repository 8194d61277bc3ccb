#pragma once

#include "platform/Screens.h"

#include <optional>

namespace rondelix {

// Where the overlay panel goes. The panel is larger than the wheel's disc (a
// margin for the glow), and the rules keep the disc, not the panel, inside the
// visible part of the right screen; the transparent margin may hang over the
// edge. Everything in bottom-left screen coordinates.
struct OverlayPlacement {
    static constexpr double edgeInset = 16;
    static constexpr double caretGap = 8;

    // The first screen whose frame holds the point, else the main screen.
    static std::optional<platform::Screen> screenFor(const platform::Screens& screens, platform::Point point);

    // Limits the panel origin so that a disc of the diameter stays edgeInset
    // inside the visible frame of the reference point's screen.
    static platform::Point clampedToScreen(const platform::Screens& screens, platform::Point origin,
                                           platform::Size panelSize, platform::Point reference,
                                           double diameter);

    // Centred on the pointer, clamped.
    static platform::Point cursorOrigin(const platform::Screens& screens, platform::Point pointer,
                                        platform::Size panelSize, double diameter);
    // Centred in the visible frame of the pointer's screen, not clamped.
    static platform::Point screenCenterOrigin(const platform::Screens& screens, platform::Point pointer,
                                              platform::Size panelSize);
    // Below the caret, else above it, else at the pointer; at the pointer too
    // when there is no caret.
    static platform::Point caretOrigin(const platform::Screens& screens,
                                       const std::optional<platform::Rect>& caret, platform::Point pointer,
                                       platform::Size panelSize, double diameter);
};

} // namespace rondelix
