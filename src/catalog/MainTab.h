#pragma once

namespace rondelix {

// The pages of the main window, in declaration order.
enum class MainTab {
    wheels,
    gallery,
    appearance,
    shortcuts,
    general,
    wheelBehavior,
    soundFeedback,
    about,
    development
};

} // namespace rondelix
