#pragma once

#include "platform/Accessibility.h"
#include "platform/MainQueue.h"
#include "platform/Screens.h"

#include <optional>

namespace rondelix {

// Finds the text caret of the focused field of the frontmost program, or that
// field's frame, so the wheel can open below it. Bounded: the whole search
// gets 0.1 s and each accessibility message 0.05 s, because it runs in the
// middle of a summon.
struct CaretLocator {
    static constexpr double searchDeadline = 0.1;
    static constexpr double messagingTimeout = 0.05;

    // Bottom-left screen coordinates; none when nothing usable answers.
    static std::optional<platform::Rect> caretRect(platform::Accessibility& accessibility,
                                                   const platform::Screens& screens,
                                                   const platform::MainQueue& clock);
};

} // namespace rondelix
